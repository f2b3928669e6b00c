#include "ui/app/PelkoApplication.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPainter>
#include <QSocketNotifier>
#include <QTranslator>

#include <unistd.h>

#include <cstdio>
#include <span>

#include "catalog/CPelkoDoc.h"
#include "catalog/CRootCategory.h"
#include "platform/CatalogLocation.h"
#include "platform/DrivePort.h"
#include "platform/GlobalHotKeys.h"
#include "platform/SingleInstance.h"
#include "platform/qt/QtSettingsStore.h"
#include "shell/AppSettings.h"
#include "shell/BusyState.h"
#include "shell/DriveDoors.h"
#include "shell/SessionRules.h"
#include "text/Codec.h"
#include "ui/app/AppServices.h"
#include "ui/app/ForwardingLog.h"
#include "ui/app/InfoOptions.h"
#include "ui/app/MessageBoxUi.h"
#include "ui/app/Splash.h"
#include "ui/dialogs/PasswordDialog.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/panes/MessagePane.h"
#include "ui/text/QtText.h"

#ifndef PELKO_VERSION
#define PELKO_VERSION "0"
#endif

namespace pelko::ui {
namespace {

// What a second copy sends the running one over the local socket beside the lock.
constexpr char kRaiseRequest[] = "raise\n";

QString SocketPath(const std::filesystem::path& lockFolder) {
    return QFile::decodeName((lockFolder / (std::string(platform::kSingleInstanceName) + ".socket")).c_str());
}

void AskRunningCopyToComeForward(const QString& socketPath) {
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(1000)) return;
    socket.write(kRaiseRequest);
    socket.waitForBytesWritten(1000);
    socket.disconnectFromServer();
}

// The program's icon: our own picture, else the theme's, else a disc drawn here.
QIcon ProgramIcon() {
    if (QFile::exists(QStringLiteral(":/icons/pelko.svg"))) return QIcon(QStringLiteral(":/icons/pelko.svg"));
    QIcon themed = QIcon::fromTheme(QStringLiteral("media-optical"));
    if (!themed.isNull()) return themed;
    QPixmap picture(64, 64);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(0xb8, 0xc4, 0xd6));
    painter.setPen(QColor(0x4a, 0x5a, 0x70));
    painter.drawEllipse(4, 4, 56, 56);
    painter.setBrush(Qt::white);
    painter.drawEllipse(26, 26, 12, 12);
    return QIcon(picture);
}

void LoadQtTranslations(QApplication& app) {
    // Every text of the program is Chinese, so Qt's own buttons and choosers are too.
    auto* translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        app.installTranslator(translator);
    }
}

// Outside a desktop session the icon theme is the empty "hicolor": file types and folders
// then take their pictures from Adwaita, which the set-up script installs.
void UseFallbackIconTheme() {
    if (QIcon::fallbackThemeName().isEmpty() || QIcon::fallbackThemeName() == QStringLiteral("hicolor"))
        QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));
}

}  // namespace

