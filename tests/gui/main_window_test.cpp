#include <filesystem>
#include <fstream>
#include <memory>

#include <functional>

#include <QApplication>
#include <QBrush>
#include <QComboBox>
#include <QHeaderView>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QProcess>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include "app_windows.h"
#include "archive_import.h"
#include "core/wildcard.h"
#include "error_box.h"
#include "form_main.h"
#include "load_form.h"
#include "scripted_host.h"
#include "set_box.h"

using namespace cadrix;
using namespace cadrix::app;
namespace fs = std::filesystem;

namespace {

const QString kSamples = QStringLiteral(CADRIX_SOURCE_DIR "/samples");

void WriteFile(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

// A ZIP archive made by the zip tool from files written into a scratch folder.
QString MakeZip(const QString& folder, const QString& name, const QStringList& entries) {
    const QString scratch = folder + QStringLiteral("/scratch-") + name;
    for (const QString& entry : entries)
        WriteFile((scratch + u'/' + entry).toStdString(), "a;b;\r\n1;2;\r\n");
    const QString archive = folder + u'/' + name;
    QProcess zip;
    zip.setWorkingDirectory(scratch);
    zip.start(QStringLiteral("zip"), QStringList{QStringLiteral("-q"), archive} + entries);
    zip.waitForFinished();
    return archive;
}

QLabel* Label(QWidget& form, const char* name) { return form.findChild<QLabel*>(QString::fromLatin1(name)); }

QColor PixelOf(QTableView* view, int col, int row, QPoint offset) {
    const QImage image = view->viewport()->grab().toImage();
    const QRect rect = view->visualRect(view->model()->index(row, col));
    return image.pixelColor(rect.topLeft() + offset);
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

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScriptedHost> m_host;
    std::unique_ptr<AppWindows> m_windows;
    WorkFolders m_folders;

    FormMain& form() { return *m_windows->formMain; }

    void createWindows() {
        m_folders = ResolveWorkFolders(fs::path(m_dir->path().toStdString()) / "work");
        m_windows =
            std::make_unique<AppWindows>(*m_host, m_folders, fs::path(m_dir->path().toStdString()) / "history.sqlite");
    }

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
        QVERIFY(form().findChild<QTabWidget*>(QStringLiteral("PageControl2"))->isVisible());
    }

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        m_host = std::make_unique<ScriptedHost>();
        createWindows();
    }

    void cleanup() {
        m_windows.reset();
        m_host.reset();
        m_dir.reset();
    }

    void startsOnTheSplashWithNothingChosen() {
        showAndActivate();
        QVERIFY(form().findChild<QLabel*>(QStringLiteral("Image7"))->isVisible());
        QVERIFY(!form().findChild<QTabWidget*>(QStringLiteral("PageControl2"))->isVisible());
        QCOMPARE(Label(form(), "LabelOF")->text(), QStringLiteral("не выбран"));
        QCOMPARE(Label(form(), "LabelNF")->text(), QStringLiteral("не выбран"));
        QCOMPARE(Label(form(), "labelTS1")->text(), QStringLiteral("Выбрать файл на начало периода"));
        QCOMPARE(form().windowTitle(), QStringLiteral("Cadrix 2 - ВФМ \"Орванто\""));
        QCOMPARE(form().size(), QSize(549, 553));

        auto* pages = form().findChild<QTabWidget*>(QStringLiteral("PageControl2"));
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

        QTableView* realLevel = form().grid(GridId::StringGrid_ru);
        const QList<int> expected = {194, 30, 30, 50, 45, 50, 45, 50};
        for (int col = 0; col < expected.size(); ++col)
            QCOMPARE(realLevel->columnWidth(col), expected[col]);
        // Not wider than 530 pixels: the designed row heights stay.
        QCOMPARE(form().grid(GridId::StringGrid1)->verticalHeader()->defaultSectionSize(), 16);
        QCOMPARE(form().grid(GridId::StringGrid2)->verticalHeader()->defaultSectionSize(), 20);
        QCOMPARE(form().grid(GridId::StringGrid3)->verticalHeader()->defaultSectionSize(), 15);
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
        m_windows->setBox->RadioButton3Click();
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
        auto* pages = form().findChild<QTabWidget*>(QStringLiteral("PageControl2"));
        QCOMPARE(pages->currentWidget()->objectName(), QStringLiteral("t1"));
        QVERIFY(!form().findChild<QLabel*>(QStringLiteral("Image7"))->isVisible());
        QCOMPARE(Label(form(), "LabelOF")->text(), QStringLiteral("01.09.2026, OK"));
        QCOMPARE(Label(form(), "LabelNF")->text(), QStringLiteral("30.11.2026, OK"));
        QCOMPARE(Label(form(), "LabelOF")->palette().color(QPalette::WindowText), QColor(0, 128, 0));
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
        QVERIFY(form().comparison().startChosen);
        form().butTS1Click();
        QVERIFY(!form().comparison().startChosen);
        QCOMPARE(Label(form(), "LabelOF")->text(), QStringLiteral("01.09.2026, OK"));
        QCOMPARE(ListMatching(m_folders.start, "*.csv").size(), std::size_t{4});
        QVERIFY(m_host->messages.empty());

        // With the start unchosen, choosing the end loads nothing.
        m_host->openAnswers = {kSamples + QStringLiteral("/end.zip")};
        form().butTS2Click();
        QVERIFY(!form().findChild<QTabWidget*>(QStringLiteral("PageControl2"))->isVisible());
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
        QVERIFY(!form().findChild<QTabWidget*>(QStringLiteral("PageControl2"))->isVisible());
        QCOMPARE(Label(form(), "labelTS2")->text(), QStringLiteral("Выбрать файл на конец периода"));
        QCOMPARE(Label(form(), "LabelNF")->text(), QStringLiteral("не выбран"));
        QCOMPARE(Label(form(), "LabelNF")->palette().color(QPalette::WindowText), QColor(128, 0, 0));
        QVERIFY(form().comparison().endChosen);
        QCOMPARE(form().comparison().endDate, std::string("30.11.2026"));
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
        QVERIFY(form().comparison().startChosen);
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
        auto* pages = form().findChild<QTabWidget*>(QStringLiteral("PageControl2"));
        pages->setCurrentWidget(form().findChild<QWidget*>(QStringLiteral("t5")));
        QTableView* values = form().grid(GridId::StringGrid_pr);
        const Comparison& comparison = form().comparison();
        int favourable = -1;
        int unfavourable = -1;
        for (int row = 1; row < comparison.Grid(GridId::StringGrid_pr).RowCount(); ++row) {
            const CellStyle style = comparison.DrawCell(GridId::StringGrid_pr, 4, row);
            if (style.background == Background::Favourable && favourable < 0)
                favourable = row;
            if (style.background == Background::Unfavourable && unfavourable < 0)
                unfavourable = row;
        }
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

    void linkLabelsTurnPurpleAndOpenTheirPages() {
        showAndActivate();
        QLabel* site = Label(form(), "Label12");
        QTest::mouseClick(site, Qt::LeftButton);
        QCOMPARE(site->palette().color(QPalette::WindowText), QColor(128, 0, 128));
        form().Label14Click();
        QCOMPARE(m_host->openedUrls.size(), std::size_t{2});
        QCOMPARE(m_host->openedUrls[0], QUrl(kGameSiteUrl));
        QCOMPARE(m_host->openedUrls[1], QUrl(kAuthorPageUrl));
    }
};

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    cadrix::app::LoadResources();
    MainWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "main_window_test.moc"
