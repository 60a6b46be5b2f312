#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include <QCursor>
#include <QImage>
#include <QPixmap>
#include <QString>
#include <QWidget>

#include "archive_import.h"
#include "context_menu.h"
#include "font_choice.h"
#include "report_export.h"
#include "history/history.h"
#include "import/archive_choice.h"
#include "import/working_folders.h"
#include "views/comparison.h"
#include "views/palette.h"

class QLabel;
class QListWidget;
class QMimeData;
class QTabWidget;
class QTableView;

namespace Ui {
class FormMain;
class FormPages;
}

namespace cadrix::app {

class AboutBox;
class CellDelegate;
class ExInfoForm;
class GridModel;
class HistoryWindows;
class LoadForm;
class SetBox;
class SummaryWindow;
class UiHost;

// The main window: the two archive rows, the splash picture, and the seven
// pages painted from the comparison.
class FormMain : public QWidget {
    Q_OBJECT
public:
    FormMain(UiHost& host, WorkFolders folders, QWidget* parent = nullptr);
    ~FormMain() override;

    void setLoadForm(LoadForm* form) { m_loadForm = form; }
    // The detail panel, the settings and the About box are made when first
    // needed, and then kept as long as the main window.
    ExInfoForm& exInfoForm();
    SetBox& setBox();
    AboutBox& aboutBox();
    // The font family the settings chose, for the main window and every
    // window it owns.
    void chooseFont(FontFamily family);
    // The history keeps every chosen archive; the club page's button opens
    // its window and the player pages' menus its charts.
    void setHistory(HistoryWindows* history);

    // Chooses an archive as if the user had picked it in the open dialog.
    void chooseArchive(SnapshotSide side, const QString& path);
    // Chooses two stored snapshots as the start and the end, as choosing
    // their archives would.
    void compareStored(const History& history, SnapshotId start, SnapshotId end);
    // Archives from outside: a second start's, or this one's command line.
    // The window comes to the front; two are chosen as the start and the end,
    // one is compared with the previous stored export of its club, or chosen
    // as the start when there is none.
    void takeArchives(const QStringList& archives);
    // The player a row of a player page shows, and the one the chooser shows.
    std::optional<std::string> playerIdAt(GridId grid, int row) const;
    std::optional<std::string> chosenPlayerId() const;
    // Runs `action` once the window has been activated for the first time
    // (at once when it already has).
    void afterFirstActivation(std::function<void()> action);
    bool firstActivationDone() const { return m_activated; }
    // The first activation's work; runs once. Also called when a window
    // manager never activates the window, so that start-up still completes.
    void firstActivation();

    const Comparison& comparison() const { return m_comparison; }
    Comparison& comparison() { return m_comparison; }
    const SnapshotChoice& choice(SnapshotSide side) const {
        return side == SnapshotSide::Start ? m_startChoice : m_endChoice;
    }
    // The pages stay hidden until the first comparison and are made when
    // first needed: then, or when they or their grids are asked for.
    QTabWidget* pages();
    QTableView* grid(GridId id);
    const WorkFolders& folders() const { return m_folders; }

    // The handlers, by their names in the window layout.
    void FormCreate();
    void FormActivate();
    void butTS1Click();
    void butTS2Click();
    void SpeedButtonFillClick();
    void ComboBox3Change(int index);
    void Label12Click();
    void Label14Click();
    void Button1Click();
    void Button2Click();
    void FillButtonClick();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void CatchDrag();

    // "Сохранить отчёт…": the report of the pages in the form the user picks
    // in the save dialog.
    void saveReport();
    // Writes the report there; throws with the message to show.
    void saveReportTo(const ReportTarget& target);
    // "Итоги периода…": the period summary in a window of its own.
    void showSummary();
    SummaryWindow* summaryWindow() const { return m_summaryWindow; }
    // The loaded comparison with the archive rows' texts and the palette,
    // as the reports take it.
    WindowReport windowReport() const;
    // "Цвета для дальтоников": the palette the grids, the totals and the
    // reports show changes in, remembered for the next run.
    PaletteChoice paletteChoice() const { return m_palette; }
    void choosePalette(PaletteChoice choice);

