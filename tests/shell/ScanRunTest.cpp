#include "shell/ScanRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "catalog/CCD.h"
#include "catalog/CPelkoDoc.h"
#include "catalog/CRootCategory.h"
#include "catalog/DiscStore.h"
#include "settings/SettingsStore.h"
#include "platform/LocalVolume.h"
#include "shell/BusyState.h"
#include "shell/DiscInsertions.h"
#include "support/RecordingChanges.h"
#include "support/RecordingLog.h"
#include "support/ScanSupport.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"
#include "text/Codec.h"

namespace pelko::shell {
namespace {

namespace fs = std::filesystem;
using catalog::CCD;
using catalog::MessageKind;

// The windows and the machine, scripted: drives are folders of the temporary tree with a label
// and serial of their own; every window call is recorded in order.
class ScriptedPort final : public ScanRunPort {
public:
    struct Drive {
        std::string label;
        std::uint32_t serial = 0;
        std::string device;  // empty for a partition
    };

    OpenedMedium OpenDrive(const fs::path& root, bool partition) override {
        calls.push_back(std::string(partition ? "open-partition " : "open-disc ") + root.native());
        const auto found = drives.find(root.native());
        if (found == drives.end()) return {std::nullopt, "no disc"};
        ScanMedium medium;
        medium.volume = std::make_unique<platform::LocalVolume>();
        medium.rootPath = root;
        medium.device = found->second.device;
        platform::VolumeInformation info;
        info.label = found->second.label;
        info.serial = found->second.serial;
        medium.info = info;
        return {std::move(medium), {}};
    }
    OpenedMedium OpenFolder(const fs::path& folder) override {
        ScanMedium medium;
        medium.volume = std::make_unique<platform::LocalVolume>();
        medium.rootPath = folder;
        return {std::move(medium), {}};
    }
    std::optional<platform::DriveType> DriveMountedAt(const fs::path& folder) override {
        const auto found = mounts.find(folder.native());
        if (found == mounts.end()) return std::nullopt;
        return found->second;
    }
    std::vector<std::string> OpticalDrives() override { return opticalDrives; }

    void ShowMainWindowOnce() override { calls.push_back("show-main"); }
    bool AskNewDisc(std::string_view label) override {
        calls.push_back("new-disc " + text::ToUtf8(label));
        return newDiscAnswer;
    }
    scan::CScanProgress* OpenScanningWindow() override {
        calls.push_back("open-window");
        return window.get();
    }
    void CloseScanningWindow() override { calls.push_back("close-window"); }
    std::optional<catalog::NewObjectAnswer> AskNewObject(std::string_view presetName) override {
        calls.push_back("new-object " + text::ToUtf8(presetName));
        return newObject;
    }
    void ReleaseOpenDisc(const catalog::CDiskInfo& entry) override {
        calls.push_back("release " + text::ToUtf8(entry.m_strName));
    }
    void ShowFiled(catalog::CDiskInfo& entry, bool openInTree) override {
        calls.push_back(std::string(openInTree ? "open " : "select ") + text::ToUtf8(entry.m_strName));
    }
    void OpenDoor(const std::string& device) override { calls.push_back("door " + device); }

    std::map<std::string, Drive> drives;  // by root path
    std::map<std::string, platform::DriveType> mounts;
    std::vector<std::string> opticalDrives;
    bool newDiscAnswer = true;
    std::optional<catalog::NewObjectAnswer> newObject;
    std::unique_ptr<test::GateSink> window = std::make_unique<test::GateSink>("", "");
    std::vector<std::string> calls;
};

class ScanRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(doc.LoadCatalog());
        top = doc.Root()->AddNewSubcategory("top", log, ui);
        ASSERT_NE(top, nullptr);
        dir.WriteFile("sr0/a.txt", "a");
        dir.WriteFile("sr1/b/c.txt", "cc");
        dir.WriteFile("part/d.txt", "ddd");
        dir.WriteFile("folder/e.txt", "e");
        port.drives[Path("sr0")] = {"DISC0", 0x1111, "/dev/sr0"};
        port.drives[Path("sr1")] = {"DISC1", 0x2222, "/dev/sr1"};
        port.drives[Path("part")] = {"DATA", 0x3333, ""};
        port.newObject = catalog::NewObjectAnswer{top, "filed", "memo"};
        settings.WriteInt("g_bPicScan", 0);
    }

    std::string Path(std::string_view name) const { return (dir / std::string(name)).native(); }

