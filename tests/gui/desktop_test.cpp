// The window on a real X server, with a window manager or without one: what
// the offscreen platform cannot show (frames of a window manager's size,
// minimising, stacking, reading the screen).
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>

#include <QApplication>
#include <QComboBox>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include "about_box.h"
#include "app_windows.h"
#include "ex_info_form.h"
#include "form_main.h"
#include "scripted_host.h"
#include "set_box.h"
#include "support.h"
#include "windows_fixture.h"
#include "window_placement.h"

using namespace cadrix;
using namespace cadrix::app;
namespace fs = std::filesystem;

namespace {

const QString kSamples = QStringLiteral(CADRIX_SOURCE_DIR "/samples");

bool UnderWindowManager() { return qgetenv("CADRIX_DESKTOP_WM") == "openbox"; }

// The share of a window's pixels that the screen shows as the window paints
// them, sampled: near 1 when it is on top, near 0 when covered or hidden.
double ShareOnScreen(QWidget& window) {
    const QRect client = window.geometry();
    const QImage shown = QGuiApplication::primaryScreen()
                             ->grabWindow(0, client.x(), client.y(), client.width(), client.height())
                             .toImage()
                             .convertToFormat(QImage::Format_RGB32);
    const QImage own = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    int same = 0;
    int all = 0;
    for (int y = 0; y < own.height() && y < shown.height(); y += 3) {
        for (int x = 0; x < own.width() && x < shown.width(); x += 3) {
            ++all;
            same += shown.pixel(x, y) == own.pixel(x, y) ? 1 : 0;
        }
    }
    return all > 0 ? static_cast<double>(same) / all : 0;
}

// The mean difference of two pictures of the same size, per channel.
double MeanDifference(const QImage& a, const QImage& b) {
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QColor p = a.pixelColor(x, y);
            const QColor q = b.pixelColor(x, y);
            sum += std::abs(p.red() - q.red()) + std::abs(p.green() - q.green()) + std::abs(p.blue() - q.blue());
        }
    }
    return sum / (3.0 * a.width() * a.height());
}

enum class WindowManagerRequest { Minimise, BringBack };

// Asks the window manager to minimise a window or to bring it back, as a
// task bar does when the user clicks it.
void AskWindowManager(QWidget& window, WindowManagerRequest request) {
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11->connection();
    const char* name = request == WindowManagerRequest::Minimise ? "WM_CHANGE_STATE" : "_NET_ACTIVE_WINDOW";
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(strlen(name)), name), nullptr);
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = static_cast<xcb_window_t>(window.winId());
    event.type = atom->atom;
    free(atom);
    constexpr uint32_t kIconicState = 3;
    constexpr uint32_t kFromATaskBar = 2;
    event.data.data32[0] = request == WindowManagerRequest::Minimise ? kIconicState : kFromATaskBar;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    xcb_send_event(connection, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
    xcb_flush(connection);
}

}  // namespace

class DesktopTest : public WindowsFixture {
    Q_OBJECT

private:

    ExInfoForm& panel() { return m_windows->exInfoForm(); }

    // As the program starts: centred, shown, activated.
    void showMainWindow() {
        CentreOnScreen(form());
        form().show();
        QVERIFY(QTest::qWaitForWindowExposed(&form()));
        QTRY_VERIFY(form().firstActivationDone());
    }

    void loadAndOpenThePanel() {
        m_host->openAnswers = {kSamples + QStringLiteral("/start.zip"), kSamples + QStringLiteral("/end.zip")};
        form().butTS1Click();
        form().butTS2Click();
        auto* chooser = form().findChild<QComboBox*>(QStringLiteral("ComboBox3"));
        chooser->setCurrentIndex(0);
        emit chooser->activated(0);
        form().findChild<QToolButton*>(QStringLiteral("SpeedButton2"))->click();
        QVERIFY(QTest::qWaitForWindowExposed(&panel()));
        QTRY_VERIFY(ShareOnScreen(panel()) > 0.95);
    }

