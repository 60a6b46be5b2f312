#include <filesystem>
#include <optional>

#include <QApplication>
#include <QCommandLineParser>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

#include "app_windows.h"
#include "error_box.h"
#include "form_main.h"
#include "screenshots.h"
#include "uihost.h"

using namespace cadrix::app;

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("cadrix"));
    // The application title is not made the display name: Qt would append it
    // to every window's caption ("Cadrix 2 - ВФМ ... — Cadrix v2.0"). It
    // stands where the user needs it, as the standard error box's caption.
    LoadResources();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/cadrix.png")));

    QCommandLineParser parser;
    parser.setApplicationDescription(kApplicationTitle);
    parser.addHelpOption();
    const QCommandLineOption workDir(QStringLiteral("work-dir"),
                                     QStringLiteral("Keep the working folders Tmp/old and Tmp/new under DIR."),
                                     QStringLiteral("DIR"));
    const QCommandLineOption screenshots(QStringLiteral("screenshots"),
                                         QStringLiteral("Save pictures of the window into DIR, then quit."),
                                         QStringLiteral("DIR"));
    parser.addOption(workDir);
    parser.addOption(screenshots);
    parser.addPositionalArgument(QStringLiteral("START.zip"), QStringLiteral("The export at the period's start."));
    parser.addPositionalArgument(QStringLiteral("END.zip"), QStringLiteral("The export at the period's end."));
    parser.process(app);
    const QStringList archives = parser.positionalArguments();
    if (!archives.isEmpty() && archives.size() != 2)
        parser.showHelp(2);

    DesktopUiHost host;
    std::optional<std::filesystem::path> base;
    if (parser.isSet(workDir))
        base = std::filesystem::path(parser.value(workDir).toStdString());

    std::unique_ptr<AppWindows> windows;
    try {
        windows = std::make_unique<AppWindows>(host, ResolveWorkFolders(base));
    } catch (const std::exception& error) {
        ShowStandardError(host, nullptr, QString::fromUtf8(error.what()));
        return 1;
    }
    FormMain& form = *windows->formMain;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect centred(QPoint(0, 0), form.size());
        centred.moveCenter(screen->availableGeometry().center());
        form.move(centred.topLeft());
    }
    form.show();
    form.activateWindow();
    // Some window managers do not activate a window that was not clicked;
    // start-up must finish all the same.
    constexpr int kActivationWaitMs = 3000;
    QTimer::singleShot(kActivationWaitMs, &form, [&form] { form.firstActivation(); });

    if (parser.isSet(screenshots)) {
        const QString folder = parser.value(screenshots);
        form.afterFirstActivation([&windows, folder, archives] {
            SaveScreenshots(*windows, folder, archives);
            QApplication::quit();
        });
    } else if (archives.size() == 2) {
        form.afterFirstActivation([&form, archives] {
            form.chooseArchive(cadrix::SnapshotSide::Start, archives[0]);
            form.chooseArchive(cadrix::SnapshotSide::End, archives[1]);
        });
    }
    return QApplication::exec();
}
