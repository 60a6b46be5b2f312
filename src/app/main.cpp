#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string_view>

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QTimer>

#include "app_windows.h"
#include "error_box.h"
#include "form_main.h"
#include "history/history.h"
#include "history_windows.h"
#include "look.h"
#include "screenshots.h"
#include "single_instance.h"
#include "uihost.h"
#include "window_placement.h"

using namespace cadrix::app;

namespace {

// Some window managers do not activate a window that was not clicked;
// start-up must finish all the same.
constexpr int kActivationWaitMs = 3000;

struct CommandLine {
    std::optional<std::filesystem::path> workDir;
    std::filesystem::path historyFile;
    std::optional<QString> screenshots;  // the folder to save pictures into
    QStringList archives;                // none, or the start and the end archive
    bool last = false;                   // the newest stored export against the one before it
};

CommandLine ParseCommandLine(const QCoreApplication& app) {
    QCommandLineParser parser;
    parser.setApplicationDescription(kApplicationTitle);
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption workDir(QStringLiteral("work-dir"),
                                     QStringLiteral("Keep the working folders Tmp/old and Tmp/new under DIR."),
                                     QStringLiteral("DIR"));
    const QCommandLineOption screenshots(QStringLiteral("screenshots"),
                                         QStringLiteral("Save pictures of the window into DIR, then quit."),
                                         QStringLiteral("DIR"));
    const QCommandLineOption db(QStringLiteral("db"),
                                QStringLiteral("Keep the history of exports in FILE (default "
                                               "$XDG_DATA_HOME/cadrix/history.sqlite, else "
                                               "~/.local/share/cadrix/history.sqlite)."),
                                QStringLiteral("FILE"));
    const QCommandLineOption last(QStringLiteral("last"),
                                  QStringLiteral("Compare the newest stored export with the one before it, of the "
                                                 "same club."));
    parser.addOption(workDir);
    parser.addOption(last);
    parser.addOption(db);
    parser.addOption(screenshots);
    parser.addPositionalArgument(QStringLiteral("START.zip"), QStringLiteral("The export at the period's start."));
    parser.addPositionalArgument(QStringLiteral("END.zip"), QStringLiteral("The export at the period's end."));
    parser.process(app);
    CommandLine line;
    line.archives = parser.positionalArguments();
    line.last = parser.isSet(last);
    if (line.archives.size() > 2 || (line.last && !line.archives.isEmpty())) {
        std::fprintf(stderr, "cadrix: --last, or one or two archives, are expected\n");
        std::exit(2);
    }
    if (parser.isSet(workDir))
        line.workDir = std::filesystem::path(parser.value(workDir).toStdString());
    line.historyFile =
        parser.isSet(db) ? std::filesystem::path(parser.value(db).toStdString()) : cadrix::DefaultHistoryFile();
    if (parser.isSet(screenshots))
        line.screenshots = parser.value(screenshots);
    return line;
}

// --help and --version are answered before the window system is touched,
// so that they work without a display.
bool AsksOnlyForHelpOrVersion(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view a = argv[i];
        if (a == "-h" || a == "--help" || a == "--help-all" || a == "-v" || a == "--version")
            return true;
    }
    return false;
}

void NameApplication() {
    QCoreApplication::setApplicationName(QStringLiteral("cadrix"));
    QCoreApplication::setApplicationVersion(QStringLiteral(CADRIX_VERSION));
}

// Under a Wayland session a system without Qt's Wayland plugin still has
// XWayland: let Qt fall back to it instead of giving up.
void PreferWaylandWithFallback() {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM") && qgetenv("XDG_SESSION_TYPE") == "wayland")
        qputenv("QT_QPA_PLATFORM", "wayland;xcb");
}

// What the window does once it is first active: save the screenshots, show
// the latest stored pair, or compare the archives given, now and whenever a
// second start hands some over.
void StartWork(AppWindows& windows, const CommandLine& line, InstanceServer& instance) {
    FormMain& form = *windows.formMain;
    if (line.screenshots) {
        form.afterFirstActivation([&windows, &line] {
            SaveScreenshots(windows, *line.screenshots, line.archives);
            QApplication::quit();
        });
    } else if (line.last) {
        form.afterFirstActivation([&windows] { windows.history->compareLatest(); });
    } else {
        form.afterFirstActivation([&form, &line] { form.takeArchives(line.archives); });
        QObject::connect(&instance, &InstanceServer::archivesHandedOver, &form, [&form](const QStringList& archives) {
            form.afterFirstActivation([&form, archives] { form.takeArchives(archives); });
        });
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    if (AsksOnlyForHelpOrVersion(argc, argv)) {
        QCoreApplication core(argc, argv);
        NameApplication();
        ParseCommandLine(core);  // prints the answer and exits
        return 0;
    }
    FontConfigurationLoad fonts;
    PreferWaylandWithFallback();
    QApplication app(argc, argv);
    NameApplication();
    QGuiApplication::setDesktopFileName(QStringLiteral(CADRIX_DESKTOP_ID));
    // The application title is not made the display name: Qt would append it
    // to every window's caption ("Cadrix 2 - ВФМ ... — Cadrix v2.0"). It
    // stands where the user needs it, as the standard error box's caption.
    LoadPictures();
    InstallQtTranslation();
    QApplication::setWindowIcon(ProgramIcon());
    const CommandLine line = ParseCommandLine(app);

    // One window per user and history: a second start hands its archives to
    // the first and ends. Pictures for the screenshots are always a window's own.
    InstanceServer instance;
    if (!line.screenshots) {
        const QString socket = InstanceServer::SocketPath(line.historyFile);
        if (InstanceServer::HandOver(socket, line.archives))
            return 0;
        instance.listen(socket);  // when it cannot, this window runs alone
    }

    DesktopUiHost host;
    std::unique_ptr<AppWindows> windows;
    try {
        windows = std::make_unique<AppWindows>(host, ResolveWorkFolders(line.workDir), line.historyFile);
    } catch (const std::exception& error) {
        fonts.wait();
        LoadFonts();
        ShowStandardError(host, nullptr, QString::fromUtf8(error.what()));
        return 1;
    }
    FormMain& form = *windows->formMain;
    CentreOnScreen(form);
    form.show();
    // The window is on its way to the screen: nothing before needed a font,
    // and its first painting comes after this, from the event loop. Meanwhile
    // the window manager frames it.
    fonts.wait();
    LoadFonts();
    form.activateWindow();
    QTimer::singleShot(kActivationWaitMs, &form, [&form] { form.firstActivation(); });

    StartWork(*windows, line, instance);
    return QApplication::exec();
}
