#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QComboBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineSeries>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>
#include <QSet>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>
#include <QTreeWidget>
#include <QValueAxis>

#include "app_windows.h"
#include "archive_import.h"
#include "chart_kit.h"
#include "chart_module.h"
#include "context_menu.h"
#include "core/codepage.h"
#include "form_main.h"
#include "history/history.h"
#include "history_form.h"
#include "history_windows.h"
#include "new_export_notice.h"
#include "player_chart_form.h"
#include "player_table_tab.h"
#include "progress_tab.h"
#include "scripted_host.h"
#include "set_box.h"
#include "support.h"
#include "windows_fixture.h"

using namespace cadrix;
using namespace cadrix::app;
namespace fs = std::filesystem;

namespace {

const fs::path kSamples = fs::path(CADRIX_SOURCE_DIR) / "samples";

// The item of an open context menu by its object name.
QAction* MenuItem(const QMenu& menu, const char* name) {
    for (QAction* action : menu.actions()) {
        if (action->objectName() == QLatin1String(name))
            return action;
    }
    return nullptr;
}
const std::string kSampleClub = "Волжский Сокол";

QString Q(const fs::path& path) { return QString::fromStdString(path.string()); }

double NoonOf(int year, int month, int day) {
    return static_cast<double>(QDateTime(QDate(year, month, day), QTime(12, 0)).toMSecsSinceEpoch());
}

QLineSeries* SeriesNamed(QWidget* window, const QString& name) {
    auto* view = window->findChild<QChartView*>();
    if (!view)
        return nullptr;
    for (QAbstractSeries* series : view->chart()->series()) {
        if (series->name() == name)
            return qobject_cast<QLineSeries*>(series);
    }
    return nullptr;
}

}  // namespace

class HistoryWindowTest : public WindowsFixture {
    Q_OBJECT

private:

    HistoryWindows& history() { return *m_windows->history; }

    void createWindows() {
        WindowsFixture::createWindows();
        form().show();
        form().firstActivation();
    }

    // A copy of a sample export under another club's name, its files dated
    // noon of the given day, zipped into `folder`.
    fs::path MakeExport(const fs::path& folder, const std::string& name, const std::string& side,
                        const std::string& club, QDate date) {
        const fs::path scratch = root() / "scratch" / name;
        fs::create_directories(scratch);
        fs::create_directories(folder);
        const auto when = std::chrono::system_clock::from_time_t(QDateTime(date, QTime(12, 0)).toSecsSinceEpoch());
        for (const auto& entry : fs::directory_iterator(kSamples / side)) {
            std::ifstream in(entry.path(), std::ios::binary);
            std::string bytes((std::istreambuf_iterator<char>(in)), {});
            if (entry.path().filename().string().find("team") != std::string::npos)
                bytes.replace(bytes.find(Utf8ToCp1251(kSampleClub)), Utf8ToCp1251(kSampleClub).size(),
                              Utf8ToCp1251(club));
            const fs::path copy = scratch / entry.path().filename();
            std::ofstream(copy, std::ios::binary) << bytes;
            fs::last_write_time(copy, fs::file_time_type::clock::from_sys(when));
        }
        const fs::path archive = fs::absolute(folder / (name + ".zip"));
        QProcess zip;
        zip.setWorkingDirectory(Q(scratch));
        zip.start(QStringLiteral("zip"),
                  {QStringLiteral("-q"), QStringLiteral("-X"), Q(archive), QStringLiteral("-r"), QStringLiteral(".")});
        zip.waitForFinished();
        return archive;
    }

    // The sample club at three dates (the third the end export again, a
    // month later) and another club once, all in one folder.
    fs::path MakeFolderOfExports() {
        const fs::path folder = root() / "exports";
        fs::create_directories(folder);
        fs::copy_file(kSamples / "start.zip", folder / "a_start.zip");
        fs::copy_file(kSamples / "end.zip", folder / "b_end.zip");
        MakeExport(folder, "c_later", "end", kSampleClub, QDate(2026, 12, 31));
        MakeExport(folder, "d_other", "start", "Торпедо", QDate(2026, 10, 15));
        return folder;
    }

    HistoryForm& openHistory() {
        history().showHistory();
        HistoryForm* window = history().historyForm();
        Q_ASSERT(window);
        return *window;
    }

