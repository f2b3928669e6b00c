#pragma once
// The main window's scan commands: scanning a drive (from a command or a disc's insertion), a
// folder, or the first optical drive that holds a disc, and what happens when the walk has ended.
// The questions, the busy guard and the filing decisions live here; the windows (scanning window,
// new-disc question, new-object dialog, the views) are behind ScanRunPort, so the run is tested
// with a scripted port and no display.
//
// Every call is made on the user-interface thread; the walk itself runs on ScanController's worker.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "catalog/UserInterface.h"
#include "platform/MountTable.h"
#include "shell/ScanController.h"
#include "shell/ScanMedium.h"

namespace pelko::settings {
class SettingsStore;
}

namespace pelko::catalog {
class CDiskInfo;
}  // namespace pelko::catalog
namespace pelko::scan {
class CScanProgress;
}

namespace pelko::shell {

class CatalogChanges;

// What the scan run asks of the machine and of the windows.
class ScanRunPort {
public:
    virtual ~ScanRunPort() = default;

    // The machine (the desktop program uses ScanMedium.h; tests give prepared media).
    virtual OpenedMedium OpenDrive(const std::filesystem::path& root, bool partition) = 0;
    virtual OpenedMedium OpenFolder(const std::filesystem::path& folder) = 0;
    // The kind of drive mounted exactly at `folder`, or nothing for a plain folder.
    virtual std::optional<platform::DriveType> DriveMountedAt(const std::filesystem::path& folder) = 0;
    // The optical drives in order (their device nodes).
    virtual std::vector<std::string> OpticalDrives() = 0;

    // The main window the first time a scan starts: maximised, in front, focus in the tree.
    virtual void ShowMainWindowOnce() = 0;
    // "新光盘": brings the main window to the front and asks whether to add the inserted disc
    // (`label` in model bytes, may be empty). True for "确认".
    virtual bool AskNewDisc(std::string_view label) = 0;
    // The scanning window "读取信息...", replacing one left from before; the walk reports to it from
    // the worker. Null when it cannot be made.
    virtual scan::CScanProgress* OpenScanningWindow() = 0;
    virtual void CloseScanningWindow() = 0;
    // "设置新光盘的相关信息": the category, name and memo of a new scan object; it stays open until a
    // name and a category are given. Nothing for "取消".
    virtual std::optional<catalog::NewObjectAnswer> AskNewObject(std::string_view presetName) = 0;
    // The entry to scan again is about to get a new disc file: a view that holds it open lets go
    // of it (saving its edits first), so the stale tree is never written over the new one.
    virtual void ReleaseOpenDisc(const catalog::CDiskInfo& entry) = 0;
    // The scan has been filed: show the entry (OpenNewCDNow: open it in the tree; otherwise select
    // it in its category's list) and refresh a list that shows it.
    virtual void ShowFiled(catalog::CDiskInfo& entry, bool openInTree) = 0;
    // Opens the drive's door after the scan (EjectCDAfterScanning).
    virtual void OpenDoor(const std::string& device) = 0;
};

struct ScanRunServices {
    BusyState& busy;
    FilingServices filing;  // the catalog, its disc files, the message pane and message boxes
    settings::SettingsStore& settings;
    CatalogChanges& changes;
    ScanRunPort& port;
    ScanController::Post post;
    platform::DrivePort* drives = nullptr;  // tray lock and disc watch; null in tests without drives
};

class ScanRun {
public:
    explicit ScanRun(ScanRunServices services);
    ~ScanRun();
    ScanRun(const ScanRun&) = delete;
    ScanRun& operator=(const ScanRun&) = delete;

    // A disc (kind 0) or partition (kind 1) at `root`: an optical device node, a mount point or an
    // image file. `byInsertion`: the disc was just inserted (the new-disc question applies). True
    // when a scan was started.
    bool ScanDrive(const std::filesystem::path& root, bool byInsertion, std::uint8_t kind);
    // A folder; the mount point of a drive scans that drive instead (optical: a disc, kind 0;
    // fixed, removable or network: a partition, kind 1).
    void ScanFolder(const std::filesystem::path& folder);
    // "自动扫描光盘": each optical drive in order until one starts.
    void AutoScan();

    // The scanning window's Cancel: what was read is still filed (or dropped) as usual.
    void Cancel() { m_controller.Cancel(); }
    bool IsScanning() const { return m_controller.IsScanning(); }
    // The device of the last disc or partition scan, kept for the eject after the scan.
    const std::string& EjectDrive() const { return m_ejectDrive; }

private:
    // Puts the tree the walk starts from into `request`: the stored tree of `existing` (false,
    // after the failure line of `kind`, when it cannot be read), else a new one.
    bool PrepareTree(ScanRequest& request, catalog::CDiskInfo* existing, std::uint8_t kind);
    bool StartScan(ScanRequest request);
    void OnScanFinished(const ScanOutcome& outcome);

    ScanRunServices m_services;
    ScanController m_controller;
    std::string m_scanPath;    // root of the scan being prepared, for the suggested name
    std::string m_ejectDrive;  // device of the last disc or partition scan
};

// The name offered for a new scan object: its volume label, or for a medium without one the
// scanned root with trailing "\", "/" and ":" removed ("D:" gives "D"). Model bytes.
std::string SuggestedName(std::string_view label, std::string_view scanPath);

}  // namespace pelko::shell
