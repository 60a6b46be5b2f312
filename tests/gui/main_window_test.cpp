#include <filesystem>
#include <fstream>
#include <memory>

#include <functional>

#include <QAction>
#include <QApplication>
#include <QBrush>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDialogButtonBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QStyleOptionViewItem>
#include <QSet>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTest>
#include <QTimer>

#include "about_box.h"
#include "context_menu.h"
#include "app_windows.h"
#include "archive_import.h"
#include "core/wildcard.h"
#include "error_box.h"
#include "ex_info_form.h"
#include "form_main.h"
#include "load_form.h"
#include "scripted_host.h"
#include "set_box.h"
#include "summary_window.h"
#include "support.h"
#include "windows_fixture.h"
#include "views/palette.h"
#include "views/summary.h"

using namespace cadrix;
using namespace cadrix::app;
namespace fs = std::filesystem;

namespace {

const QString kSamples = QStringLiteral(CADRIX_SOURCE_DIR "/samples");

// A label of the window; the pages are made first when they are not yet.
QLabel* Label(FormMain& form, const char* name) {
    form.pages();
    return form.findChild<QLabel*>(QString::fromLatin1(name));
}

QColor PixelOf(QTableView* view, int col, int row, QPoint offset) {
    const QImage image = view->viewport()->grab().toImage();
    const QRect rect = view->visualRect(view->model()->index(row, col));
    return image.pixelColor(rect.topLeft() + offset);
}

// The cells' sizes along one line of pixels across a grid: the distances
// between the grid lines, found by their colour, less the line itself.
QList<int> CellSizes(QTableView* view, Qt::Orientation across, int at) {
    const QImage image = view->viewport()->grab().toImage();
    // The line colour as the grid's own palette makes it.
    QStyleOptionViewItem option;
    option.initFrom(view);
    const QColor line =
        QColor::fromRgba(static_cast<QRgb>(view->style()->styleHint(QStyle::SH_Table_GridLineColor, &option, view)));
    const int length = across == Qt::Horizontal ? image.width() : image.height();
    QList<int> sizes;
    int start = 0;
    for (int i = 0; i < length; ++i) {
        const QPoint point = across == Qt::Horizontal ? QPoint(i, at) : QPoint(at, i);
        if (image.pixelColor(point) != line)
            continue;
        sizes << i - start;
        start = i + 1;
    }
    return sizes;
}

// Counts the pixels of a cell whose colour leans clearly to one hue.
int CountPixels(QTableView* view, int col, int row, const std::function<bool(const QColor&)>& test) {
    const QImage image = view->viewport()->grab().toImage();
    const QRect rect = view->visualRect(view->model()->index(row, col));
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            count += test(image.pixelColor(x, y)) ? 1 : 0;
    return count;
}

// The first favourable and the first unfavourable row of the values page's
// change column.
constexpr int kValueChange = 4;
std::pair<int, int> FirstChangedValues(const Comparison& comparison) {
    int favourable = -1;
    int unfavourable = -1;
    for (int row = 1; row < comparison.Grid(GridId::StringGrid_pr).RowCount(); ++row) {
        const CellStyle style = comparison.DrawCell(GridId::StringGrid_pr, kValueChange, row);
        if (style.background == Background::Favourable && favourable < 0)
            favourable = row;
        if (style.background == Background::Unfavourable && unfavourable < 0)
            unfavourable = row;
    }
    return {favourable, unfavourable};
}

QString ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

}  // namespace

class MainWindowTest : public WindowsFixture {
    Q_OBJECT

private:


    void showAndActivate() {
        form().show();
        form().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form()));
        QTRY_VERIFY(form().firstActivationDone());
    }

    void loadSamples() {
        m_host->openAnswers = {kSamples + QStringLiteral("/start.zip"), kSamples + QStringLiteral("/end.zip")};
        form().butTS1Click();
        form().butTS2Click();
        QVERIFY(form().pages()->isVisible());
    }