    SnapshotId storedId(const std::string& fileName) {
        for (const StoredSnapshot& s : history().history(&form())->Snapshots()) {
            if (s.fileName == fileName)
                return s.id;
        }
        return 0;
    }

    QString labelText(const char* name) { return form().findChild<QLabel*>(QString::fromLatin1(name))->text(); }
    bool pagesShown() { return form().findChild<QTabWidget*>(QStringLiteral("PageControl2"))->isVisible(); }

    QStringList rowTexts(HistoryForm& window, int column) {
        QStringList texts;
        for (int i = 0; i < window.list()->topLevelItemCount(); ++i)
            texts << window.list()->topLevelItem(i)->text(column);
        return texts;
    }

private slots:
    void init() { openRoom(false); }

    void cleanup() { closeRoom(); }

    void addsFolderWithProgressAndListsTheClubNewestFirst() {
        createWindows();
        const fs::path folder = MakeFolderOfExports();
        HistoryForm& window = openHistory();
        QVERIFY(window.isVisible());
        QCOMPARE(window.list()->topLevelItemCount(), 0);
        // In the program's font, and in the one chosen later in the settings.
        QCOMPARE(window.list()->font().family(), QStringLiteral("Tahoma"));
        m_windows->setBox().RadioButton3Click();
        QCOMPARE(window.list()->font().family(), QStringLiteral("Calibri"));

        // Cancelled after two of four archives: two are stored.
        m_host->cancelAfter = 2;
        m_host->folderAnswers = {Q(folder)};
        window.addFolderClick();
        QCOMPARE(m_host->progressSteps, (std::vector<int>{0, 1, 2}));
        QCOMPARE(window.findChild<QLabel*>(QStringLiteral("StatusLabel"))->text(),
                 QStringLiteral("Добавлено: 2, уже были: 0, остановлено на 2 из 4"));
        // Then all four: two of them were stored already.
        m_host->cancelAfter.reset();
        m_host->progressSteps.clear();
        window.addPaths({Q(folder)});
        QCOMPARE(m_host->progressSteps, (std::vector<int>{0, 1, 2, 3, 4}));
        QCOMPARE(window.findChild<QLabel*>(QStringLiteral("StatusLabel"))->text(),
                 QStringLiteral("Добавлено: 2, уже были: 2"));
        QVERIFY(m_host->messages.empty());

        // Nothing is loaded: the newest snapshot's club is shown.
        auto* clubs = window.findChild<QComboBox*>(QStringLiteral("ClubChooser"));
        QCOMPARE(clubs->count(), 2);
        QCOMPARE(clubs->currentText(), QString::fromStdString(kSampleClub));
        QCOMPARE(rowTexts(window, 0), (QStringList{"31.12.2026", "30.11.2026", "01.09.2026"}));
        QCOMPARE(rowTexts(window, 2), (QStringList{"c_later.zip", "b_end.zip", "a_start.zip"}));
        QCOMPARE(rowTexts(window, 3), (QStringList{"30", "30", "30"}));
        clubs->setCurrentIndex(clubs->findText(QStringLiteral("Торпедо")));
        emit clubs->activated(clubs->currentIndex());
        QCOMPARE(rowTexts(window, 0), QStringList{"15.10.2026"});
        QCOMPARE(rowTexts(window, 1), QStringList{"Торпедо"});

        // A file that is no archive is refused by name; the others go on.
        const fs::path junk = root() / "junk.zip";
        std::ofstream(junk) << "no archive";
        m_host->openManyAnswers = {{Q(junk), Q(folder / "a_start.zip")}};
        window.addArchivesClick();
        QCOMPARE(m_host->messages.size(), std::size_t{1});
        QVERIFY2(m_host->messages[0].text.contains(Q(junk)), qPrintable(m_host->messages[0].text));
        QCOMPARE(window.findChild<QLabel*>(QStringLiteral("StatusLabel"))->text(),
                 QStringLiteral("Добавлено: 0, уже были: 1"));
    }

