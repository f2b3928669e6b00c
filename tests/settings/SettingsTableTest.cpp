#include "settings/SettingsTable.h"

#include <gtest/gtest.h>

#include <set>

#include "settings/SettingsStore.h"
#include "text/Codec.h"

namespace pelko::settings {
namespace {

TEST(SettingsTableTest, EveryKeyHasOneRow) {
    std::set<std::string_view> keys;
    for (const SettingRow& row : kSettingsTable) {
        EXPECT_TRUE(keys.insert(row.key).second) << row.key;
        if (!row.IsPerCommand()) {
            EXPECT_EQ(FindSetting(row.key), &row) << row.key;
        }
    }
}

TEST(SettingsTableTest, DefaultsThatNeedCare) {
    EXPECT_EQ(DefaultString("g_szExDirSign"), text::Local("【文件夹】"));
    EXPECT_EQ(DefaultInt("ExpandSingleTreeItem"), 0);
    EXPECT_EQ(FindSetting("ExpandSingleTreeItem")->use, SettingUse::kReadAtUse)
        << "read where the tree is created and by the switch, never cached";
    std::set<std::string_view> lists;
    for (const SettingRow& row : kSettingsTable)
        if (row.lowerCaseList) lists.insert(row.key);
    EXPECT_EQ(lists, (std::set<std::string_view>{"g_szFileLimit", "g_szFileLimit2", "g_szFileCopy"}));
}

TEST(SettingsTableTest, PerCommandKeys) {
    EXPECT_EQ(HotKeyCombineKey(50003), "EHotKeyCombine50003");
    EXPECT_EQ(HotKeyCharKey(50029), "EHotKeyChar50029");
    const struct {
        std::string_view key;
        std::string_view row;  // empty: no row
    } cases[] = {
        {"EHotKeyCombine50003", "EHotKeyCombine%d"},
        {"EHotKeyChar0", "EHotKeyChar%d"},
        {"EHotKeyChar50051", "EHotKeyChar%d"},
        {"EHotKeyChar", ""},
        {"EHotKeyChar%d", ""},
        {"EHotKeyChar050003", ""},
        {"EHotKeyChar5x", ""},
        {"EHotKeyChar-1", ""},
        {"ehotkeychar5", ""},
    };
    for (const auto& c : cases) {
        const SettingRow* row = FindSetting(c.key);
        EXPECT_EQ(row == nullptr ? std::string_view() : row->key, c.row) << c.key;
    }
}

TEST(SettingsTableTest, ReadAndWriteThroughTheTable) {
    MemorySettingsStore store;
    EXPECT_EQ(ReadSettingInt(store, "g_nFileLimitTotal"), 10000000);
    EXPECT_EQ(ReadSettingInt(store, HotKeyCharKey(50003)), 0);
    EXPECT_EQ(ReadSettingString(store, "g_szExTxtPost"), "*/");

    store.WriteString("g_szFileCopy", "*.NFO;Cover.JPG");
    EXPECT_EQ(ReadSettingString(store, "g_szFileCopy"), "*.nfo;cover.jpg") << "a list typed by hand";
    WriteSettingString(store, "g_szFileLimit", "*.EXE;" + text::Local("丄") + "Readme.TXT");
    EXPECT_EQ(store.ReadString("g_szFileLimit", ""), "*.exe;" + text::Local("丄") + "readme.txt")
        << "the trail byte 'A' of a double-byte character stays";
    WriteSettingString(store, "FW_strFilter", "CD");
    EXPECT_EQ(ReadSettingString(store, "FW_strFilter"), "CD") << "only lists fold";

    EXPECT_THROW(ReadSettingInt(store, "NoSuchKey"), std::invalid_argument);
    EXPECT_THROW(ReadSettingInt(store, "g_szFileLimit"), std::invalid_argument);
    EXPECT_THROW(ReadSettingString(store, "g_nDirLimit"), std::invalid_argument);
    EXPECT_THROW(WriteSettingString(store, "NoSuchKey", "x"), std::invalid_argument);
}

}  // namespace
}  // namespace pelko::settings