    // Runs `look` while `dialog` is open and shown, then closes it.
    void whileOpen(QDialog& dialog, const std::function<void()>& look) {
        QTimer::singleShot(0, &dialog, [&] {
            if (QTest::qWaitForWindowExposed(&dialog)) {
                QTest::qWait(200);
                look();
            }
            dialog.accept();
        });
        dialog.exec();
    }

private slots:
    void init() {
        openRoom(false);
        createWindows();
        m_windows->formMain->firstActivation();
    }

    void cleanup() { closeRoom(); }

    // The client areas stand in the middle of the screen, whatever frame a
    // window manager puts around them, and a dialog opens at the same place
    // every time.
    void windowsOpenCentredAtTheSamePlaceEveryTime() {
        const QPoint centre = QGuiApplication::primaryScreen()->availableGeometry().center();
        auto centred = [&](const QRect& client) { return (client.center() - centre).manhattanLength() <= 1; };
        showMainWindow();
        QTest::qWait(300);
        QStringList wrong;
        if (!centred(form().geometry()))
            wrong << QStringLiteral("main window at %1,%2").arg(form().geometry().x()).arg(form().geometry().y());
        for (QDialog* dialog : std::initializer_list<QDialog*>{&m_windows->setBox(), &m_windows->aboutBox()}) {
            QList<QRect> places;
            for (int time = 0; time < 3; ++time)
                whileOpen(*dialog, [&] { places << dialog->geometry(); });
            for (const QRect& place : places) {
                if (!centred(place))
                    wrong << QStringLiteral("%1 at %2,%3").arg(dialog->objectName()).arg(place.x()).arg(place.y());
            }
        }
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(QStringLiteral("; "))));
    }

    void panelGoesAndComesBackWithTheMinimisedWindow() {
        if (!UnderWindowManager())
            QSKIP("only a window manager minimises");
        showMainWindow();
        loadAndOpenThePanel();
        for (int time = 0; time < 2; ++time) {
            AskWindowManager(form(), WindowManagerRequest::Minimise);
            QTRY_VERIFY(form().isMinimized());
            QTRY_VERIFY(!panel().isVisible());
            AskWindowManager(form(), WindowManagerRequest::BringBack);
            QTRY_VERIFY(!form().isMinimized());
            QTRY_VERIFY(ShareOnScreen(form()) > 0.95);
            QTRY_VERIFY(ShareOnScreen(panel()) > 0.95);
        }
    }

    // A dialog opened over the panel covers it.
    void panelStaysBelowTheProgramsDialogs() {
        showMainWindow();
        loadAndOpenThePanel();
        SetBox& dialog = m_windows->setBox();
        double shown = 0;
        whileOpen(dialog, [&] {
            dialog.move(panel().geometry().topLeft() + QPoint(20, 20));
            QTest::qWait(300);
            shown = ShareOnScreen(dialog);
        });
        QVERIFY2(shown > 0.95, qPrintable(QString::number(shown)));
    }

    // The saved picture is the skills grid as the screen shows it, its
    // border included, whatever the window's frame.
    void screenshotIsTheSkillsGridFromTheScreen() {
        showMainWindow();
        loadAndOpenThePanel();
        panel().hide();
        auto* pages = form().pages();
        pages->setCurrentIndex(1);
        QTableView* skills = form().grid(GridId::StringGrid3);
        QTest::qWait(300);
        m_host->readsScreen = true;
        const QString target = m_dir->path() + QStringLiteral("/shot.jpg");
        m_host->saveAnswers = {target};
        form().SpeedButton1Click();
        const QImage picture(target);
        QCOMPARE(picture.size(), QSize(521, 401));
        const QImage grid = skills->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QVERIFY2(MeanDifference(picture, grid) < 3, qPrintable(QString::number(MeanDifference(picture, grid))));
        // Its top rows: the border, then the header row.
        QVERIFY(MeanDifference(picture.copy(0, 0, 521, 17), grid.copy(0, 0, 521, 17)) < 3);
    }
};

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QTemporaryDir settings;
    KeepSettingsIn(settings.path());
    cadrix::app::LoadResources();
    DesktopTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "desktop_test.moc"
