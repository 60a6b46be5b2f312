// How the window meets the rest of the desktop: a second start handing its
// archives over, and what a screen reader is told of the grids.
#include <filesystem>
#include <memory>
#include <atomic>
#include <cstring>
#include <thread>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QAccessible>
#include <QAccessibleInterface>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QSet>
#include <QLabel>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include "app_windows.h"
#include "archive_import.h"
#include "form_main.h"
#include "grid_model.h"
#include "scripted_host.h"
#include "single_instance.h"
#include "support.h"
#include "windows_fixture.h"
#include "views/grids.h"
#include "views/page_text.h"

using namespace cadrix;
using namespace cadrix::app;
namespace fs = std::filesystem;

namespace {

const QString kSamples = QStringLiteral(CADRIX_SOURCE_DIR "/samples");

QString LabelText(QWidget& form, const char* name) {
    return form.findChild<QLabel*>(QString::fromLatin1(name))->text();
}

}  // namespace

class DesktopCitizenTest : public WindowsFixture {
    Q_OBJECT

private:

    QString socketPath() const { return m_dir->filePath(QStringLiteral("cadrix.socket")); }

    // Hands `archives` over from another thread, as a second process would,
    // while this thread's window answers.
    bool handOver(const QStringList& archives) {
        std::atomic<int> taken{-1};
        std::thread second([&] { taken = InstanceServer::HandOver(socketPath(), archives) ? 1 : 0; });
        const QDeadlineTimer deadline(10000);
        while (taken < 0 && !deadline.hasExpired())
            QTest::qWait(10);
        second.join();
        return taken == 1;
    }

private slots:
    void init() {
        openRoom(true);
        createWindows();
        form().show();
        QVERIFY(QTest::qWaitForWindowExposed(&form()));
        form().firstActivation();
    }

    void cleanup() { closeRoom(); }

    // Two archives are chosen as the command line chooses them; one is
    // compared with the previous stored export of its club, or chosen as the
    // start when there is none.
    void secondStartHandsItsArchivesToTheRunningWindow() {
        InstanceServer server;
        QVERIFY(server.listen(socketPath()));
        connect(&server, &InstanceServer::archivesHandedOver, &form(), &FormMain::takeArchives);
        QVERIFY(!InstanceServer::HandOver(m_dir->filePath(QStringLiteral("nobody.socket")), {}));

        QVERIFY(handOver({kSamples + QStringLiteral("/start.zip")}));
        QTRY_VERIFY(LabelText(form(), "LabelOF").endsWith(QStringLiteral(", OK")));
        QCOMPARE(LabelText(form(), "LabelNF"), QStringLiteral("не выбран"));

        QVERIFY(handOver({kSamples + QStringLiteral("/end.zip")}));
        QTRY_VERIFY(LabelText(form(), "LabelNF").endsWith(QStringLiteral(", OK")));
        QTRY_VERIFY(form().findChild<QTabWidget*>(QStringLiteral("PageControl2"))->isVisible());
        QCOMPARE(LabelText(form(), "LabelOF").left(10), QStringLiteral("01.09.2026"));
        QCOMPARE(LabelText(form(), "LabelNF").left(10), QStringLiteral("30.11.2026"));
    }

    // The socket is the user's alone; a second server cannot take it while
    // the first listens, but takes over one whose window ended without
    // removing it; a server removes its own socket when it goes.
    void socketIsPrivateAndStaleOnesAreTakenOver() {
        const std::string path = QFile::encodeName(socketPath()).toStdString();
        {
            const int stale = ::socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            std::strcpy(address.sun_path, path.c_str());
            QCOMPARE(::bind(stale, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
            ::close(stale);
        }
        {
            InstanceServer first;
            QVERIFY(first.listen(socketPath()));
            struct stat made{};
            QCOMPARE(::stat(path.c_str(), &made), 0);
            QCOMPARE(made.st_mode & 0777, 0600u);
            InstanceServer second;
            QVERIFY(!second.listen(socketPath()));
        }
        QVERIFY(!QFile::exists(socketPath()));
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).filter(QStringLiteral("cadrix-")),
                 QStringList());
    }

    // Each grid is named by its page's caption; a picture cell reads as what
    // a copy gives, and a coloured cell says which way the change goes.
    void gridsSpeakToScreenReaders() {
        m_host->openAnswers = {kSamples + QStringLiteral("/start.zip"), kSamples + QStringLiteral("/end.zip")};
        form().butTS1Click();
        form().butTS2Click();
        for (const GridInfo& info : kGrids) {
            QTableView* view = form().grid(info.id);
            QAccessibleInterface* grid = QAccessible::queryAccessibleInterface(view);
            QVERIFY(grid);
            QCOMPARE(grid->text(QAccessible::Name), QString::fromUtf8(info.caption.data(), info.caption.size()));
        }
        // A building's level is drawn as a strip of stars, its text hidden.
        QTableView* infrastructure = form().grid(GridId::StringGrid2);
        QAccessibleTableInterface* table = QAccessible::queryAccessibleInterface(infrastructure)->tableInterface();
        QVERIFY(table);
        const QAbstractItemModel* model = infrastructure->model();
        int pictures = 0;
        for (int row = 0; row < model->rowCount(); ++row) {
            for (int col = 0; col < model->columnCount(); ++col) {
                if (model->index(row, col).data(GridModel::ImageRole).toInt() == 0)
                    continue;
                ++pictures;
                const QString name = table->cellAt(row, col)->text(QAccessible::Name);
                QCOMPARE(name, QString::fromStdString(CellText(m_windows->formMain->comparison(), GridId::StringGrid2, col, row)));
                QVERIFY2(!name.isEmpty(), qPrintable(QStringLiteral("cell %1,%2").arg(col).arg(row)));
            }
        }
        QVERIFY(pictures > 0);

        QSet<QString> meanings;
        for (const GridInfo& info : kGrids) {
            const QAbstractItemModel* grid = form().grid(info.id)->model();
            for (int row = 0; row < grid->rowCount(); ++row)
                for (int col = 0; col < grid->columnCount(); ++col)
                    meanings << grid->index(row, col).data(Qt::AccessibleDescriptionRole).toString();
        }
        QVERIFY(meanings.contains(QStringLiteral("к лучшему")));
        QVERIFY(meanings.contains(QStringLiteral("к худшему")));
    }
};

QTEST_MAIN(DesktopCitizenTest)
#include "desktop_citizen_test.moc"