    // An archive whose team entry the user passed over is compared as chosen,
    // but never stored; the whole one beside it is.
    void archiveWithAnEntryPassedOverIsComparedButNotStored() {
        createWindows();
        std::ifstream in(kSamples / "start.zip", std::ios::binary);
        std::string zip((std::istreambuf_iterator<char>(in)), {});
        const std::size_t central = zip.rfind("orvanto_club_team.csv") - 46;
        QCOMPARE(zip.substr(central, 4), std::string("PK\x01\x02", 4));
        zip[central + 16] = static_cast<char>(zip[central + 16] ^ 0xFF);  // the entry's check sum
        const fs::path damaged = root() / "damaged.zip";
        std::ofstream(damaged, std::ios::binary) << zip;
        m_host->messageAnswers = {QMessageBox::Ignore};
        form().chooseArchive(SnapshotSide::Start, Q(damaged));
        form().chooseArchive(SnapshotSide::End, Q(kSamples / "end.zip"));
        QCOMPARE(form().findChild<QLabel*>(QStringLiteral("LabelOF"))->text(), QStringLiteral("01.09.2026, OK"));
        QCOMPARE(History::OpenExisting(historyFile())->Snapshots().size(), std::size_t{1});
        QVERIFY(m_host->messages.size() >= 2);
        const QString told = m_host->messages[1].text;
        QVERIFY2(told.contains(QStringLiteral("не сохранена")) && told.contains(Q(damaged) + ": orvanto_club_team.csv"),
                 qPrintable(told));
    }

    void comparesTwoStoredSnapshotsAsTheirArchivesAndRemovesAfterAQuestion() {
        createWindows();
        auto* button = form().pages()->findChild<QPushButton*>(QStringLiteral("ButtonHistory"));
        QCOMPARE(button->geometry(), QRect(440, 364, 83, 25));
        QCOMPARE(button->toolTip(), QStringLiteral("Сохранённые выгрузки"));
        QTest::mouseClick(button, Qt::LeftButton);
        HistoryForm& window = *history().historyForm();

        // Archives dropped onto the window are added.
        QMimeData dropped;
        dropped.setUrls({QUrl::fromLocalFile(Q(kSamples / "end.zip")), QUrl::fromLocalFile(Q(kSamples / "start.zip"))});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &dropped, Qt::LeftButton, {});
        QApplication::sendEvent(&window, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &dropped, Qt::LeftButton, {});
        QApplication::sendEvent(&window, &drop);
        QTreeWidget* list = window.list();
        QTRY_COMPARE(list->topLevelItemCount(), 2);
        QCOMPARE(list->topLevelItemCount(), 2);
        auto* compare = window.findChild<QPushButton*>(QStringLiteral("CompareButton"));
        QVERIFY(!compare->isEnabled());

        // Two selected: "Сравнить" loads the older as the start.
        list->topLevelItem(0)->setSelected(true);
        list->topLevelItem(1)->setSelected(true);
        QVERIFY(compare->isEnabled());
        QTest::mouseClick(compare, Qt::LeftButton);
        QCOMPARE(form().findChild<QLabel*>(QStringLiteral("labelTS1"))->text(), QStringLiteral("start.zip"));
        m_host->openAnswers = {Q(kSamples / "end.zip")};
        form().butTS1Click();
        QCOMPARE(form().findChild<QLabel*>(QStringLiteral("labelTS1"))->text(), Q(kSamples / "end.zip"));