    // Runs the posted end of the scan started last.
    void Finish() { ASSERT_TRUE(queue.RunNext()); }

    // An entry already in the catalog for a medium, with its stored disc file.
    catalog::CDiskInfo* Known(std::string_view name, std::uint8_t kind, std::string label, std::uint32_t serial,
                              std::string folderPath = {}) {
        auto cd = std::make_unique<CCD>();
        cd->m_nKind = kind;
        cd->m_strVolumeLabel = label;
        cd->m_dwVolumeSerial = serial;
        cd->m_strFolderPath = folderPath;
        cd->m_bModified = true;
        EXPECT_TRUE(discs.Release(cd));
        catalog::CDiskInfo* entry = top->AddNewEntry(std::string(name), log);
        entry->m_nKind = kind;
        entry->m_strVolumeLabel = label;
        entry->m_dwVolumeSerial = serial;
        entry->m_strFolderPath = folderPath;
        return entry;
    }

    test::TempDir dir;
    test::RecordingLog log;
    test::ScriptedUi ui;
    catalog::CPelkoDoc doc{dir.path() / "catalog", log, ui};
    catalog::DiscStore discs{dir.path() / "catalog", log};
    settings::MemorySettingsStore settings;
    test::RecordingChanges changes;
    BusyState busy;
    test::TaskQueue queue;
    ScriptedPort port;
    ScanRun run{ScanRunServices{busy, {doc, discs, log, ui}, settings, changes, port,
                                [this](std::function<void()> task) { queue.Post(std::move(task)); }, nullptr}};
    catalog::CCategory* top = nullptr;
};

TEST_F(ScanRunTest, AutoScanAsksAboutAKnownDiscAndOnNoTriesTheNextDrive) {
    Known("old", CCD::kKindDisk, "DISC0", 0x1111);
    port.opticalDrives = {Path("sr0"), Path("sr1")};
    ui.answers = {false};
    run.AutoScan();
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(text::ToUtf8(ui.questions[0]),
              Path("sr0") + "光驱中光盘[ DISC0 ]已经存在，路径为 [ " + text::ToUtf8(doc.Root()->m_strName) +
                  "\\top\\old ]. 是否需要重新扫描？");
    ASSERT_TRUE(run.IsScanning());
    Finish();
    EXPECT_EQ(port.calls, (std::vector<std::string>{"show-main", "open-disc " + Path("sr0"), "open-disc " + Path("sr1"),
                                                    "show-main", "open-window", "close-window", "new-object DISC1",
                                                    "close-window", "select filed"}));
    const catalog::CDiskInfo* filed = top->FindEntry("filed");
    ASSERT_NE(filed, nullptr);
    EXPECT_EQ(filed->m_dwVolumeSerial, 0x2222u);
    EXPECT_EQ(filed->m_strMemo, "memo");
    EXPECT_EQ(filed->m_nFileCount, 1);
    EXPECT_TRUE(busy.IsIdle());
    EXPECT_EQ(changes.calls, std::vector<std::string>{"added filed to top"});
    // Without PopAddedInfoDlg the success line goes to the pane, not a box.
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(log.Utf8Lines(MessageKind::Hint), std::vector<std::string>{"成功地把光盘 filed 加入到光盘库！"});
}

TEST_F(ScanRunTest, WhileBusyEveryDriveTriedWritesTheBusyError) {
    port.opticalDrives = {Path("sr0"), Path("sr1")};
    busy.Set(Busy::Searching);
    run.AutoScan();
    EXPECT_EQ(log.Utf8Lines(MessageKind::Error),
              (std::vector<std::string>{"正在查找，不能扫描新的光盘", "正在查找，不能扫描新的光盘"}));
    busy.Set(Busy::Idle);

    // A folder scan held mid-walk: the drives tried meanwhile are refused with the folder's text.
    port.window = std::make_unique<test::GateSink>(Path("folder"), Path("folder"));
    run.ScanFolder(Path("folder"));
    ASSERT_TRUE(port.window->WaitUntilHeld());
    run.AutoScan();
    port.window->Open();
    Finish();
    const std::vector<std::string> errors = log.Utf8Lines(MessageKind::Error);
    ASSERT_EQ(errors.size(), 4u);
    EXPECT_EQ(errors[2], "正在读取一个文件夹中的信息，不能扫描新的光盘");
    EXPECT_EQ(errors[3], "正在读取一个文件夹中的信息，不能扫描新的光盘");
}