    // The skills grid as the screen shows it, or as the grid paints itself
    // where the screen cannot be read; and the file name proposed for it.
    QImage captureSkillsArea();
    QString proposedScreenshotName() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Ui::FormPages& pagesUi();
    void buildPages();
    void setUpPanels();
    void setUpTabs();
    void styleTabs();
    void setUpSkillsPage();
    void setUpCaptions();
    void setUpGrids();
    void sizeRealLevelGrid();
    void setCursors();
    void setPageCursors();
    // The items of a page grid's context menu, in their order.
    std::vector<MenuCommand> gridCommands(GridId grid);
    // The selected rows of a page grid, or the whole page, as a table on the
    // clipboard.
    void copyRows(GridId grid);
    void copyPage(GridId grid);
    QString proposedReportName() const;
    void connectHandlers();
    // The page keys, the window's shortcuts and the splash picture's menu.
    void setUpKeys();
    void connectPageHandlers();
    void connectHistoryButton();
    // Gives a window made after a font choice the family chosen.
    void reachWithFont(QWidget& window, WindowFont windowFont);
    void setSkillsGridPoints(int points);
    // Without a path, the user picks the archive in the open dialog. True
    // when the archive's players file was read.
    bool chooseArchiveOf(SnapshotSide side, std::optional<QString> path);
    // The archive row under a point of the window, if any.
    std::optional<SnapshotSide> rowAt(QPoint at) const;
    // Files can be dropped one onto an archive row, or two anywhere.
    bool canDrop(const QMimeData* dragged, QPoint at) const;
    // Chooses dropped archives: one for its row, or two, the older as the
    // start. A file that is not a statistics archive is refused, and then
    // none is chosen.
    void chooseDropped(const QStringList& files, std::optional<SnapshotSide> row);
    void chooseStoredOf(SnapshotSide side, const History& history, SnapshotId id);
    // A choice's end: the error path, or the load run. True when loaded.
    bool finishChoice(SnapshotChoice& choice, ChoiceStatus status);
    // Once both rows are chosen, the pair is put to the user where it looks
    // wrong; false when it is not to be compared. `chosen`: the row chosen
    // last.
    bool acceptPair(SnapshotSide chosen);
    // Stores the chosen archive, unless `incomplete` names an entry that did
    // not come out whole; then says that it is not stored.
    void keepInHistory(SnapshotSide side, const QString& archive, const std::optional<std::string>& incomplete);
    void compareWithPrevious(const QString& archive);
    // "Развитие игрока…" for the player `player` points at.
    MenuCommand playerDevelopment(std::function<std::optional<std::string>()> player);
    // Shows a snapshot's row and hands its flag and date to the comparison.
    void showChoice(const SnapshotChoice& choice);
    // The detail panel goes away with the main window when it is minimised
    // and comes back when it is restored.
    void followWindowState();
    // Hides the panel and turns its toggle back, when what it showed is gone.
    void closePanel();
    void showSplash();
    void showPages();
    void refreshViews();
    void refreshLabels();
    template <typename Handler>
    void run(Handler&& handler);

    std::unique_ptr<Ui::FormMain> m_ui;
    std::unique_ptr<Ui::FormPages> m_pagesUi;
    QTabWidget* m_pages = nullptr;
    UiHost& m_host;
    WorkFolders m_folders;
    Comparison m_comparison;
    SnapshotChoice m_startChoice = SnapshotChoice::Initial(SnapshotSide::Start);
    SnapshotChoice m_endChoice = SnapshotChoice::Initial(SnapshotSide::End);
    std::map<GridId, GridModel*> m_models;
    QPixmap m_grass;
    QListWidget* m_listBox1 = nullptr;  // made with the pages
    // The window's two pointers, made once: every widget given one shares it.
    QCursor m_arrow;
    QCursor m_hand;
    QString m_openDialogFolder;
    bool m_activated = false;
    bool m_tabsStyled = false;
    bool m_panelAwayWhileMinimised = false;
    std::vector<std::function<void()>> m_afterActivation;
    LoadForm* m_loadForm = nullptr;
    HistoryWindows* m_history = nullptr;
    SummaryWindow* m_summaryWindow = nullptr;
    PaletteChoice m_palette = PaletteChoice::Designed;
    std::optional<FontFamily> m_fontFamily;
    // The main window's own windows, last, so that they go first.
    std::unique_ptr<AboutBox> m_aboutBox;
    std::unique_ptr<SetBox> m_setBox;
    std::unique_ptr<ExInfoForm> m_exInfoForm;
};

// The two web addresses of the program's links.
inline const QString kGameSiteUrl = QStringLiteral("https://www.orvanto.ru/");
inline const QString kAuthorPageUrl = QStringLiteral("https://www.orvanto.ru/users/Sever");

// The open dialogs' filter.
inline const QString kArchiveFilter = QStringLiteral("Orvanto Statistics (*.zip)|*.zip");
// The screenshot's save dialog.
inline const QString kJpegFilter = QStringLiteral("JPEG Image (*.jpg)|*.jpg");

}  // namespace cadrix::app
