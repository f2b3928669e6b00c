#include "settings/SettingBinding.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "settings/SettingsStore.h"

namespace pelko::settings {
namespace {

// One member of each kind a holder may keep.
struct Holder {
    bool flag = false;
    int number = 0;
    std::uint8_t byte = 0;
    std::string list;
    std::string text;
};

constexpr SettingBinding<Holder> kBindings[] = {
    {"ExtractZip", &Holder::flag},    {"g_nPicWidth", &Holder::number}, {"Mp3Gap", &Holder::byte},
    {"g_szFileLimit", &Holder::list}, {"g_szExTxtPre", &Holder::text},
};

TEST(SettingBindingTest, KeysAreCheckedAgainstTheTable) {
    EXPECT_EQ(detail::HeldRow("ExtractZip", SettingKind::kInt), SettingIndex("ExtractZip"));
    const struct {
        const char* key;
        SettingKind kind;
        const char* why;
    } refused[] = {
        {"NoSuchKey", SettingKind::kInt, "not in the table"},
        {"extractzip", SettingKind::kInt, "keys match exactly"},
        {"ExtractZip", SettingKind::kString, "of the other kind"},
        {"g_szFileLimit", SettingKind::kInt, "of the other kind"},
        {"CurColPos", SettingKind::kInt, "read at use, never held"},
        {"EHotKeyChar%d", SettingKind::kInt, "a per-command pattern"},
        {"EHotKeyChar50003", SettingKind::kInt, "a per-command key"},
    };
    for (const auto& c : refused) EXPECT_THROW(detail::HeldRow(c.key, c.kind), std::logic_error) << c.why;
}

TEST(SettingBindingTest, LoadTakesStoredValuesOrTheTableDefaults) {
    MemorySettingsStore store;
    Holder holder{true, 5, 9, "x", "y"};
    LoadSettings<Holder>(holder, kBindings, store);
    EXPECT_TRUE(holder.flag);
    EXPECT_EQ(holder.number, 320);
    EXPECT_EQ(holder.byte, '+');
    EXPECT_EQ(holder.list, "");
    EXPECT_EQ(holder.text, "/*");

    store.WriteInt("ExtractZip", 0);
    store.WriteInt("g_nPicWidth", -7);
    store.WriteInt("Mp3Gap", 0x12D);  // a byte keeps the low eight bits
    store.WriteString("g_szFileLimit", "*.TMP;*.Bak");
    store.WriteString("g_szExTxtPre", "ABC");
    LoadSettings<Holder>(holder, kBindings, store);
    EXPECT_FALSE(holder.flag);
    EXPECT_EQ(holder.number, -7);
    EXPECT_EQ(holder.byte, 0x2D);
    EXPECT_EQ(holder.list, "*.tmp;*.bak");
    EXPECT_EQ(holder.text, "ABC") << "only lists are lower-cased";

    LoadDefaultSettings<Holder>(holder, kBindings);
    EXPECT_TRUE(holder.flag);
    EXPECT_EQ(holder.number, 320);
    EXPECT_EQ(holder.text, "/*");
}

TEST(SettingBindingTest, MembersAreReachedOnlyAsTheirKind) {
    Holder holder{true, 5, 200, "a", "b"};
    const SettingBinding<Holder>* byte = FindBinding<Holder>(kBindings, "Mp3Gap");
    ASSERT_NE(byte, nullptr);
    EXPECT_EQ(byte->IntOf(holder), 200);
    EXPECT_EQ(FindBinding<Holder>(kBindings, "ExtractMp3"), nullptr);

    const SettingBinding<Holder>& list = *FindBinding<Holder>(kBindings, "g_szFileLimit");
    list.Assign(holder, std::string_view("*.ISO"));
    EXPECT_EQ(list.TextOf(holder), "*.iso");
    EXPECT_THROW(list.Assign(holder, 1), std::invalid_argument);
    EXPECT_THROW(list.IntOf(holder), std::invalid_argument);
    EXPECT_THROW(byte->Assign(holder, std::string_view("1")), std::invalid_argument);
    EXPECT_THROW(byte->TextOf(holder), std::invalid_argument);
}

}  // namespace
}  // namespace pelko::settings