TEST_F(ScanRunTest, InsertionAsksTheNewDiscQuestionByTheSettings) {
    struct Case {
        const char* name;
        int popAsk;
        int unasked;
        bool knownDisc;
        bool expectNewDiscQuestion;
        bool expectScan;
    };
    const Case cases[] = {
        {"asks a new disc", 1, 0, false, true, true},
        {"asks after the re-scan question", 1, 0, true, true, true},
        {"scans without asking", 1, 1, false, false, true},
        {"without asking takes precedence", 0, 1, false, false, true},
        {"neither: not scanned at all", 0, 0, false, false, false},
    };
    port.newObject = std::nullopt;  // new discs are dropped: each case starts from the same catalog
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        settings.WriteInt("PopAskNewCDDlg", c.popAsk);
        settings.WriteInt("ScanUnAskNewCDDlg", c.unasked);
        port.calls.clear();
        ui.questions.clear();
        catalog::CDiskInfo* known = c.knownDisc ? Known("known", CCD::kKindDisk, "DISC0", 0x1111) : nullptr;
        ui.answers = {true};
        const bool started = run.ScanDrive(Path("sr0"), true, CCD::kKindDisk);
        EXPECT_EQ(started, c.expectScan);
        EXPECT_EQ(ui.questions.size(), c.knownDisc ? 1u : 0u);
        const bool asked = std::find(port.calls.begin(), port.calls.end(), "new-disc DISC0") != port.calls.end();
        EXPECT_EQ(asked, c.expectNewDiscQuestion);
        if (started) Finish();
        if (known) {
            EXPECT_EQ(top->FindEntry("known"), known);
            top->RemoveEntry(known);
        }
    }
}

TEST_F(ScanRunTest, AMountPointScansItsDriveAndAPlainFolderIsAFolderScan) {
    struct Case {
        const char* folder;
        std::optional<platform::DriveType> mounted;
        std::string expectOpen;  // empty: a folder scan
        std::uint8_t kind;
    };
    port.drives[Path("folder")] = {"FOLDERVOL", 0x4444, ""};
    const Case cases[] = {
        {"part", platform::DriveType::Fixed, "open-partition ", CCD::kKindFixedDisk},
        {"sr1", platform::DriveType::Optical, "open-disc ", CCD::kKindDisk},
        {"folder", platform::DriveType::Other, "", CCD::kKindFixedDir},
        {"folder", std::nullopt, "", CCD::kKindFixedDir},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.folder);
        port.mounts.clear();
        if (c.mounted) port.mounts[Path(c.folder)] = *c.mounted;
        port.calls.clear();
        const std::string name = "n" + std::to_string(n++);
        port.newObject = catalog::NewObjectAnswer{top, name, ""};
        run.ScanFolder(Path(c.folder));
        ASSERT_TRUE(run.IsScanning());
        Finish();
        if (!c.expectOpen.empty()) {
            EXPECT_EQ(port.calls.front(), c.expectOpen + Path(c.folder));
        }
        const catalog::CDiskInfo* entry = top->FindEntry(name);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->m_nKind, c.kind);
        if (c.kind == CCD::kKindFixedDir) {
            EXPECT_EQ(entry->m_strFolderPath, Path("folder"));
            top->RemoveEntry(entry);  // the next case is a new scan again
        }
    }
}

TEST_F(ScanRunTest, CancelledScanStillFilesWhatWasReadAndCancelInTheDialogLeavesNoFile) {
    port.window->cancelled = true;
    ASSERT_TRUE(run.ScanDrive(Path("sr1"), false, CCD::kKindDisk));
    Finish();
    ASSERT_NE(top->FindEntry("filed"), nullptr);
    EXPECT_TRUE(fs::exists(discs.ZipPath("DISC1", 0x2222)));

    // "取消" in the new-object dialog: no entry, no disc file, no empty thumbnail folder.
    port.window->cancelled = false;
    port.newObject = std::nullopt;
    fs::create_directories(discs.PictureFolder("DISC0", 0x1111));
    ASSERT_TRUE(run.ScanDrive(Path("sr0"), false, CCD::kKindDisk));
    Finish();
    EXPECT_EQ(doc.Root()->FindEntryByLabel("DISC0", 0x1111), nullptr);
    EXPECT_FALSE(fs::exists(discs.ZipPath("DISC0", 0x1111)));
    EXPECT_FALSE(fs::exists(discs.PlainPath("DISC0", 0x1111)));
    EXPECT_FALSE(fs::exists(discs.PictureFolder("DISC0", 0x1111)));
    EXPECT_TRUE(busy.IsIdle());
}

