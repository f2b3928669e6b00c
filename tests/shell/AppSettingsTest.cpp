#include "shell/AppSettings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "settings/SettingsStore.h"
#include "scan/ScanSettings.h"
#include "text/Codec.h"

namespace pelko::shell {
namespace {

using settings::SettingsStore;

// A memory store that records which keys were read, in order, and counts writes.
class RecordingStore final : public SettingsStore {
public:
    int ReadInt(std::string_view key, int defaultValue) const override {
        reads.emplace_back(key);
        return m_store.ReadInt(key, defaultValue);
    }
    std::string ReadString(std::string_view key, std::string_view defaultValue) const override {
        reads.emplace_back(key);
        return m_store.ReadString(key, defaultValue);
    }
    void WriteInt(std::string_view key, int value) override {
        ++writes;
        m_store.WriteInt(key, value);
    }
    void WriteString(std::string_view key, std::string_view value) override {
        ++writes;
        m_store.WriteString(key, value);
    }

    mutable std::vector<std::string> reads;
    int writes = 0;

private:
    settings::MemorySettingsStore m_store;
};

TEST(AppSettingsTest, FreshStoreGivesTheDefaultsAndWritesNothing) {
    RecordingStore store;
    AppSettings settings;
    settings.scan.nFileLimit = 1;  // Load must replace every held value
    settings.exportStyle.dirSign = "x";
    settings.Load(store);
    EXPECT_EQ(settings, AppSettings{});
    EXPECT_EQ(store.writes, 0);

    EXPECT_TRUE(settings.scan.extractZip);
    EXPECT_EQ(settings.mp3.mp3Op, 1);
    EXPECT_EQ(settings.mp3.mp3Gap, '+');
    EXPECT_TRUE(settings.popCloseDlg);
    EXPECT_FALSE(settings.popAddedInfoDlg);
    EXPECT_EQ(settings.bigIconX, 102);
    EXPECT_EQ(settings.bigIconY, 77);
    EXPECT_EQ(settings.picture.nPicWidth, 320);
    EXPECT_EQ(settings.picture.nPicHight, 240);
    EXPECT_EQ(settings.scan.nFileLimit, 100000);
    EXPECT_EQ(settings.scan.nFileLimitTotal, 10000000);
    EXPECT_EQ(settings.scan.nDirLimit, 1000);
    EXPECT_EQ(settings.exportStyle.txtPre, "/*");
    EXPECT_EQ(settings.exportStyle.htmPost, "*/");
    EXPECT_EQ(settings.exportStyle.dirSign, text::Local("【文件夹】"));
    EXPECT_TRUE(settings.fwPartMatch);
    EXPECT_EQ(settings.fwFindWhat, 1);
    EXPECT_EQ(settings.fwFilter, "");

    EXPECT_EQ(settings.IntValue(store, "ExpandSingleTreeItem"), 0);
    EXPECT_EQ(settings.IntValue(store, "CurColPos"), 190);
    EXPECT_EQ(settings.IntValue(store, "ClearBeforeInfo"), 1);
    EXPECT_EQ(store.writes, 0);
}

TEST(AppSettingsTest, LoadReadsEveryStartUpKeyOnce) {
    RecordingStore store;
    AppSettings().Load(store);

    std::vector<std::string> heldInTable;
    for (const settings::SettingRow& row : settings::kSettingsTable)
        if (row.use == settings::SettingUse::kStartUp) heldInTable.emplace_back(row.key);
    std::vector<std::string> read = store.reads;
    std::sort(read.begin(), read.end());
    std::sort(heldInTable.begin(), heldInTable.end());
    EXPECT_EQ(read, heldInTable) << "exactly the keys the table marks as read at start-up, each once";
}

TEST(AppSettingsTest, LoadTakesStoredValuesAndLowerCasesTheLists) {
    RecordingStore store;
    store.WriteInt("ExtractZip", 0);
    store.WriteInt("Mp3Op", 17);
    store.WriteInt("Mp3Gap", 256 + 32);
    store.WriteInt("LastViewStyle", 3);
    store.WriteInt("g_bListDiskOnly", 2);
    store.WriteString("g_nDirLimit", "deep");
    store.WriteString("g_szFileLimit", "*.EXE;Readme.TXT");
    store.WriteString("g_szFileLimit2", "*.MP3");
    store.WriteString("g_szFileCopy", text::Local("封面.JPG"));
    store.WriteString("g_szExTxtPre", "<B>");
    store.WriteString("FW_strFilter", text::Local("光盘 ABC"));
    store.writes = 0;

    AppSettings settings;
    settings.Load(store);
    EXPECT_EQ(store.writes, 0);
    EXPECT_FALSE(settings.scan.extractZip);
    EXPECT_EQ(settings.mp3.mp3Op, 17);
    EXPECT_EQ(settings.mp3.mp3Gap, ' ') << "held in one byte";
    EXPECT_EQ(settings.lastViewStyle, 3);
    EXPECT_TRUE(settings.bListDiskOnly);
    EXPECT_EQ(settings.scan.nDirLimit, 1000) << "a value that is no number gives the default";
    EXPECT_EQ(settings.scan.szFileLimit, "*.exe;readme.txt");
    EXPECT_EQ(settings.scan.szFileLimit2, "*.mp3");
    EXPECT_EQ(settings.scan.szFileCopy, text::Local("封面.jpg"));
    EXPECT_EQ(settings.exportStyle.txtPre, "<B>");
    EXPECT_EQ(settings.fwFilter, text::Local("光盘 ABC"));
}

TEST(AppSettingsTest, SettersUpdateStoreAndCopyTogether) {
    RecordingStore store;
    AppSettings settings;
    settings.Load(store);

    settings.SetString(store, "g_szFileLimit", "*.EXE;Readme.TXT");
    EXPECT_EQ(settings.scan.szFileLimit, "*.exe;readme.txt");
    EXPECT_EQ(store.ReadString("g_szFileLimit", ""), "*.exe;readme.txt");
    settings.SetString(store, "g_szExDirSign", "[DIR]");
    settings.SetInt(store, "g_nPicWidth", 2000);
    settings.SetInt(store, "Mp3Gap", 32);
    EXPECT_EQ(settings.mp3.mp3Gap, ' ');

    settings.SetInt(store, "CurColPos", 250);
    EXPECT_EQ(settings.IntValue(store, "CurColPos"), 250) << "a read-at-use key lives in the store only";
    settings.SetInt(store, settings::HotKeyCombineKey(50003), 3);
    EXPECT_EQ(settings.IntValue(store, "EHotKeyCombine50003"), 3);

    AppSettings reloaded;
    reloaded.Load(store);
    EXPECT_EQ(reloaded, settings) << "the store holds what the copies hold";
    EXPECT_EQ(reloaded.exportStyle.dirSign, "[DIR]");
    EXPECT_EQ(reloaded.picture.nPicWidth, 2000);

    EXPECT_THROW(settings.SetInt(store, "g_szFileLimit", 1), std::invalid_argument);
    EXPECT_THROW(settings.SetString(store, "g_nDirLimit", "1"), std::invalid_argument);
    EXPECT_THROW(settings.SetInt(store, "NoSuchKey", 1), std::invalid_argument);
    EXPECT_THROW(settings.Flip(store, "FW_strFilter"), std::invalid_argument);
}

TEST(AppSettingsTest, FlipWritesTheNegationAndUpdatesTheCopy) {
    const struct {
        const char* key;
        std::optional<int> stored;  // value in the store before the program starts
        bool flipped;
    } cases[] = {
        {"ExtractZip", std::nullopt, false},           // held, default 1
        {"PopMem", std::nullopt, true},                // held, default 0
        {"g_bListDiskOnly", 5, false},                 // any non-zero value counts as on
        {"DispExt", std::nullopt, false},              // read at use, default 1
        {"RunOnTray", std::nullopt, true},             // read at use, default 0
        {"ExpandSingleTreeItem", std::nullopt, true},  // off on a fresh installation, first click turns it on
        {"EjectCDAfterScanning", 7, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        RecordingStore store;
        if (c.stored) store.WriteInt(c.key, *c.stored);
        store.writes = 0;
        AppSettings settings;
        settings.Load(store);
        EXPECT_EQ(settings.Flip(store, c.key), c.flipped);
        EXPECT_EQ(store.writes, 1);
        EXPECT_EQ(store.ReadInt(c.key, -1), c.flipped ? 1 : 0);
        EXPECT_EQ(settings.IntValue(store, c.key), c.flipped ? 1 : 0);
        AppSettings reloaded;
        reloaded.Load(store);
        EXPECT_EQ(reloaded, settings);

        EXPECT_EQ(settings.Flip(store, c.key), !c.flipped);
        EXPECT_EQ(store.ReadInt(c.key, -1), c.flipped ? 0 : 1);
    }
}

TEST(AppSettingsTest, TheScanPartHoldsWhatTheWalkerReads) {
    settings::MemorySettingsStore store;
    store.WriteInt("g_bCheckOnlyDir", 1);
    store.WriteInt("g_bCheckFileLimit", 1);
    store.WriteInt("g_nFileLimit", 7);
    store.WriteInt("g_bCheckFileLimitDisk", 1);
    store.WriteInt("g_nFileLimitTotal", 70);
    store.WriteInt("g_bCheckFileExt2", 1);
    store.WriteString("g_szFileLimit2", "*.JPG");
    store.WriteInt("g_bCheckFileExt", 1);
    store.WriteString("g_szFileLimit", "*.TMP");
    store.WriteInt("g_bCheckDirLimit", 1);
    store.WriteInt("g_nDirLimit", 3);
    store.WriteInt("g_bFileCopy", 1);
    store.WriteString("g_szFileCopy", "*.NFO");
    store.WriteInt("ExtractZip", 0);
    store.WriteInt("ExtractMp3", 0);
    store.WriteInt("ExtractExeIcon", 0);
    store.WriteInt("g_bPicScan", 0);
    store.WriteInt("AutoFillReadme", 0);
    AppSettings settings;
    settings.Load(store);
    EXPECT_EQ(settings.scan, scan::ScanSettings::Load(store)) << "the walker's options are held once, as it reads them";
    EXPECT_EQ(settings.scan.szFileLimit2, "*.jpg");
    EXPECT_EQ(AppSettings().scan, scan::ScanSettings());
}

}  // namespace
}  // namespace pelko::shell
