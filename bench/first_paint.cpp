// Shows one window of the main window's size and quits as soon as it has been
// painted, so that the wall time of a run is a program's start to its first
// paint; with --stay it stays open, to be watched and ended from outside.
// Built twice: bare, and linked with Qt Charts, as the program would be if it
// drew its charts itself instead of loading them from a module.

#include <QApplication>
#include <QPainter>
#include <QTimer>
#include <QWidget>

#ifdef CADRIX_LINK_CHARTS
#include <QChart>
#endif

namespace {

class Window : public QWidget {
public:
    explicit Window(bool stay) : m_stay(stay) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).fillRect(rect(), Qt::darkGreen);
        if (!m_stay)
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    }

private:
    bool m_stay;
};

}  // namespace

int main(int argc, char* argv[]) {
#ifdef CADRIX_LINK_CHARTS
    // Keeps the library among the program's needs, so that it is loaded at
    // start as a linked library is.
    volatile const void* keep = &QChart::staticMetaObject;
    (void)keep;
#endif
    QApplication app(argc, argv);
    Window window(QCoreApplication::arguments().contains(QStringLiteral("--stay")));
    window.resize(549, 553);
    window.show();
    return QApplication::exec();
}