TEST_F(ScanRunTest, ReScanUpdatesTheEntryReleasesOpenViewsAndEjects) {
    catalog::CDiskInfo* known = Known("known", CCD::kKindDisk, "DISC1", 0x2222);
    settings.WriteInt("OpenNewCDNow", 1);
    settings.WriteInt("EjectCDAfterScanning", 1);
    ui.answers = {true};
    ASSERT_TRUE(run.ScanDrive(Path("sr1"), false, CCD::kKindDisk));
    EXPECT_EQ(run.EjectDrive(), "/dev/sr1");
    Finish();
    EXPECT_EQ(known->m_nFileCount, 1);
    EXPECT_EQ(known->m_nFolderCount, 1);
    EXPECT_EQ(ui.messages, std::vector<std::string>{text::Local("重新扫描光盘 [ known ] 成功！")});
    EXPECT_EQ(changes.calls, std::vector<std::string>{"changed known"});
    const std::vector<std::string> tail(port.calls.end() - 4, port.calls.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"release known", "close-window", "open known", "door /dev/sr1"}));
    EXPECT_TRUE(run.EjectDrive().empty());

    // A folder scan records no drive to eject.
    port.newObject = catalog::NewObjectAnswer{top, "f", ""};
    run.ScanFolder(Path("folder"));
    Finish();
    EXPECT_EQ(std::count(port.calls.begin(), port.calls.end(), "door /dev/sr1"), 1);
}

TEST_F(ScanRunTest, AReScanWhoseStoredDiscCannotBeReadStartsNothingAndKeepsTheFile) {
    Known("known", CCD::kKindDisk, "DISC0", 0x1111);
    const fs::path zip = discs.ZipPath("DISC0", 0x1111);
    { std::ofstream(zip, std::ios::binary | std::ios::trunc) << "not a zip"; }
    ui.answers = {true};
    EXPECT_FALSE(run.ScanDrive(Path("sr0"), false, CCD::kKindDisk));
    EXPECT_FALSE(run.IsScanning());
    EXPECT_EQ(log.Utf8Lines(MessageKind::Error).back(), "光盘加入光盘库的动作失败");
    std::ifstream in(zip, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "not a zip");
}

TEST_F(ScanRunTest, AnInsertedDiscIsScannedFromItsMountPointOnceMountedOrElseFromItsDevice) {
    settings.WriteInt("PopAskNewCDDlg", 1);
    DiscInsertions insertions(run, std::chrono::seconds(5));
    const auto t0 = DiscInsertions::Clock::now();
    insertions.Note({platform::MediaChange::Inserted, 0, "/dev/sr0"}, t0);
    EXPECT_TRUE(insertions.Poll({}, t0));  // not mounted yet: it waits
    EXPECT_TRUE(port.calls.empty());

    platform::MountedVolume mounted;
    mounted.mount.source = "/dev/sr0";
    mounted.mount.root = "/";
    mounted.mount.mountPoint = Path("sr0");
    mounted.type = platform::DriveType::Optical;
    EXPECT_FALSE(insertions.Poll({mounted}, t0 + std::chrono::seconds(1)));
    ASSERT_TRUE(run.IsScanning());
    EXPECT_EQ(port.calls[0], "open-disc " + Path("sr0"));
    EXPECT_EQ(port.calls[1], "new-disc DISC0");
    Finish();
    EXPECT_NE(top->FindEntry("filed"), nullptr);

    // Never mounted: read from the device once the wait is over.
    port.calls.clear();
    insertions.Note({platform::MediaChange::Inserted, 1, "/dev/sr1"}, t0);
    EXPECT_FALSE(insertions.Poll({}, t0 + std::chrono::seconds(6)));
    EXPECT_EQ(port.calls, std::vector<std::string>{"open-disc /dev/sr1"});  // no disc there in this test
}

TEST(SuggestedName, TakesTheLabelOrTheRootWithoutItsTrailingMarks) {
    EXPECT_EQ(SuggestedName("", "D:"), "D");
    EXPECT_EQ(SuggestedName("", "E:\\"), "E");
    EXPECT_EQ(SuggestedName("", "/media/user/disc/"), "/media/user/disc");
    EXPECT_EQ(SuggestedName("LABEL", "D:"), "LABEL");
}

}  // namespace
}  // namespace pelko::shell