        // A click on the newer one, then a double click on the older one:
        // the older is the start all the same.
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const auto rowCentre = [list](int row) { return list->visualItemRect(list->topLevelItem(row)).center(); };
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowCentre(0));
        // (The double click itself is signalled: a widget-level simulated
        // double click lacks the second press that a real one delivers.)
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowCentre(1));
        emit list->itemDoubleClicked(list->topLevelItem(1), 0);
        QVERIFY(form().pages()->isVisible());
        QCOMPARE(form().findChild<QLabel*>(QStringLiteral("labelTS1"))->text(), QStringLiteral("start.zip"));
        QCOMPARE(form().findChild<QLabel*>(QStringLiteral("labelTS2"))->text(), QStringLiteral("end.zip"));

        // What the report gives for the archives themselves.
        QProcess report;
        report.start(QStringLiteral(CADRIX_REPORT_EXE),
                     {QStringLiteral("--format"), QStringLiteral("json"), QStringLiteral("--work-dir"),
                      Q(root() / "report"), Q(kSamples / "start.zip"), Q(kSamples / "end.zip")});
        QVERIFY(report.waitForFinished(60000));
        QCOMPARE(report.exitCode(), 0);
        const QJsonObject json = QJsonDocument::fromJson(report.readAllStandardOutput()).object();
        const QJsonObject labels = json.value(QStringLiteral("labels")).toObject();
        QVERIFY(labels.size() > 20);
        for (const QString& name : labels.keys()) {
            if (name != QStringLiteral("labelTS1") && name != QStringLiteral("labelTS2"))
                QCOMPARE(form().findChild<QLabel*>(name)->text(), labels.value(name).toString());
        }
        const QJsonObject grids = json.value(QStringLiteral("grids")).toObject();
        for (const GridId id : {GridId::StringGrid1, GridId::StringGrid_ru, GridId::StringGrid_pr}) {
            const QString name = QString::fromUtf8(InfoOf(id).name.data());
            const QJsonArray rows = grids.value(name).toArray();
            const QAbstractItemModel* model = form().grid(id)->model();
            QCOMPARE(model->rowCount(), rows.size());
            for (int row = 0; row < rows.size(); row += 3)
                QCOMPARE(model->index(row, 1).data().toString(),
                         rows[row].toArray()[1].toObject().value(QStringLiteral("text")).toString());
        }

        // Removing asks first; "No" keeps the snapshot.
        list->clearSelection();
        list->topLevelItem(0)->setSelected(true);
        m_host->messageAnswers = {QMessageBox::No, QMessageBox::Yes};
        window.removeClick();
        QCOMPARE(list->topLevelItemCount(), 2);
        QCOMPARE(m_host->messages.back().icon, QMessageBox::Question);
        window.removeClick();
        QCOMPARE(list->topLevelItemCount(), 1);
        QCOMPARE(list->topLevelItem(0)->text(2), QStringLiteral("start.zip"));
    }

    void playerChartShowsHisLinesWithTheirPointsAndSavesAPicture() {
        createWindows();
        // Both chosen archives go into the history on the way.
        m_host->openAnswers = {Q(kSamples / "start.zip"), Q(kSamples / "end.zip")};
        form().butTS1Click();
        form().butTS2Click();
        MakeExport(root() / "exports", "later", "end", kSampleClub, QDate(2026, 12, 31));
        openHistory().addPaths({Q(root() / "exports")});
        QCOMPARE(history().historyForm()->list()->topLevelItemCount(), 3);

        // The menu of a real-level row whose player is Соколов Максим.
        QTableView* grid = form().grid(GridId::StringGrid_ru);
        int row = 0;
        while (grid->model()->index(row, 0).data().toString() != QStringLiteral("Соколов Максим"))
            ++row;
        emit grid->customContextMenuRequested(grid->visualRect(grid->model()->index(row, 0)).center());
        auto* menu = grid->viewport()->findChild<QMenu*>(kContextMenuName);
        QVERIFY(menu);
        QAction* open = MenuItem(*menu, "PlayerDevelopmentAction");
        QVERIFY(open);
        QCOMPARE(open->text(), QStringLiteral("Развитие игрока…"));
        QVERIFY(open->isEnabled());
        open->trigger();
        menu->close();
        auto* chart = form().findChild<PlayerChartForm*>();
        QVERIFY(chart);
        QVERIFY(QTest::qWaitForWindowExposed(chart));
        QCOMPARE(chart->windowTitle(), QStringLiteral("Развитие игрока: Соколов Максим"));

        // A goalkeeper: real level, value and the goalkeeper's green skills
        // are on, and only they are drawn.
        QListWidget* lines = chart->lineList();
        QCOMPARE(lines->count(), 26);
        QStringList checked;
        for (int i = 0; i < lines->count(); ++i) {
            if (lines->item(i)->checkState() == Qt::Checked)
                checked << lines->item(i)->text();
        }
        QVERIFY(checked.contains(QStringLiteral("Работоспособность")));
        QVERIFY(checked.contains(QString::fromStdString(SkillName(21))));
        QVERIFY(!checked.contains(QString::fromStdString(SkillName(1))));
        for (const QString& name : checked)
            QVERIFY2(SeriesNamed(chart, name) && SeriesNamed(chart, name)->isVisible(), qPrintable(name));

        QLineSeries* level = SeriesNamed(chart, QStringLiteral("Реальный уровень"));
        const QList<QPointF> points = level->points();
        QCOMPARE(points.size(), 3);
        QCOMPARE(points[0], QPointF(NoonOf(2026, 9, 1), 71.2));
        QCOMPARE(points[1], QPointF(NoonOf(2026, 11, 30), 73.8));
        QCOMPARE(points[2].x(), NoonOf(2026, 12, 31));
        QCOMPARE(chart->title(), QStringLiteral("Соколов Максим (GK), Волжский Сокол: 01.09.2026 – 31.12.2026"));
        // The pointer resting on a point shows its tip.
        auto* viewport = chart->findChild<QChartView*>()->viewport();
        const QPoint onPoint = viewport->mapFrom(chart->chart(), *chart->chart()->pointPosition(0, 1));
        QTest::mouseMove(viewport, onPoint + QPoint(2, -2));
        QTRY_COMPARE(QToolTip::text(), QStringLiteral("Реальный уровень\n30.11.2026: 73,8"));
        QCOMPARE(SeriesNamed(chart, QStringLiteral("Стоимость"))->points()[1].y(), 13400000.0);

        // Switching lines on and off in the list.
        lines->item(0)->setCheckState(Qt::Unchecked);
        QVERIFY(!level->isVisible());
        const QString first = QString::fromStdString(SkillName(1));
        lines->findItems(first, Qt::MatchExactly).front()->setCheckState(Qt::Checked);
        QVERIFY(SeriesNamed(chart, first)->isVisible());
        QCOMPARE(SeriesNamed(chart, first)->points().size(), 3);

        // "Ни одного" and "Все".
        chart->findChild<QPushButton*>(QStringLiteral("NoLinesButton"))->click();
        QVERIFY(!SeriesNamed(chart, first)->isVisible());
        chart->findChild<QPushButton*>(QStringLiteral("AllLinesButton"))->click();
        for (int i = 0; i < lines->count(); ++i)
            QVERIFY2(SeriesNamed(chart, lines->item(i)->text())->isVisible(), qPrintable(lines->item(i)->text()));

        // The picture is saved where the dialog says, with the title in its
        // text and a legend of every line's colour below the chart.
        const QString path = Q(root() / "chart.png");
        m_host->saveAnswers = {path};
        chart->saveClick();
        QCOMPARE(m_host->saveDialogFilters.back(), QStringLiteral("PNG Image (*.png)"));
        const QImage picture(path);
        QCOMPARE(picture.width(), chart->chart()->width());
        QVERIFY(picture.height() > chart->chart()->height());
        QCOMPARE(picture.text(QStringLiteral("Title")), chart->title());
        QSet<QRgb> legend;
        for (int y = chart->chart()->height(); y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x)
                legend.insert(picture.pixel(x, y) & RGB_MASK);
        }
        for (int i = 0; i < lines->count(); ++i) {
            const QColor colour = SeriesNamed(chart, lines->item(i)->text())->pen().color();
            QVERIFY2(legend.contains(colour.rgb() & RGB_MASK), qPrintable(lines->item(i)->text()));
        }
        QCOMPARE(m_host->messages.back().text, QStringLiteral("Сохранено в ") + path);

        // The table: his real level rose.
        const QColor favourable(186, 240, 179), unfavourable(255, 176, 176);
        QAbstractItemModel* table = chart->tableTab()->table()->model();
        const auto cell = [&](int r, int c, int role) { return table->index(r, c).data(role); };
        const int levelColumn = static_cast<int>(ColumnIndex(PlayerColumn::RealLevel));
        QCOMPARE(table->rowCount(), 3);
        QCOMPARE(cell(1, levelColumn, Qt::DisplayRole).toString(), QStringLiteral("73,8"));
        QCOMPARE(cell(1, levelColumn, Qt::BackgroundRole).value<QBrush>().color(), favourable);
        chart->tableTab()->table()->selectionModel()->select(table->index(1, levelColumn), QItemSelectionModel::Select);
        chart->tableTab()->copyClick();
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("73,8\n"));
        // The chooser switches to another player of the club, whose salary rose.
        QComboBox* chooser = chart->chooser();
        const int other = chooser->findText(QStringLiteral("Новиков Алексей (CM)"));
        QVERIFY(other >= 0);
        chooser->setCurrentIndex(other);
        emit chooser->activated(other);
        QCOMPARE(chart->windowTitle(), QStringLiteral("Развитие игрока: Новиков Алексей"));
        const int salaryColumn = static_cast<int>(ColumnIndex(PlayerColumn::Salary));
        QCOMPARE(cell(1, salaryColumn, Qt::DisplayRole).toString(), QStringLiteral("119.000"));
        QCOMPARE(cell(1, salaryColumn, Qt::BackgroundRole).value<QBrush>().color(), unfavourable);
    }

    void clubChartShowsOneFigureAtATime() {
        createWindows();
        HistoryForm& window = openHistory();
        window.addPaths({Q(kSamples / "start.zip"), Q(kSamples / "end.zip")});
        auto* tabs = window.findChild<QTabWidget*>();
        tabs->setCurrentWidget(window.findChild<QWidget*>(QStringLiteral("ClubTab")));
        QVERIFY(window.clubChart());
        auto* figures = window.findChild<QListWidget*>(QStringLiteral("FigureList"));
        QCOMPARE(figures->count(), 8);
        QCOMPARE(figures->item(0)->text(), QStringLiteral("Бюджет"));
        auto* view = window.clubChart()->findChild<QChartView*>();
        QCOMPARE(view->chart()->series().size(), 1);
        auto* budget = qobject_cast<QLineSeries*>(view->chart()->series().front());
        QCOMPARE(budget->points(),
                 (QList<QPointF>{QPointF(NoonOf(2026, 9, 1), 125000000), QPointF(NoonOf(2026, 11, 30), 131400000)}));
        // The rating place climbs as it falls: its axis runs downwards.
        figures->setCurrentRow(7);
        QCOMPARE(figures->currentItem()->text(), QStringLiteral("Место в рейтинге"));
        auto* place = qobject_cast<QLineSeries*>(view->chart()->series().front());
        QCOMPARE(place->points().back().y(), 41.0);
        QVERIFY(qobject_cast<QValueAxis*>(place->attachedAxes().back())->isReverse());

        // The improvers from the oldest to the newest date; a double click
        // opens the player's chart.
        ProgressTab* progress = window.progressTab();
        QCOMPARE(progress->fromChooser()->currentText(), QStringLiteral("01.09.2026"));
        QCOMPARE(progress->toChooser()->currentText(), QStringLiteral("30.11.2026"));
        QTreeWidget* byLevel = progress->byRealLevel();
        QCOMPARE(byLevel->topLevelItemCount(), 29);
        QCOMPARE(byLevel->topLevelItem(0)->text(0), QStringLiteral("Романов Тимур"));
        emit byLevel->itemDoubleClicked(byLevel->topLevelItem(0), 0);
        auto* chart = form().findChild<PlayerChartForm*>();
        QVERIFY(chart);
        QCOMPARE(chart->windowTitle(), QStringLiteral("Развитие игрока: Романов Тимур"));
    }

    void latestPairAndWrongPairsAreAskedAboutThroughTheRowsAndTheHistory() {
        createWindows();
        const fs::path folder = MakeFolderOfExports();
        HistoryForm& window = openHistory();
        window.addPaths({Q(folder)});
        auto* latest = window.findChild<QPushButton*>(QStringLiteral("CompareLatestButton"));
        auto* clubs = window.findChild<QComboBox*>(QStringLiteral("ClubChooser"));
        clubs->setCurrentIndex(clubs->findText(QString::fromStdString(kSampleClub)));
        emit clubs->activated(clubs->currentIndex());
        QVERIFY(latest->isEnabled());
        QTest::mouseClick(latest, Qt::LeftButton);
        QCOMPARE(labelText("labelTS1"), QStringLiteral("b_end.zip"));
        QCOMPARE(labelText("labelTS2"), QStringLiteral("c_later.zip"));
        clubs->setCurrentIndex(clubs->findText(QStringLiteral("Торпедо")));
        emit clubs->activated(clubs->currentIndex());
        QVERIFY(!latest->isEnabled());
        // Another club's export whose players file is not the start's.
        window.addPaths({Q(MakeExport(folder, "e_other", "end", "Торпедо", QDate(2026, 10, 15)))});

        const QString older =
            QStringLiteral("Выгрузка конца периода (01.09.2026) старше выгрузки начала (31.12.2026). Поменять их местами?");
        const QString twoClubs = QStringLiteral("Выгрузки разных клубов: «Волжский Сокол» и «Торпедо». Сравнить всё равно?");
        struct Case {
            const char* start;
            const char* end;
            QMessageBox::StandardButton answer;
            QString text;
            const char* startShown;  // the file the start row shows afterwards; none: its prompt
            const char* endShown;
        };
        const Case cases[] = {
            {"c_later", "a_start", QMessageBox::Yes, older, "a_start", "c_later"},
            {"c_later", "a_start", QMessageBox::No, older, "c_later", "a_start"},
            {"a_start", "e_other", QMessageBox::Yes, twoClubs, "a_start", "e_other"},
            {"a_start", "e_other", QMessageBox::No, twoClubs, "a_start", nullptr},
            {"a_start", "a_start", QMessageBox::Ok,
             QStringLiteral("Выбрана одна и та же выгрузка (01.09.2026): изменений не будет."), "a_start", "a_start"},
        };
        for (const bool fromHistory : {false, true}) {
            for (const Case& c : cases) {
                const QString trace = QStringLiteral("%1 %2 %3 %4").arg(c.start, c.end).arg(c.answer).arg(fromHistory);
                m_host->messages.clear();
                m_host->messageAnswers = {c.answer};
                if (fromHistory) {
                    history().compare(storedId(std::string(c.start) + ".zip"), storedId(std::string(c.end) + ".zip"));
                } else {
                    // The end row unchosen first, so that only the pair is asked about.
                    m_host->openAnswers = {QString()};
                    form().butTS2Click();
                    form().chooseArchive(SnapshotSide::Start, Q(folder / (std::string(c.start) + ".zip")));
                    form().chooseArchive(SnapshotSide::End, Q(folder / (std::string(c.end) + ".zip")));
                }
                QVERIFY2(m_host->messages.size() == 1, qPrintable(trace));
                QCOMPARE(m_host->messages[0].text, c.text);
                QCOMPARE(m_host->messages[0].caption,
                         c.answer == QMessageBox::Ok ? QStringLiteral("Информация") : QStringLiteral("Подтверждение"));
                QVERIFY2(labelText("labelTS1").endsWith(QString::fromLatin1(c.startShown) + ".zip"), qPrintable(trace));
                QVERIFY2(c.endShown ? labelText("labelTS2").endsWith(QString::fromLatin1(c.endShown) + ".zip")
                                    : labelText("labelTS2") == QStringLiteral("Выбрать файл на конец периода"),
                         qPrintable(trace));
                QCOMPARE(pagesShown(), c.endShown != nullptr);
                if (c.endShown) {
                    // The pages show the rows' dates, as the rows were chosen.
                    const std::string& chosenDate = form().choice(SnapshotSide::Start).dateText;
                    QVERIFY(form().comparison().Result().startDate == chosenDate);
                    QCOMPARE(labelText("LabelOF"), QString::fromStdString(chosenDate) + ", OK");
                } else {
                    QCOMPARE(labelText("LabelNF"), QStringLiteral("не выбран"));
                }
            }
        }
    }

    void watchedFolderStoresNewExportsOnceSettledAndNeverWritesThere() {
        createWindows();
        const fs::path watched = root() / "downloads";
        fs::create_directories(watched);
        fs::copy_file(kSamples / "start.zip", watched / "start.zip");
        fs::copy_file(MakeZip(Q(root()), QStringLiteral("photos.zip"), {QStringLiteral("club_players_skills.csv")})
                          .toStdString(),
                      watched / "photos.zip");
        HistoryForm& window = openHistory();
        auto* watch = window.findChild<QPushButton*>(QStringLiteral("WatchFolderButton"));
        m_host->folderAnswers = {Q(watched)};
        QTest::mouseClick(watch, Qt::LeftButton);
        QVERIFY(watch->isChecked());
        QCOMPARE(QSettings(QStringLiteral("cadrix"), QStringLiteral("cadrix")).value("watch_folder").toString(),
                 Q(watched));
        // The export there already is stored; the other archive is passed over.
        NewExportNotice& notice = history().notice();
        QTRY_VERIFY_WITH_TIMEOUT(notice.isVisible(), 3000);
        QCOMPARE(notice.text(), QStringLiteral("Новая выгрузка: Волжский Сокол, 01.09.2026"));
        QVERIFY(!notice.compareButton()->isEnabled());
        QCOMPARE(window.list()->topLevelItemCount(), 1);
        notice.closeButton()->click();

        // A download that grows is not read until it has stayed whole for a second.
        std::ifstream in(kSamples / "end.zip", std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), {});
        const fs::path growing = watched / "end.zip";
        QWidget* focused = QApplication::focusWidget();
        for (std::size_t written = 0; written < bytes.size();) {
            const std::size_t chunk = std::min<std::size_t>(bytes.size() - written, bytes.size() / 8 + 1);
            std::ofstream(growing, std::ios::binary | std::ios::app).write(bytes.data() + written,
                                                                          static_cast<std::streamsize>(chunk));
            written += chunk;
            QTest::qWait(300);
            QCOMPARE(window.list()->topLevelItemCount(), 1);
        }
        QTRY_COMPARE_WITH_TIMEOUT(window.list()->topLevelItemCount(), 2, 3000);
        QTRY_COMPARE(notice.text(), QStringLiteral("Новая выгрузка: Волжский Сокол, 30.11.2026"));
        QVERIFY(notice.isVisible());
        QCOMPARE(QApplication::focusWidget(), focused);
        QCOMPARE(history().history(&form())->Snapshots().size(), std::size_t{2});
        // Only what the test put there.
        QStringList names;
        for (const auto& entry : fs::directory_iterator(watched))
            names << Q(entry.path().filename());
        names.sort();
        QCOMPARE(names, (QStringList{"end.zip", "photos.zip", "start.zip"}));

        notice.compareButton()->click();
        QCOMPARE(labelText("labelTS1"), QStringLiteral("start.zip"));
        QCOMPARE(labelText("labelTS2"), QStringLiteral("end.zip"));
        QVERIFY(pagesShown());
        QTest::mouseClick(watch, Qt::LeftButton);
        QVERIFY(!watch->isChecked());
        QVERIFY(QSettings(QStringLiteral("cadrix"), QStringLiteral("cadrix")).value("watch_folder").toString().isEmpty());
    }

    void windowFollowsChangesOfAnotherConnectionAndStaysOnTheScreen() {
        createWindows();
        HistoryForm& window = openHistory();
        window.addPaths({Q(kSamples / "start.zip")});
        {
            History other = History::Open(historyFile());
            UnattendedQuestions questions;
            QVERIFY(other.Add(kSamples / "end.zip", questions).status == AddStatus::Added);
        }
        QTRY_COMPARE_WITH_TIMEOUT(window.list()->topLevelItemCount(), 2, 1000);

        const QRect area = window.screen()->availableGeometry();
        window.move(area.right() - 50, area.bottom() - 50);
        history().showHistory();
        QVERIFY(area.contains(window.frameGeometry()));
    }

    void damagedDatabaseTurnsTheHistoryOffWithOneMessage() {
        std::ofstream(historyFile(), std::ios::binary) << std::string(8192, 'x');
        createWindows();
        m_host->openAnswers = {Q(kSamples / "start.zip"), Q(kSamples / "end.zip")};
        form().butTS1Click();
        form().butTS2Click();
        QVERIFY(form().pages()->isVisible());
        QCOMPARE(form().findChild<QLabel*>(QStringLiteral("LabelNF"))->text(), QStringLiteral("30.11.2026, OK"));
        QCOMPARE(m_host->messages.size(), std::size_t{1});
        QCOMPARE(m_host->messages[0].caption, QStringLiteral("История выгрузок"));
        QVERIFY2(m_host->messages[0].text.contains(Q(historyFile())), qPrintable(m_host->messages[0].text));
        QVERIFY(!form().findChild<QPushButton*>(QStringLiteral("ButtonHistory"))->isEnabled());
        history().showHistory();
        QCOMPARE(m_host->messages.size(), std::size_t{1});
        QVERIFY(!history().historyForm());
        QTableView* grid = form().grid(GridId::StringGrid_ru);
        emit grid->customContextMenuRequested(grid->visualRect(grid->model()->index(0, 0)).center());
        QVERIFY(
            !MenuItem(*grid->viewport()->findChild<QMenu*>(kContextMenuName), "PlayerDevelopmentAction")->isEnabled());
        // The file is left as it was.
        QCOMPARE(fs::file_size(historyFile()), std::uintmax_t{8192});
    }
};

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QTemporaryDir settings;
    KeepSettingsIn(settings.path());
    cadrix::app::LoadResources();
    SetChartModuleFolder(QStringLiteral(CADRIX_CHART_MODULE_DIR));
    HistoryWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "history_window_test.moc"
