#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/SettingsStore.h"
#include "shell/AppSettings.h"
#include "shell/HotKeyRows.h"
#include "text/Codec.h"

namespace pelko::shell {
namespace {

using text::Local;

platform::OpticalDrive Drive(int number) { return {number, "/dev/sr" + std::to_string(number), "", false}; }

TEST(HotKeyRowsTest, OpenRowsOfEveryDriveComeBeforeTheCloseRows) {
    // /dev/sr30 lies beyond the numbered drives: it has no command, so no row.
    const std::vector<HotKeyRow> rows = HotKeyRows({Drive(0), Drive(2), Drive(30)});
    ASSERT_EQ(rows.size(), 4u);
    const struct {
        int command;
        bool open;
        const char* text;
    } expected[] = {
        {50000, true, "弹出光驱 (/dev/sr0)"},
        {50002, true, "弹出光驱 (/dev/sr2)"},
        {50026, false, "关闭光驱 (/dev/sr0)"},
        {50028, false, "关闭光驱 (/dev/sr2)"},
    };
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(expected[i].text);
        EXPECT_EQ(rows[i].command, expected[i].command);
        EXPECT_EQ(rows[i].open, expected[i].open);
        EXPECT_EQ(rows[i].text, Local(expected[i].text));
    }
    EXPECT_TRUE(HotKeyRows({}).empty());
}

TEST(HotKeyRowsTest, PairsRoundTripUnderTheCommandsOwnKeysAndUnchangedPairsWriteNothing) {
    settings::MemorySettingsStore store;
    AppSettings options;
    constexpr int kAbsent = -1;

    // Absent keys read as "no hot key", and storing "no hot key" over them creates nothing.
    EXPECT_EQ(StoredHotKey(options, store, 50003), (HotKeyPair{0, 0}));
    EXPECT_FALSE(StoreHotKey(options, store, 50003, {0, 0}));
    EXPECT_EQ(store.ReadInt("EHotKeyCombine50003", kAbsent), kAbsent);
    EXPECT_EQ(store.ReadInt("EHotKeyChar50003", kAbsent), kAbsent);

    EXPECT_TRUE(StoreHotKey(options, store, 50003, {2 | 8, 'D'}));
    EXPECT_EQ(store.ReadInt("EHotKeyCombine50003", kAbsent), 10);
    EXPECT_EQ(store.ReadInt("EHotKeyChar50003", kAbsent), 68);
    EXPECT_EQ(StoredHotKey(options, store, 50003), (HotKeyPair{10, 'D'}));
    // The close command of the same drive keeps its own pair.
    EXPECT_EQ(StoredHotKey(options, store, 50029), (HotKeyPair{0, 0}));

    EXPECT_FALSE(StoreHotKey(options, store, 50003, {10, 'D'}));
    // Clearing a key that exists writes the zeros: the pair now means "no hot key".
    EXPECT_TRUE(StoreHotKey(options, store, 50003, {0, 0}));
    EXPECT_EQ(store.ReadInt("EHotKeyCombine50003", kAbsent), 0);
    EXPECT_EQ(store.ReadInt("EHotKeyChar50003", kAbsent), 0);
}

TEST(HotKeyRowsTest, KeyListEntriesMapToLetterCodes) {
    const struct {
        int entry;
        int code;
    } pairs[] = {{0, 0}, {1, 'A'}, {4, 'D'}, {26, 'Z'}};
    for (const auto& pair : pairs) {
        SCOPED_TRACE(pair.entry);
        EXPECT_EQ(HotKeyCodeOfEntry(pair.entry), pair.code);
        EXPECT_EQ(HotKeyEntryOfCode(pair.code), pair.entry);
    }
    // No entry chosen, or past the list: no key.
    for (int entry : {-1, 27}) EXPECT_EQ(HotKeyCodeOfEntry(entry), 0) << entry;
    // Codes that are no letter key show as the empty entry.
    for (int code : {64, 91, int('a'), int('z'), -5}) EXPECT_EQ(HotKeyEntryOfCode(code), 0) << code;
}

}  // namespace
}  // namespace pelko::shell