private slots:
    void init() {
        openRoom(true);
        createWindows();
    }

    void cleanup() { closeRoom(); }

    void startsOnTheSplashWithNothingChosen() {
        showAndActivate();
        QVERIFY(form().findChild<QLabel*>(QStringLiteral("Image7"))->isVisible());
        QVERIFY(!form().pages()->isVisible());
        QCOMPARE(Label(form(), "LabelOF")->text(), QStringLiteral("не выбран"));
        QCOMPARE(Label(form(), "LabelNF")->text(), QStringLiteral("не выбран"));
        QVERIFY(PaintsColour(*Label(form(), "LabelOF"), QColor(128, 0, 0)));
        QCOMPARE(Label(form(), "labelTS1")->text(), QStringLiteral("Выбрать файл на начало периода"));
        QCOMPARE(form().windowTitle(), QStringLiteral("Cadrix 2 - ВФМ \"Орванто\""));
        QCOMPARE(form().size(), QSize(549, 553));

        auto* pages = form().pages();
        const QStringList names = {"t1", "t2", "t3", "t5", "t6", "t4", "t7"};
        const QStringList captions = {"Клуб", "Скиллы", "РУ", "Номиналы", "Контракты", "Сборные", "Инф-ра"};
        const QStringList hints = {"",
                                   "Умения игроков",
                                   "Реальный уровень игроков",
                                   "Стоимость игроков",
                                   "Зарплаты игроков",
                                   "Игроки в сборных",
                                   "Инфраструктура клуба"};
        QCOMPARE(pages->count(), 7);
        for (int i = 0; i < 7; ++i) {
            QCOMPARE(pages->widget(i)->objectName(), names[i]);
            QCOMPARE(pages->tabText(i), captions[i]);
            QCOMPARE(pages->tabToolTip(i), hints[i]);
            QVERIFY(!pages->tabIcon(i).isNull());
        }
    }

    // A column width and a row height are the cell's own pixels between the
    // grid lines, and every grid fills its area down to the last row.
    void gridCellsHaveTheirDesignedSizeBetweenTheLines() {
        showAndActivate();
        // The real-level grid's empty row: the widths set from its width.
        QCOMPARE(CellSizes(form().grid(GridId::StringGrid_ru), Qt::Horizontal, 3),
                 QList<int>({194, 30, 30, 50, 45, 50, 45, 50}));
        // Not wider than 530 pixels: the designed row heights stay.
        QTableView* infrastructure = form().grid(GridId::StringGrid2);
        const int progress = infrastructure->columnViewportPosition(5) + 20;
        // The last row's line lies just outside the grid's 146 inner pixels.
        QCOMPARE(CellSizes(infrastructure, Qt::Vertical, progress), QList<int>(6, 20));
        QCOMPARE(CellSizes(infrastructure, Qt::Horizontal, 10).mid(1), QList<int>({89, 68, 89, 68}));
        QCOMPARE(CellSizes(form().grid(GridId::StringGrid1), Qt::Vertical, 510).mid(1, 3), QList<int>(3, 16));
        QCOMPARE(CellSizes(form().grid(GridId::StringGrid3), Qt::Vertical, 515).mid(1, 3), QList<int>(3, 15));
        // The captions above stand over their columns.
        QTableView* realLevel = form().grid(GridId::StringGrid_ru);
        for (const auto& [name, col] : {std::pair{"LabelRuTalent", 1}, {"Label13", 5}, {"LabelRuDiff", 7}})
            QCOMPARE(Label(form(), name)->mapTo(&form(), QPoint(0, 0)).x(),
                     realLevel->viewport()->mapTo(&form(), QPoint(realLevel->columnViewportPosition(col), 0)).x());
        for (GridId id : {GridId::StringGrid1, GridId::StringGrid2, GridId::StringGrid3}) {
            QTableView* view = form().grid(id);
            const int last = view->model()->rowCount() - 1;
            QVERIFY2(view->rowViewportPosition(last) + view->rowHeight(last) >= view->viewport()->height(),
                     "a band under the last row");
        }
    }

    void firstActivationDeletesOnlyCsvFilesAndLaterOnesNothing() {
        WriteFile(m_folders.start / "old_players.csv", "x");
        WriteFile(m_folders.start / "OLD_TEAM.CSV", "x");
        WriteFile(m_folders.start / "notes.txt", "x");
        WriteFile(m_folders.end / "new_players.csv", "x");
        WriteFile(m_folders.end / "sub" / "deep.csv", "x");
        showAndActivate();
        QVERIFY(!fs::exists(m_folders.start / "old_players.csv"));
        QVERIFY(!fs::exists(m_folders.start / "OLD_TEAM.CSV"));
        QVERIFY(!fs::exists(m_folders.end / "new_players.csv"));
        QVERIFY(fs::exists(m_folders.start / "notes.txt"));
        QVERIFY(fs::exists(m_folders.end / "sub" / "deep.csv"));
        QCOMPARE(form().grid(GridId::StringGrid1)->font().family(), QStringLiteral("Tahoma"));

        // A chosen snapshot and a chosen font survive a return to the window
        // from another window of the program.
        m_host->openAnswers = {kSamples + QStringLiteral("/start.zip")};
        form().butTS1Click();
        QVERIFY(!ListMatching(m_folders.start, "*.csv").empty());
        m_windows->setBox().RadioButton3Click();
        m_windows->loadForm->showTables(form().comparison());
        m_windows->loadForm->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_windows->loadForm.get()));
        form().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form()));
        QCOMPARE(ListMatching(m_folders.start, "*.csv").size(), std::size_t{4});
        QCOMPARE(form().grid(GridId::StringGrid1)->font().family(), QStringLiteral("Calibri"));
        QCOMPARE(form().grid(GridId::StringGrid3)->font().pointSize(), 8);
    }

    void bothSampleArchivesFillThePagesLikeTheReport() {
        showAndActivate();
        loadSamples();
        QCOMPARE(m_host->openDialogFilters.front(), QStringLiteral("Orvanto Statistics (*.zip)"));
        QVERIFY(m_host->openDialogFolders.front().endsWith(u'/'));
        auto* pages = form().pages();
        QCOMPARE(pages->currentWidget()->objectName(), QStringLiteral("t1"));
        QVERIFY(!form().findChild<QLabel*>(QStringLiteral("Image7"))->isVisible());
        QCOMPARE(Label(form(), "LabelOF")->text(), QStringLiteral("01.09.2026, OK"));
        QCOMPARE(Label(form(), "LabelNF")->text(), QStringLiteral("30.11.2026, OK"));
        QVERIFY(PaintsColour(*Label(form(), "LabelOF"), QColor(0, 128, 0)));
        QVERIFY(PaintsColour(*Label(form(), "LabelNF"), QColor(0, 128, 0)));
        QCOMPARE(Label(form(), "labelTS1")->text().toStdString(),
                 cadrix::FileLabelText((kSamples + QStringLiteral("/start.zip")).toStdString()));

        // The report chooses the same archives into folders of its own.
        QProcess report;
        report.start(QStringLiteral(CADRIX_REPORT_EXE),
                     {QStringLiteral("--format"), QStringLiteral("json"), QStringLiteral("--work-dir"),
                      m_dir->path() + QStringLiteral("/report"), QStringLiteral("--choose"), QStringLiteral("0"),
                      kSamples + QStringLiteral("/start.zip"), kSamples + QStringLiteral("/end.zip")});
        QVERIFY(report.waitForFinished(60000));
        QCOMPARE(report.exitCode(), 0);
        const QJsonObject json = QJsonDocument::fromJson(report.readAllStandardOutput()).object();
        QVERIFY(!json.isEmpty());

        auto* chooser = form().findChild<QComboBox*>(QStringLiteral("ComboBox3"));
        chooser->setCurrentIndex(0);
        emit chooser->activated(0);

        const QJsonObject grids = json.value(QStringLiteral("grids")).toObject();
        for (const GridInfo& info : kGrids) {
            if (info.id == GridId::StringGrid3)
                continue;  // compared with the choice's grid below
            const QString name = QString::fromUtf8(info.name.data(), static_cast<qsizetype>(info.name.size()));
            const QJsonArray rows = grids.value(name).toArray();
            const QAbstractItemModel* model = form().grid(info.id)->model();
            QVERIFY2(rows.size() == model->rowCount(), qPrintable(name));
            for (int row = 0; row < rows.size(); ++row) {
                const QJsonArray cells = rows[row].toArray();
                for (int col = 0; col < model->columnCount(); ++col) {
                    const QString shown = model->index(row, col).data().toString();
                    const QString printed = cells[col].toObject().value(QStringLiteral("text")).toString();
                    QVERIFY2(
                        shown == printed,
                        qPrintable(
                            QStringLiteral("%1 (%2, %3): %4 vs %5").arg(name).arg(col).arg(row).arg(shown, printed)));
                }
            }
        }
        const QJsonArray skills = json.value(QStringLiteral("choices"))
                                      .toArray()[0]
                                      .toObject()
                                      .value(QStringLiteral("StringGrid3"))
                                      .toArray();
        const QAbstractItemModel* skillsModel = form().grid(GridId::StringGrid3)->model();
        QCOMPARE(skills.size(), skillsModel->rowCount());
        for (int row = 0; row < skills.size(); ++row)
            for (int col = 0; col < 4; ++col)
                QCOMPARE(skillsModel->index(row, col).data().toString(),
                         skills[row].toArray()[col].toObject().value(QStringLiteral("text")).toString());

        // Every label the report names is the window's label of that name.
        const QJsonObject labels = json.value(QStringLiteral("labels")).toObject();
        QCOMPARE(labels.size(), 26);
        for (const QString& name : labels.keys()) {
            auto* label = form().findChild<QLabel*>(name);
            QVERIFY2(label, qPrintable(name));
            QCOMPARE(label->text(), labels.value(name).toString());
        }
        const QJsonObject shapes = json.value(QStringLiteral("shapes")).toObject();
        for (const QString& name : shapes.keys())
            QVERIFY2(form().findChild<QFrame*>(name), qPrintable(name));
        const QJsonArray items = json.value(QStringLiteral("ComboBox3")).toArray();
        QCOMPARE(chooser->count(), items.size());
        for (int i = 0; i < items.size(); ++i)
            QCOMPARE(chooser->itemText(i), items[i].toString());
    }

    void cancelledDialogClearsTheFlagAndKeepsTheRest() {
        showAndActivate();
        m_host->openAnswers = {kSamples + QStringLiteral("/start.zip"), QString()};
        form().butTS1Click();
        QVERIFY(form().choice(SnapshotSide::Start).chosen);
        form().butTS1Click();
        QVERIFY(!form().choice(SnapshotSide::Start).chosen);
        QCOMPARE(Label(form(), "LabelOF")->text(), QStringLiteral("01.09.2026, OK"));
        QCOMPARE(ListMatching(m_folders.start, "*.csv").size(), std::size_t{4});
        QVERIFY(m_host->messages.empty());

        // With the start unchosen, choosing the end loads nothing.
        m_host->openAnswers = {kSamples + QStringLiteral("/end.zip")};
        form().butTS2Click();
        QVERIFY(!form().pages()->isVisible());
    }

    void archiveWithoutPlayersFileIsRefused() {
        showAndActivate();
        loadSamples();
        const QString archive =
            MakeZip(m_dir->path(), QStringLiteral("skills_only.zip"), {QStringLiteral("club_players_skills.csv")});
        m_host->openAnswers = {archive};
        form().butTS2Click();
        QCOMPARE(m_host->messages.size(), std::size_t{1});
        QCOMPARE(m_host->messages[0].text, QStringLiteral("Неверный файл статистики"));
        QCOMPARE(m_host->messages[0].caption, QStringLiteral("Ошибка"));
        QCOMPARE(m_host->messages[0].icon, QMessageBox::Critical);
        QVERIFY(form().findChild<QLabel*>(QStringLiteral("Image7"))->isVisible());
        QVERIFY(!form().pages()->isVisible());
        QCOMPARE(Label(form(), "labelTS2")->text(), QStringLiteral("Выбрать файл на конец периода"));
        QCOMPARE(Label(form(), "LabelNF")->text(), QStringLiteral("не выбран"));
        QVERIFY(PaintsColour(*Label(form(), "LabelNF"), QColor(128, 0, 0)));
        QVERIFY(form().choice(SnapshotSide::End).chosen);
        QCOMPARE(form().choice(SnapshotSide::End).dateText, std::string("30.11.2026"));
    }

    void archiveErrorShowsTheStandardErrorBox() {
        showAndActivate();
        const QString archive = m_dir->path() + QStringLiteral("/not_a_zip.zip");
        WriteFile(archive.toStdString(), "this is no archive at all");
        WriteFile(m_folders.start / "left_over.csv", "x");
        m_host->openAnswers = {archive};
        form().butTS1Click();
        QCOMPARE(m_host->messages.size(), std::size_t{1});
        const auto& box = m_host->messages[0];
        QCOMPARE(box.caption, QStringLiteral("Cadrix v2.0"));
        QCOMPARE(box.icon, QMessageBox::Critical);
        QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QVERIFY2(box.text.contains(QStringLiteral("Archive is damaged")), qPrintable(box.text));
        QVERIFY(box.text.endsWith(u'.'));
        // The choice ended at the extraction: folder emptied, flag set, labels as they were.
        QVERIFY(!fs::exists(m_folders.start / "left_over.csv"));
        QVERIFY(form().choice(SnapshotSide::Start).chosen);
        QCOMPARE(Label(form(), "LabelOF")->text(), QStringLiteral("не выбран"));
        // The program goes on: a good archive is taken afterwards.
        m_host->openAnswers = {kSamples + QStringLiteral("/start.zip")};
        form().butTS1Click();
        QCOMPARE(Label(form(), "LabelOF")->text(), QStringLiteral("01.09.2026, OK"));
    }

    void standardErrorTextEndsWithAFullStop_data() {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("shown");
        QTest::newRow("letter") << QStringLiteral("Cannot open file") << QStringLiteral("Cannot open file.");
        QTest::newRow("digit") << QStringLiteral("Native error: 00048") << QStringLiteral("Native error: 00048.");
        QTest::newRow("full stop") << QStringLiteral("Done.") << QStringLiteral("Done.");
        QTest::newRow("bracket sorts before") << QStringLiteral("(x)") << QStringLiteral("(x)");
        QTest::newRow("Cyrillic") << QStringLiteral("Ошибка") << QStringLiteral("Ошибка.");
        QTest::newRow("empty") << QString() << QString();
    }

    void standardErrorTextEndsWithAFullStop() {
        QFETCH(QString, message);
        QFETCH(QString, shown);
        QCOMPARE(StandardErrorText(message), shown);
    }

    void extractionQuestionsGoThroughTheHost() {
        HostQuestions questions(*m_host, &form());
        m_host->messageAnswers = {QMessageBox::Retry, QMessageBox::Ignore, QMessageBox::NoButton};
        const EntryFailure failure{"x.csv", "ZipFile: Cannot create file \"x.csv\" - Native error: 00019", "", false};
        QCOMPARE(questions.AskEntryFailure(failure), EntryFailureAnswer::Retry);
        QCOMPARE(questions.AskEntryFailure(failure), EntryFailureAnswer::Ignore);
        // Closing the box without a button stops the extraction.
        QCOMPARE(questions.AskEntryFailure(failure), EntryFailureAnswer::Abort);
        QCOMPARE(m_host->messages[0].text,
                 QStringLiteral("ZipFile: Cannot create file \"x.csv\" - Native error: 00019. File processing "
                                "error, possibly disk is full"));
        QCOMPARE(m_host->messages[0].buttons, QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore);
        QCOMPARE(questions.AskPassword("a.csv"), std::optional<std::string>());
    }

    void longArchivePathsAreShortenedInTheMiddle() {
        const std::string exact = "/" + std::string(60, 'a') + ".zip";  // 65 characters
        QCOMPARE(FileLabelText(exact), exact);
        const std::string longer = "/" + std::string(40, 'b') + "Ж" + std::string(20, 'c') + ".zip";  // 66
        const std::string shown = FileLabelText(longer);
        QCOMPARE(QString::fromStdString(shown).size(), 66);
        QCOMPARE(shown, "/" + std::string(39, 'b') + " ... " + std::string(17, 'c') + ".zip");
    }

    void favourableAndUnfavourableCellsArePaintedInTheirColours() {
        showAndActivate();
        loadSamples();
        auto* pages = form().pages();
        pages->setCurrentWidget(form().findChild<QWidget*>(QStringLiteral("t5")));
        QTableView* values = form().grid(GridId::StringGrid_pr);
        const auto [favourable, unfavourable] = FirstChangedValues(form().comparison());
        QVERIFY(favourable > 0 && unfavourable > 0);
        // The left edge of a right-aligned number's cell holds only the fill.
        QCOMPARE(PixelOf(values, 4, favourable, {1, 8}), QColor(186, 240, 179));
        QCOMPARE(PixelOf(values, 4, unfavourable, {1, 8}), QColor(255, 176, 176));
        QCOMPARE(PixelOf(values, 3, favourable, {1, 8}), values->palette().color(QPalette::Base));
        QCOMPARE(values->model()->index(favourable, 4).data(Qt::BackgroundRole).value<QBrush>().color(),
                 QColor(186, 240, 179));

        // On a selected row the rule's colour stays; the other cells take the highlight.
        values->selectRow(favourable);
        QCOMPARE(PixelOf(values, 4, favourable, {1, 8}), QColor(186, 240, 179));
        QCOMPARE(PixelOf(values, 3, favourable, {1, 8}), values->palette().color(QPalette::Highlight));
        // The header row is drawn like buttons, never selected.
        values->selectRow(0);
        QCOMPARE(PixelOf(values, 2, 0, {3, 8}), values->palette().color(QPalette::Button));
    }

    void playerChoiceColoursTheSkillsGridByHisLine() {
        showAndActivate();
        loadSamples();
        auto* chooser = form().findChild<QComboBox*>(QStringLiteral("ComboBox3"));
        int defender = -1;
        for (int i = 0; i < chooser->count() && defender < 0; ++i)
            if (chooser->itemText(i).endsWith(QStringLiteral(", CD")))
                defender = i;
        QVERIFY(defender >= 0);
        QTableView* skills = form().grid(GridId::StringGrid3);
        auto green = [](const QColor& c) { return c.green() > 90 && c.red() < 60 && c.blue() < 60; };
        auto blue = [](const QColor& c) { return c.blue() > 180 && c.red() < 80 && c.green() < 80; };
        auto red = [](const QColor& c) { return c.red() > 180 && c.green() < 80 && c.blue() < 80; };
        // Before any choice no name is coloured.
        QCOMPARE(CountPixels(skills, 0, 6, green), 0);

        chooser->setCurrentIndex(defender);
        emit chooser->activated(defender);
        QCOMPARE(QString::fromStdString(form().comparison().ComboBox3Text()), chooser->itemText(defender));
        // Defence line: skill 6 green, 3 blue, 1 red, in names and values.
        QVERIFY(CountPixels(skills, 0, 6, green) > 5);
        QVERIFY(CountPixels(skills, 1, 6, green) > 5);
        QVERIFY(CountPixels(skills, 0, 3, blue) > 5);
        QVERIFY(CountPixels(skills, 0, 1, red) > 5);
        QCOMPARE(CountPixels(skills, 0, 1, green), 0);
        QVERIFY(!skills->model()->index(1, 1).data().toString().isEmpty());
    }

    void gridsCopyRowsAndWholePagesAsTables() {
        showAndActivate();
        loadSamples();
        auto* pages = form().pages();
        QClipboard* clipboard = QGuiApplication::clipboard();
        const QStringList items = {QStringLiteral("Копировать"), QStringLiteral("Копировать всё")};
        std::vector<QAbstractItemView*> views = {m_windows->exInfoForm().grid()};
        for (const GridInfo& info : kGrids)
            views.push_back(form().grid(info.id));
        for (QAbstractItemView* view : views) {
            QStringList texts;
            for (const QAction* action : view->actions())
                texts << action->text();
            QCOMPARE(texts.mid(0, 2), items);
            QCOMPARE(view->contextMenuPolicy(), Qt::CustomContextMenu);
        }
        // The forum texts; the player pages offer the player's development
        // too, in the same menu; every page grid the report, the summary and
        // the palette.
        QCOMPARE(form().grid(GridId::StringGrid_ru)->actions().size(), 8);
        QCOMPARE(form().grid(GridId::StringGrid1)->actions().size(), 7);
        for (const GridInfo& info : kGrids) {
            QStringList texts;
            for (const QAction* action : form().grid(info.id)->actions())
                texts << action->text();
            QCOMPARE(texts.mid(texts.size() - 3),
                     QStringList({QStringLiteral("Сохранить отчёт…"), QStringLiteral("Итоги периода…"),
                                  QStringLiteral("Цвета для дальтоников")}));
        }

        // Ctrl+C on a selection of rows: whole rows, as the grid shows them.
        pages->setCurrentWidget(form().findChild<QWidget*>(QStringLiteral("t5")));
        QTableView* values = form().grid(GridId::StringGrid_pr);
        values->setFocus();
        QTest::mouseClick(values->viewport(), Qt::LeftButton, {},
                          values->visualRect(values->model()->index(1, 2)).center());
        QTest::mouseClick(values->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                          values->visualRect(values->model()->index(2, 0)).center());
        QTest::keyClick(values, Qt::Key_C, Qt::ControlModifier);
        QStringList expected;
        for (int row = 1; row <= 2; ++row) {
            QStringList cells;
            for (int col = 0; col < 5; ++col)
                cells << values->model()->index(row, col).data().toString();
            expected << cells.join(u'\t');
        }
        QCOMPARE(clipboard->text(), expected.join(u'\n') + u'\n');

        // A grid that selects nothing copies the row its menu was opened on.
        pages->setCurrentWidget(form().findChild<QWidget*>(QStringLiteral("t1")));
        QTableView* club = form().grid(GridId::StringGrid1);
        QTimer::singleShot(0, [] {
            if (QWidget* menu = QApplication::activePopupWidget())
                menu->close();
        });
        const QPoint at = club->visualRect(club->model()->index(9, 1)).center();
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, club->viewport()->mapToGlobal(at));
        QApplication::sendEvent(club->viewport(), &event);
        club->actions()[0]->trigger();
        QVERIFY2(clipboard->text().startsWith(club->model()->index(9, 0).data().toString() + u'\t'),
                 qPrintable(clipboard->text()));

        // The page for a forum: a table of its rows, the changes in the palette's colours.
        form().grid(GridId::StringGrid_pr)->findChild<QAction*>(QStringLiteral("CopyBbcodeAction"))->trigger();
        const QString bbcode = clipboard->text();
        QVERIFY2(bbcode.startsWith(QStringLiteral("\n[b]Номиналы[/b]\n[table]\n[tr][td][b]")), qPrintable(bbcode));
        QCOMPARE(bbcode.count(QStringLiteral("[/tr]")), form().grid(GridId::StringGrid_pr)->model()->rowCount() + 1);
        QVERIFY(bbcode.contains(QStringLiteral("[color=#BAF0B3]▲")));
        form().grid(GridId::StringGrid_pr)->findChild<QAction*>(QStringLiteral("CopyMarkdownAction"))->trigger();
        QVERIFY2(clipboard->text().startsWith(QStringLiteral("\n## Номиналы\n\n| Игрок |")), qPrintable(clipboard->text()));

        // The whole page: captions with the dates, the rows, the counts.
        form().grid(GridId::StringGrid_nat)->actions()[1]->trigger();
        const QStringList lines = clipboard->text().split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2 + form().grid(GridId::StringGrid_nat)->model()->rowCount() + 5);
        QVERIFY(lines[0].startsWith(QStringLiteral("Игрок\tПоз.\t01.09.2026")));
        QCOMPARE(lines[2].split(u'\t').size(), 8);
        QVERIFY(lines.last().startsWith(QStringLiteral("основная сборная\t")));

        // The panel, caption and value.
        auto* chooser = form().findChild<QComboBox*>(QStringLiteral("ComboBox3"));
        chooser->setCurrentIndex(0);
        emit chooser->activated(0);
        QTableWidget* panel = m_windows->exInfoForm().grid();
        panel->selectRow(1);
        panel->actions()[0]->trigger();
        QCOMPARE(clipboard->text(), QStringLiteral("Позиция\t") + panel->item(1, 1)->text() + u'\n');
        panel->actions()[1]->trigger();
        QCOMPARE(clipboard->text().count(u'\n'), 11);
    }

    // The colour-blind palette repaints the grids and the totals at once, and
    // a new window starts in the palette chosen last.
    void colourblindPaletteIsRememberedAndRepaintsTheGrids() {
        const QColor designed[] = {QColor(186, 240, 179), QColor(255, 176, 176)};
        const QColor colourblind[] = {QColor(158, 202, 225), QColor(253, 174, 107)};
        const auto paintedChanges = [this] {
            form()
                .findChild<QTabWidget*>(QStringLiteral("PageControl2"))
                ->setCurrentWidget(form().findChild<QWidget*>(QStringLiteral("t5")));
            QTableView* values = form().grid(GridId::StringGrid_pr);
            const auto [favourable, unfavourable] = FirstChangedValues(form().comparison());
            return std::pair{PixelOf(values, kValueChange, favourable, {1, 8}),
                             PixelOf(values, kValueChange, unfavourable, {1, 8})};
        };
        const auto menuChecks = [this] {
            QTableView* values = form().grid(GridId::StringGrid_pr);
            const QPoint at = values->visualRect(values->model()->index(1, 0)).center();
            QContextMenuEvent event(QContextMenuEvent::Mouse, at, values->viewport()->mapToGlobal(at));
            QApplication::sendEvent(values->viewport(), &event);
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            const bool checked = menu && values->findChild<QAction*>(QStringLiteral("ColourblindAction"))->isChecked();
            if (menu)
                menu->close();
            return checked;
        };
        showAndActivate();
        loadSamples();
        QCOMPARE(paintedChanges(), std::pair(designed[0], designed[1]));
        QVERIFY(!menuChecks());

        form().grid(GridId::StringGrid1)->findChild<QAction*>(QStringLiteral("ColourblindAction"))->trigger();
        QCOMPARE(paintedChanges(), std::pair(colourblind[0], colourblind[1]));
        QVERIFY(menuChecks());
        const ShapeColour shape = form().comparison().Result().values.shape;
        QVERIFY(shape != ShapeColour::ButtonFace);
        const Rgb fill = *ShapeFill(PaletteOf(PaletteChoice::Colourblind), shape);
        QVERIFY(PaintsColour(*form().findChild<QFrame*>(QStringLiteral("Shape19")), QColor(fill.r, fill.g, fill.b)));

        // A new run: the working folders' lock goes with the old windows.
        m_windows.reset();
        m_folders = {};
        createWindows();
        showAndActivate();
        loadSamples();
        QCOMPARE(form().paletteChoice(), PaletteChoice::Colourblind);
        QCOMPARE(paintedChanges(), std::pair(colourblind[0], colourblind[1]));
        form().grid(GridId::StringGrid_pr)->findChild<QAction*>(QStringLiteral("ColourblindAction"))->trigger();
        QCOMPARE(paintedChanges(), std::pair(designed[0], designed[1]));
        QVERIFY(!menuChecks());
    }

    // Each filter of the save dialog writes its form: a name that has the
    // extension keeps it, one without takes the chosen filter's.
    void savesTheReportInTheFormOfTheChosenFilter() {
        showAndActivate();
        loadSamples();
        auto* chooser = form().findChild<QComboBox*>(QStringLiteral("ComboBox3"));
        chooser->setCurrentIndex(0);
        emit chooser->activated(0);
        form().choosePalette(PaletteChoice::Colourblind);
        const QString folder = m_dir->filePath(QStringLiteral("отчёты"));
        QVERIFY(QDir().mkpath(folder));
        m_host->saveAnswers = {folder + QStringLiteral("/report.html"), folder + QStringLiteral("/report"),
                               folder + QStringLiteral("/Таблицы.csv")};
        m_host->saveFilterAnswers = {QStringLiteral("Отчёт HTML (*.html)"), QStringLiteral("Отчёт PDF (*.pdf)"),
                                     QStringLiteral("Таблицы CSV (*.csv)")};
        const QStringList written = {folder + QStringLiteral("/report.html"), folder + QStringLiteral("/report.pdf"),
                                     folder + QStringLiteral("/Таблицы")};
        for (int i = 0; i < written.size(); ++i) {
            form().grid(GridId::StringGrid_nat)->findChild<QAction*>(QStringLiteral("SaveReportAction"))->trigger();
            QCOMPARE(m_host->messages.size(), std::size_t(i + 1));
            QCOMPARE(m_host->messages.back().icon, QMessageBox::Information);
            QCOMPARE(m_host->messages.back().text, QStringLiteral("Сохранено в ") + written[i]);
        }
        QCOMPARE(m_host->saveDialogFilters.front(),
                 QStringLiteral("Отчёт HTML (*.html);;Отчёт PDF (*.pdf);;Таблицы CSV (*.csv)"));
        QCOMPARE(m_host->saveDialogNames.front(), QStringLiteral("Отчёт 01.09.2026-30.11.2026.html"));

        // The summary, the pages, the chosen player, in the palette chosen.
        const QString html = ReadAll(written[0]);
        for (const QString& part : {QStringLiteral("<h1>Итоги и сравнение: Волжский Сокол, 01.09.2026 – 30.11.2026</h1>"),
                                    QStringLiteral(">Номиналы</h2>"),
                                    QStringLiteral("#9ECAE1"), chooser->itemText(0).toHtmlEscaped()})
            QVERIFY2(html.contains(part), qPrintable(part));
        QFile pdf(written[1]);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QCOMPARE(pdf.read(5), QByteArray("%PDF-"));
        for (const QString& name :
             {QStringLiteral("club.csv"), QStringLiteral("skills-0.csv"), QStringLiteral("summary.csv")})
            QVERIFY2(QFileInfo(written[2] + u'/' + name).size() > 0, qPrintable(name));
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).size(), 3);
    }

    // A report that cannot be written is named in the standard error box, and
    // what stood there before stays as it was.
    void failedSaveShowsTheErrorAndKeepsTheOldFile() {
        showAndActivate();
        loadSamples();
        // A name the folder takes, but not with the temporary file's longer
        // name beside it: fails alike for every user, root included.
        const QString longName = QString(246, u'r');
        const struct {
            QString filter;
            QString name;
        } cases[] = {{QStringLiteral("Отчёт HTML (*.html)"), longName + QStringLiteral(".html")},
                     {QStringLiteral("Отчёт PDF (*.pdf)"), longName + QStringLiteral(".pdf")},
                     // The CSV folder's name is a file's.
                     {QStringLiteral("Таблицы CSV (*.csv)"), QStringLiteral("tables")}};
        for (const auto& [filter, name] : cases) {
            QTemporaryDir folder;
            const QString old = folder.filePath(name);
            WriteFile(old.toStdString(), "the old report");
            m_host->messages.clear();
            m_host->saveAnswers = {old + (filter.contains(QStringLiteral("CSV")) ? QStringLiteral(".csv") : QString())};
            m_host->saveFilterAnswers = {filter};
            form().grid(GridId::StringGrid1)->findChild<QAction*>(QStringLiteral("SaveReportAction"))->trigger();
            QCOMPARE(m_host->messages.size(), std::size_t{1});
            const auto& box = m_host->messages[0];
            QCOMPARE(box.caption, kApplicationTitle);
            QCOMPARE(box.icon, QMessageBox::Critical);
            QVERIFY2(box.text.contains(old) && box.text.endsWith(u'.'), qPrintable(box.text));
            QCOMPARE(ReadAll(old), QStringLiteral("the old report"));
            QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                     QStringList{name});
        }
    }

    // The summary as a document: a heading with the club, the dates and the
    // days, the changes signed and in the palette's colours; copied as text
    // under the same heading, or for a forum.
    void periodSummaryOpensInAWindowOfItsOwn() {
        showAndActivate();
        loadSamples();
        form().grid(GridId::StringGrid2)->findChild<QAction*>(QStringLiteral("PeriodSummaryAction"))->trigger();
        SummaryWindow* window = form().summaryWindow();
        QVERIFY(window && window->isVisible());
        QCOMPARE(window->parentWidget(), &form());
        const QString heading = QStringLiteral("Итоги периода: Волжский Сокол, 01.09.2026 – 30.11.2026 (90 дней)");
        QCOMPARE(window->windowTitle(), heading);
        auto* browser = window->findChild<QTextBrowser*>();
        QVERIFY(browser->isReadOnly() && browser->textInteractionFlags().testFlag(Qt::TextSelectableByMouse));
        QVERIFY2(window->text().startsWith(heading + QStringLiteral("\nПришли в клуб\nМартинес Диего (FW)\n")),
                 qPrintable(window->text()));
        QVERIFY(window->text().contains(QStringLiteral("\nСтепанов Антон (RM): сумма 24 скиллов: +75\n")));
        QSet<QRgb> backgrounds;
        for (QTextBlock block = browser->document()->begin(); block.isValid(); block = block.next()) {
            for (auto it = block.begin(); !it.atEnd(); ++it)
                backgrounds.insert(it.fragment().charFormat().background().color().rgb());
        }
        QVERIFY(backgrounds.contains(qRgb(0xBA, 0xF0, 0xB3)) && backgrounds.contains(qRgb(0xFF, 0xB0, 0xB0)));

        QClipboard* clipboard = QGuiApplication::clipboard();
        window->findChild<QAction*>(QStringLiteral("CopyAllAction"))->trigger();
        const QStringList lines = clipboard->text().split(u'\n');
        const QStringList expected = {
            QStringLiteral("== ") + heading,
            QStringLiteral("-- Пришли в клуб"),
            QStringLiteral("Мартинес Диего (FW)"),
            QStringLiteral("-- Ушли из клуба"),
            QStringLiteral("Кузнецов Артём (CM)"),
            QStringLiteral("-- Сборные"),
            QStringLiteral("Ковальчук Тарас (LD): в расширенном списке → основная сборная"),
            QStringLiteral("Морозов Сергей (CD): основная сборная → не вызван"),
        };
        QCOMPARE(lines.mid(0, expected.size()), expected);
        for (const QString& line : {QStringLiteral("Романов Тимур (FW): 57,7 → 60,7 (+3)"),
                                    QStringLiteral("Козлов Артемий (FW): 65,2 → 64,0 (-1,2)"),
                                    QStringLiteral("Зарплата: 2.470.000 → 2.508.500 (+38.500)"),
                                    QStringLiteral("Место в рейтинге: 57 → 41 (-16)"),
                                    QStringLiteral("Спортивная База: 3 → 4")})
            QVERIFY2(lines.contains(line), qPrintable(line));
        window->findChild<QAction*>(QStringLiteral("CopyBbcodeAction"))->trigger();
        QVERIFY2(clipboard->text().startsWith(QStringLiteral("\n[b]") + heading + QStringLiteral("[/b]\n")),
                 qPrintable(clipboard->text()));
        QVERIFY(clipboard->text().contains(QStringLiteral("Романов Тимур (FW): 57,7 → 60,7 ([color=#BAF0B3]+3[/color])")));
        window->findChild<QAction*>(QStringLiteral("CopyMarkdownAction"))->trigger();
        QVERIFY(clipboard->text().contains(QStringLiteral("\n- Романов Тимур (FW): 57,7 → 60,7 (▲+3)\n")));
    }

    void keyboardReachesHistoryPagesMenusAndCommandsFromAnywhere() {
        showAndActivate();
        // The splash picture's menu, and Ctrl+H while the splash is shown.
        QLabel* splash = Label(form(), "Image7");
        emit splash->customContextMenuRequested(QPoint(20, 20));
        auto* menu = splash->findChild<QMenu*>(kContextMenuName);
        QVERIFY(menu);
        QStringList texts;
        for (const QAction* action : menu->actions())
            texts << action->text();
        QCOMPARE(texts, (QStringList{"История…", "Настройки…", "О программе…"}));
        menu->close();
        QTest::keyClick(&form(), Qt::Key_H, Qt::ControlModifier);
        QWidget* historyWindow = form().findChild<QWidget*>(QStringLiteral("HistoryForm"));
        QVERIFY(historyWindow && historyWindow->isVisible());
        historyWindow->close();
        form().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form()));

        loadSamples();
        auto* pages = form().findChild<QTabWidget*>(QStringLiteral("PageControl2"));
        QTableView* grid = form().grid(GridId::StringGrid_ru);
        pages->setCurrentWidget(grid->parentWidget());
        const int page = pages->currentIndex();
        grid->setFocus();
        grid->setCurrentIndex(grid->model()->index(3, 1));
        const std::vector<std::pair<QKeyCombination, int>> steps = {
            {Qt::ControlModifier | Qt::Key_Tab, 1},
            {Qt::ControlModifier | Qt::Key_PageUp, 0},
            {Qt::ControlModifier | Qt::ShiftModifier | Qt::Key_Backtab, -1},
            {Qt::ControlModifier | Qt::Key_PageDown, 0},
        };
        for (const auto& [key, expected] : steps) {
            QTest::keyClick(QApplication::focusWidget(), key.key(), key.keyboardModifiers());
            QCOMPARE(pages->currentIndex(), page + expected);
        }

        // Shift+F10 opens the grid's menu at its current cell, the window's
        // shortcuts shown beside their items.
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_F10, Qt::ShiftModifier);
        auto* gridMenu = grid->viewport()->findChild<QMenu*>(kContextMenuName);
        QVERIFY(gridMenu);
        QCOMPARE(grid->currentIndex().row(), 3);
        QAction* save = nullptr;
        for (QAction* action : gridMenu->actions()) {
            if (action->objectName() == QStringLiteral("SaveReportAction"))
                save = action;
        }
        QVERIFY(save);
        QCOMPARE(save->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
        gridMenu->close();
        QTest::keyClick(grid, Qt::Key_I, Qt::ControlModifier);
        QVERIFY(form().summaryWindow() && form().summaryWindow()->isVisible());
        // F1: the About box, closed again at once.
        QTimer::singleShot(0, [] {
            if (QWidget* box = QApplication::activeModalWidget())
                box->close();
        });
        QTest::keyClick(grid, Qt::Key_F1);
        QVERIFY(m_windows->aboutBox().isHidden());
    }

    void periodSummaryFollowsEachLoadAndGoesWithTheSplash() {
        showAndActivate();
        loadSamples();
        form().showSummary();
        SummaryWindow* window = form().summaryWindow();
        m_host->openAnswers = {kSamples + QStringLiteral("/end.zip")};
        form().butTS1Click();
        QVERIFY2(window->windowTitle().contains(QStringLiteral("30.11.2026 – 30.11.2026")),
                 qPrintable(window->windowTitle()));
        QVERIFY(window->isVisible());
        m_host->openAnswers = {MakeZip(m_dir->path(), QStringLiteral("skills.zip"), {QStringLiteral("club_players_skills.csv")})};
        form().butTS2Click();
        QVERIFY(!window->isVisible());
    }

    void droppedArchivesAreChosenWithoutTheDialog() {
        showAndActivate();
        const QString start = kSamples + QStringLiteral("/start.zip");
        const QString end = kSamples + QStringLiteral("/end.zip");
        const QPoint startRow = Label(form(), "labelTS1")->mapTo(&form(), QPoint(5, 5));
        const QPoint endRow = Label(form(), "LabelNF")->mapTo(&form(), QPoint(5, 5));
        const QPoint elsewhere(270, 300);
        // Whether the window takes the drag; then it is dropped.
        auto drop = [&](const QList<QUrl>& urls, QPoint at) {
            QMimeData data;
            data.setUrls(urls);
            QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(&form(), &enter);
            if (!enter.isAccepted())
                return false;
            QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(&form(), &dropped);
            QCoreApplication::processEvents();
            return dropped.isAccepted();
        };
        auto file = [](const QString& path) { return QUrl::fromLocalFile(path); };

        // Web addresses and a single archive outside the rows are not taken.
        QVERIFY(!drop({QUrl(QStringLiteral("https://www.orvanto.ru/stats.zip"))}, startRow));
        QVERIFY(!drop({file(start)}, elsewhere));
        QVERIFY(!drop({file(start), file(end), file(end)}, elsewhere));
        // Two archives anywhere, in either order: the older players file is the start.
        QVERIFY(drop({file(end), file(start)}, elsewhere));
        QVERIFY(form().pages()->isVisible());
        QCOMPARE(Label(form(), "LabelOF")->text(), QStringLiteral("01.09.2026, OK"));
        QCOMPARE(Label(form(), "LabelNF")->text(), QStringLiteral("30.11.2026, OK"));
        // One archive on a row chooses it for that row.
        QVERIFY(drop({file(end)}, startRow));
        QCOMPARE(Label(form(), "LabelOF")->text(), QStringLiteral("30.11.2026, OK"));
        QVERIFY(m_host->openDialogFolders.empty());
        // The same export on both rows: compared, after a word about it.
        QCOMPARE(m_host->messages.size(), std::size_t{1});
        QCOMPARE(m_host->messages[0].text,
                 QStringLiteral("Выбрана одна и та же выгрузка (30.11.2026): изменений не будет."));

        // What is no statistics archive is refused, and nothing is chosen.
        const QString skills =
            MakeZip(m_dir->path(), QStringLiteral("skills.zip"), {QStringLiteral("club_players_skills.csv")});
        const QString text = m_dir->path() + QStringLiteral("/notes.txt");
        WriteFile(text.toStdString(), "a;b;");
        const std::vector<std::pair<QList<QUrl>, QPoint>> refused = {
            {{file(skills)}, endRow}, {{file(text)}, startRow}, {{file(start), file(text)}, elsewhere}};
        for (const auto& [urls, at] : refused) {
            m_host->messages.clear();
            QVERIFY(drop(urls, at));
            QCOMPARE(m_host->messages.size(), std::size_t{1});
            QVERIFY2(m_host->messages[0].text.startsWith(QStringLiteral("Неверный файл статистики: ")) &&
                         m_host->messages[0].text.endsWith(urls.back().toLocalFile()),
                     qPrintable(m_host->messages[0].text));
        }
        QCOMPARE(Label(form(), "LabelOF")->text(), QStringLiteral("30.11.2026, OK"));
        QCOMPARE(Label(form(), "LabelNF")->text(), QStringLiteral("30.11.2026, OK"));
        QVERIFY(form().choice(SnapshotSide::Start).chosen && form().choice(SnapshotSide::End).chosen);
        QCOMPARE(ListMatching(m_folders.end, "*.csv").size(), std::size_t{4});
        QVERIFY(form().pages()->isVisible());
    }

    void qtsOwnTextsAreRussian() {
        QVERIFY(InstallQtTranslation());
        QFileDialog dialog(&form(), QString(), m_dir->path());
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        auto* buttons = dialog.findChild<QDialogButtonBox*>();
        QVERIFY(buttons);
        QCOMPARE(buttons->button(QDialogButtonBox::Open)->text().remove(u'&'), QStringLiteral("Открыть"));
        QCOMPARE(buttons->button(QDialogButtonBox::Cancel)->text().remove(u'&'), QStringLiteral("Отмена"));
    }

    void linkLabelsTurnPurpleAndOpenTheirPages() {
        showAndActivate();
        QLabel* site = Label(form(), "Label12");
        QTest::mouseClick(site, Qt::LeftButton);
        QCOMPARE(site->palette().color(QPalette::WindowText), QColor(128, 0, 128));
        form().Label14Click();
        QCOMPARE(m_host->openedUrls.size(), std::size_t{2});
        QCOMPARE(m_host->openedUrls[0], QUrl(kGameSiteUrl));
        QCOMPARE(m_host->openedUrls[1], QUrl(kAuthorPageUrl));
        QVERIFY(m_host->messages.empty());

        // No browser: a message gives the address.
        m_host->browserStarts = false;
        form().Label12Click();
        QCOMPARE(m_host->messages.size(), std::size_t{1});
        QCOMPARE(m_host->messages[0].caption, QStringLiteral("Ошибка"));
        QVERIFY2(m_host->messages[0].text.endsWith(u'\n' + kGameSiteUrl), qPrintable(m_host->messages[0].text));
        m_windows->aboutBox().Label1Click();
        QCOMPARE(m_host->messages.size(), std::size_t{2});
        QVERIFY(m_host->messages[1].text.endsWith(kAuthorPageUrl));
    }
};

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    cadrix::app::LoadResources();
    MainWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "main_window_test.moc"
