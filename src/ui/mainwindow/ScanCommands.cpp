#include "ui/mainwindow/ScanCommands.h"

#include <QFile>
#include <QFileDialog>
#include <QMainWindow>
#include <QTimer>

#include "catalog/CPelkoDoc.h"
#include "catalog/CRootCategory.h"
#include "platform/DrivePort.h"
#include "platform/MountTable.h"
#include "platform/OpticalDrives.h"
#include "shell/DiscInsertions.h"
#include "shell/DriveChooser.h"
#include "shell/DriveDoors.h"
#include "shell/ScanMedium.h"
#include "text/Codec.h"
#include "ui/app/UiThreadTasks.h"
#include "ui/dialogs/DriveWindow.h"
#include "ui/dialogs/HiddenFolderDialog.h"
#include "ui/dialogs/NewDiscDialog.h"
#include "ui/dialogs/NewObjectDialog.h"
#include "ui/dialogs/ScanningWindow.h"
#include "ui/mainwindow/CatalogBrowsing.h"
#include "ui/text/QtText.h"

namespace pelko::ui {

namespace fs = std::filesystem;

namespace {

constexpr int kInsertionPollMilliseconds = 1000;

fs::path LocalPath(const QString& path) { return fs::path(QFile::encodeName(path).toStdString()); }

}  // namespace

ScanCommands::ScanCommands(AppServices services, CatalogBrowsing& browsing, QMainWindow& window,
                           std::function<void()> bringToFront)
    : m_services(services),
      m_browsing(browsing),
      m_window(window),
      m_bringToFront(std::move(bringToFront)),
      m_tasks(std::make_unique<UiThreadTasks>()),
      m_insertionTimer(std::make_unique<QTimer>()) {
    UiThreadTasks* tasks = m_tasks.get();
    m_run = std::make_unique<shell::ScanRun>(shell::ScanRunServices{
        m_services.busy,
        {m_services.doc, m_browsing.Discs(), m_services.doc.Log(), m_services.ui},
        m_services.settings,
        m_browsing.Changes(),
        *this,
        [tasks](std::function<void()> task) { tasks->Post(std::move(task)); },
        &m_services.drives});
    m_insertions = std::make_unique<shell::DiscInsertions>(*m_run);
    m_insertionTimer->setInterval(kInsertionPollMilliseconds);
    QObject::connect(m_insertionTimer.get(), &QTimer::timeout, [this] { PollInsertions(); });
}

ScanCommands::~ScanCommands() = default;

void ScanCommands::AutoScan() { m_run->AutoScan(); }

void ScanCommands::ChooseDrive() {
    DriveWindow chooser(shell::ListScanDrives(platform::ListOpticalDrives(), platform::ReadMountedVolumes()),
                        &m_window);
    if (chooser.exec() != QDialog::Accepted) return;
    const std::optional<shell::DriveRow> row = chooser.Chosen();
    if (!row) return;
    const shell::DriveScanChoice choice = shell::ChooseDriveScan(row->volume);
    if (!choice.accepted) {
        m_services.ui.ShowMessage(choice.error);
        return;
    }
    m_run->ScanDrive(choice.root, false, choice.kind);
}

void ScanCommands::ChooseFolder() {
    const QString folder = QFileDialog::getExistingDirectory(&m_window, Tr("请选择需要扫描的目录: "));
    if (folder.isEmpty()) return;
    ScanFolder(LocalPath(folder));
}

void ScanCommands::ChooseHiddenFolder() {
    HiddenFolderDialog dialog(&m_window);
    if (dialog.exec() != QDialog::Accepted) return;
    const fs::path folder = dialog.Folder();
    if (!CanEnterFolder(folder)) {
        m_services.ui.ShowMessage(FromQt(HiddenFolderError(folder)));
        return;
    }
    ScanFolder(folder);
}

void ScanCommands::ChooseDiscImage() {
    const QString image = QFileDialog::getOpenFileName(&m_window, Tr("选择光盘映像文件"), QString(),
                                                       Tr("光盘映像文件 (*.iso *.img *.udf);;所有文件 (*)"));
    if (image.isEmpty()) return;
    m_run->ScanDrive(LocalPath(image), false, catalog::CCD::kKindDisk);
}

void ScanCommands::ScanFolder(const fs::path& folder) { m_run->ScanFolder(folder); }

void ScanCommands::NoteMediaEvent(const platform::MediaEvent& event) {
    m_insertions->Note(event, shell::DiscInsertions::Clock::now());
    PollInsertions();
}

void ScanCommands::PollInsertions() {
    if (m_insertions->Poll(platform::ReadMountedVolumes(), shell::DiscInsertions::Clock::now())) {
        if (!m_insertionTimer->isActive()) m_insertionTimer->start();
    } else {
        m_insertionTimer->stop();
    }
}

shell::OpenedMedium ScanCommands::OpenDrive(const fs::path& root, bool partition) {
    return shell::OpenDriveMedium(root, partition);
}

shell::OpenedMedium ScanCommands::OpenFolder(const fs::path& folder) { return shell::OpenFolderMedium(folder); }

std::optional<platform::DriveType> ScanCommands::DriveMountedAt(const fs::path& folder) {
    return shell::DriveMountedAt(platform::ReadMountedVolumes(), folder);
}

std::vector<std::string> ScanCommands::OpticalDrives() {
    std::vector<std::string> devices;
    for (const platform::OpticalDrive& drive : m_services.drives.Drives()) devices.push_back(drive.device);
    return devices;
}

void ScanCommands::ShowMainWindowOnce() {
    if (m_shownOnce) return;
    m_shownOnce = true;
    if (!m_window.isVisible() || m_window.isMinimized()) m_bringToFront();
}

bool ScanCommands::AskNewDisc(std::string_view label) {
    m_bringToFront();
    NewDiscDialog dialog(label, &m_window);
    return dialog.exec() == QDialog::Accepted;
}

scan::CScanProgress* ScanCommands::OpenScanningWindow() {
    m_scanning.reset();
    m_scanning = std::make_unique<ScanningWindow>(&m_window);
    // Painted by the event loop as soon as the run has started its worker, so the first frame never
    // holds up the walk.
    m_scanning->show();
    return m_scanning.get();
}

void ScanCommands::CloseScanningWindow() { m_scanning.reset(); }

std::optional<catalog::NewObjectAnswer> ScanCommands::AskNewObject(std::string_view presetName) {
    NewObjectDialog dialog(text::Local("请选择新光盘所属的类别，并填写它的名称和备注："), presetName,
                           *m_services.doc.Root(), &m_window, NewObjectDialog::Purpose::Scan);
    dialog.SelectCategory(m_browsing.CurrentCategory());
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Answer();
}

void ScanCommands::ReleaseOpenDisc(const catalog::CDiskInfo& entry) { m_browsing.ReleaseDisc(entry); }

void ScanCommands::ShowFiled(catalog::CDiskInfo& entry, bool openInTree) {
    m_browsing.ShowScanned(entry, openInTree);
}

void ScanCommands::OpenDoor(const std::string& device) {
    shell::DriveDoors doors(m_services.drives);
    doors.OpenDrive(device);
}

}  // namespace pelko::ui
