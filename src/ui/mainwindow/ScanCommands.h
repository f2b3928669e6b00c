#pragma once
// The main window's scan commands and the windows of a scan run: the drive window, the folder
// and image pickers, the hidden-folder window, the new-disc question, the scanning window and the
// new-object dialog. The decisions are shell::ScanRun's; this class answers its questions with
// windows and hands the worker's end back to the UI thread. Owned by the main window, which it
// outlives by nothing: it is destroyed before the window's children.

#include <QPointer>

#include <filesystem>
#include <functional>
#include <memory>

#include "platform/MediaWatcher.h"
#include "shell/ScanRun.h"
#include "ui/app/AppServices.h"

class QMainWindow;
class QTimer;

namespace pelko::shell {
class DiscInsertions;
}

namespace pelko::ui {

class CatalogBrowsing;
class ScanningWindow;
class UiThreadTasks;

class ScanCommands final : private shell::ScanRunPort {
public:
    // `bringToFront` shows the main window maximised and in front.
    ScanCommands(AppServices services, CatalogBrowsing& browsing, QMainWindow& window,
                 std::function<void()> bringToFront);
    ~ScanCommands() override;
    ScanCommands(const ScanCommands&) = delete;
    ScanCommands& operator=(const ScanCommands&) = delete;

    // "自动扫描光盘(&S)...": the first optical drive that starts.
    void AutoScan();
    // "扫描指定盘符(D)...": the drive window, then the chosen drive.
    void ChooseDrive();
    // "扫描指定目录(&R)...": the folder picker, then the folder.
    void ChooseFolder();
    // "扫描隐藏目录(&H)": a typed folder.
    void ChooseHiddenFolder();
    // "扫描光盘映像文件(&I)...": an image file scanned as a disc.
    void ChooseDiscImage();
    // A folder (or a drive's mount point) scanned directly.
    void ScanFolder(const std::filesystem::path& folder);
    // A media event from the watcher; an inserted disc is scanned once it can be read.
    void NoteMediaEvent(const platform::MediaEvent& event);

    bool IsScanning() const { return m_run->IsScanning(); }
    // The scanning window while one is up (tests and the end-to-end runs look at it).
    ScanningWindow* Window() const { return m_scanning.get(); }

private:
    // shell::ScanRunPort
    shell::OpenedMedium OpenDrive(const std::filesystem::path& root, bool partition) override;
    shell::OpenedMedium OpenFolder(const std::filesystem::path& folder) override;
    std::optional<platform::DriveType> DriveMountedAt(const std::filesystem::path& folder) override;
    std::vector<std::string> OpticalDrives() override;
    void ShowMainWindowOnce() override;
    bool AskNewDisc(std::string_view label) override;
    scan::CScanProgress* OpenScanningWindow() override;
    void CloseScanningWindow() override;
    std::optional<catalog::NewObjectAnswer> AskNewObject(std::string_view presetName) override;
    void ReleaseOpenDisc(const catalog::CDiskInfo& entry) override;
    void ShowFiled(catalog::CDiskInfo& entry, bool openInTree) override;
    void OpenDoor(const std::string& device) override;

    void PollInsertions();

    AppServices m_services;
    CatalogBrowsing& m_browsing;
    QMainWindow& m_window;
    std::function<void()> m_bringToFront;
    bool m_shownOnce = false;
    // Destroyed in reverse order: the run (joining its worker) goes before the window the worker
    // reports to and before the queue its end is posted to.
    std::unique_ptr<UiThreadTasks> m_tasks;
    std::unique_ptr<ScanningWindow> m_scanning;
    std::unique_ptr<QTimer> m_insertionTimer;
    std::unique_ptr<shell::ScanRun> m_run;
    std::unique_ptr<shell::DiscInsertions> m_insertions;
};

}  // namespace pelko::ui