int RunPelko(int argc, char** argv) {
    switch (FindInfoRequest(std::span<char* const>(argv, static_cast<std::size_t>(argc)))) {
        case InfoRequest::Help:
            std::fputs(PelkoHelpText().c_str(), stdout);
            return 0;
        case InfoRequest::Version:
            std::fputs(PelkoVersionText().c_str(), stdout);
            return 0;
        case InfoRequest::None:
            break;
    }
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Tinkmoss"));
    QApplication::setApplicationName(QStringLiteral("Pelko"));
    QApplication::setApplicationVersion(QStringLiteral(PELKO_VERSION));
    // Ties the windows to the installed desktop entry (its icon and name in docks and task bars).
    QGuiApplication::setDesktopFileName(QStringLiteral("org.tinkmoss.Pelko"));
    // The window may live in the tray while dialogs come and go; the close sequence ends the run.
    QApplication::setQuitOnLastWindowClosed(false);
    LoadQtTranslations(app);
    UseFallbackIconTheme();

    QCommandLineParser parser;
    parser.setApplicationDescription(ProgramCaption());
    const QCommandLineOption catalogOption(QStringLiteral("catalog"), Tr("光盘库目录"), QStringLiteral("DIR"));
    const QCommandLineOption noSplashOption(QStringLiteral("no-splash"), Tr("启动时不显示启动画面"));
    parser.addOption(catalogOption);
    parser.addOption(noSplashOption);
    parser.process(app);
    const bool wantSplash = !parser.isSet(noSplashOption);

    MessageBoxUi ui;
    std::optional<std::filesystem::path> given;
    if (parser.isSet(catalogOption)) given = std::filesystem::path(QFile::encodeName(parser.value(catalogOption)).toStdString());
    const std::filesystem::path folder = platform::ResolveCatalogFolder(given);

    const std::filesystem::path lockFolder = platform::SingleInstanceFolder(folder);
    std::optional<platform::SingleInstanceLock> lock = platform::SingleInstanceLock::Acquire(lockFolder);
    if (!lock) {
        ui.ShowMessage(platform::AlreadyRunningText());
        AskRunningCopyToComeForward(SocketPath(lockFolder));
        return 1;
    }

    if (const std::optional<std::string> refusal = shell::RefuseCatalogFolder(folder)) {
        ui.ShowMessage(*refusal);
        return 1;
    }
    if (!platform::EnsureFolder(folder) || ::chdir(folder.c_str()) != 0) {
        ui.ShowMessage(text::LocalWith("不能建立光盘库目录%s", text::FromUtf8(folder.string())));
        return 1;
    }

    ForwardingLog log;
    platform::QtSettingsStore settings;
    settings.ReportWriteFailuresTo(
        [&log](const std::string& message) { log.Post(catalog::MessageKind::Error, message); });
    const QIcon icon = ProgramIcon();
    QApplication::setWindowIcon(icon);

    catalog::CPelkoDoc doc(folder, log, ui);
    if (!doc.LoadCatalog()) return 1;
    doc.Root()->m_strName = "Pelko";

    shell::AppSettings options;
    options.Load(settings);
    shell::BusyState busy;
    platform::SystemDrivePort drives;
    std::unique_ptr<platform::X11GlobalHotKeys> x11Keys = platform::X11GlobalHotKeys::Connect();
    platform::NoGlobalHotKeys noKeys;
    platform::GlobalHotKeys& hotKeys = x11Keys ? static_cast<platform::GlobalHotKeys&>(*x11Keys) : noKeys;
    DesktopOpener opener;

    MainWindow window(AppServices{doc, settings, options, busy, ui, drives, hotKeys, opener}, true);
    window.setWindowIcon(icon);
    log.SetTarget(window.Pane());
    struct DetachLog {
        ForwardingLog& log;
        ~DetachLog() { log.Detach(); }
    } detachLogBeforeWindowGoes{log};
    window.RegisterHotKeys();
    if (x11Keys) {
        auto* presses = new QSocketNotifier(x11Keys->Descriptor(), QSocketNotifier::Read, &window);
        QObject::connect(presses, &QSocketNotifier::activated, &window, [&] {
            shell::DriveDoors doors(drives);
            for (int command : x11Keys->ReadPresses()) doors.RunCommand(command);
        });
    }
    if (wantSplash) Splash::ShowOnce();

    // The window stays unshown until the login has passed: nothing of the catalog is seen before.
    const shell::LoginResult login = shell::CheckLogin(
        doc.Root()->m_strPassword,
        [] {
            PasswordDialog dialog(PasswordDialog::Mode::Login);
            return dialog.exec() == QDialog::Accepted ? std::optional<std::string>(dialog.Password()) : std::nullopt;
        },
        ui);
    if (login != shell::LoginResult::Passed) return 1;  // the catalog is not written on this path
    ui.SetParent(&window);

    window.setWindowTitle(ProgramCaption());
    if (window.SetUpTray()) window.hide();
    else window.showMaximized();

    QLocalServer server;
    const QString socketPath = SocketPath(lockFolder);
    QLocalServer::removeServer(socketPath);  // a file left by a crashed copy; the lock is ours
    if (server.listen(socketPath)) {
        QObject::connect(&server, &QLocalServer::newConnection, &window, [&] {
            while (QLocalSocket* peer = server.nextPendingConnection()) {
                QObject::connect(peer, &QLocalSocket::readyRead, &window, [&window, peer] {
                    if (peer->readAll().contains("raise")) window.BringToFront();
                    peer->deleteLater();
                });
            }
        });
    }

    QObject::connect(&window, &MainWindow::Closed, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    return app.exec();
}

}  // namespace pelko::ui
