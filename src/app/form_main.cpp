#include "form_main.h"

#include <array>
#include <cmath>

#include <QComboBox>
#include <QCoreApplication>
#include <QCursor>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

#include "cell_delegate.h"
#include "error_box.h"
#include "ex_info_form.h"
#include "grid_model.h"
#include "history/stored_choice.h"
#include "history_windows.h"
#include "import/working_folders.h"
#include "jpeg_writer.h"
#include "load_form.h"
#include "look.h"
#include "player_menu.h"
#include "report_export.h"
#include "saved_settings.h"
#include "set_box.h"
#include "snapshot/skills.h"
#include "summary_window.h"
#include "ui_form_main.h"
#include "uihost.h"
#include "views/page_text.h"
#include "views/player_rows.h"
#include "views/summary.h"

namespace cadrix::app {

namespace {

// The window's client area never changes size.
constexpr QSize kClientSize{549, 553};
// The grass picture is stretched to this size from the client area's top-left
// corner and clipped at its edges.
constexpr QSize kGrassSize{593, 633};

const QColor kCaptionRed{179, 0, 0};
const QColor kPageColour{252, 252, 254};

// The detail panel keeps this gap to the main window and stands this far
// below its top.
constexpr int kPanelGap = 5;
constexpr int kPanelDrop = 125;

// The real-level grid's columns get their widths as a share of the grid's
// width, computed in single precision and truncated.
constexpr std::array<float, 8> kRealLevelShares = {
    0.3723608445297505f,  0.05758157389635317f, 0.05758157389635317f, 0.09596928982725528f,
    0.08637236084452975f, 0.09596928982725528f, 0.08637236084452975f, 0.09596928982725528f,
};
// Wider than this, the grids get taller rows.
constexpr int kWideRealLevelGrid = 530;

// A column width and a row height are a cell's own size; the grid line
// between two cells adds this to it. Qt counts the line in a section's size.
constexpr int kGridLine = 1;

// How the window lays out a page grid; its name, size and fixed cells come
// from the grid table of the views.
struct GridLayout {
    GridId id;
    std::vector<int> widths;  // empty: set from the grid's width
    int rowHeight;
    int wideRowHeight;
    bool rowSelect;
    bool verticalScrollBar;
};

const std::vector<GridLayout>& GridLayouts() {
    static const std::vector<GridLayout> layouts = {
        {GridId::StringGrid1, {118, 154, 148, 96}, 16, 19, false, false},
        {GridId::StringGrid2, {130, 89, 68, 89, 68, 70}, 20, 23, false, false},
        {GridId::StringGrid_nat, {133, 25, 33, 38, 95, 33, 38, 97}, 17, 19, true, true},
        {GridId::StringGrid_pay, {174, 32, 58, 56, 56, 55, 62}, 17, 19, true, true},
        {GridId::StringGrid_pr, {212, 43, 78, 78, 84}, 17, 19, true, true},
        {GridId::StringGrid_ru, {}, 17, 19, true, true},
        {GridId::StringGrid3, {259, 89, 90, 78}, 15, 17, true, false},
    };
    return layouts;
}

// The pages with a row per player.
bool IsPlayerGrid(GridId id) {
    return id == GridId::StringGrid_ru || id == GridId::StringGrid_pr || id == GridId::StringGrid_pay ||
           id == GridId::StringGrid_nat;
}

QString Text(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

void SetPixelFont(QWidget* widget, const QString& family, int pixels, bool bold = false) {
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    widget->setFont(font);
}

// A totals line: the two totals, their change, and the shape behind it in
// the palette's colour of the change, or the window's button face when there
// is no change.
void ShowTotals(const TotalsLine& line, std::array<QLabel*, 3> labels, QFrame* shape, const Palette& colours,
                const QPalette& window) {
    labels[0]->setText(Text(line.start));
    labels[1]->setText(Text(line.end));
    labels[2]->setText(Text(line.change));
    const auto changed = ShapeFill(colours, line.shape);
    const QColor fill = changed ? ToQColor(*changed) : window.color(QPalette::Button);
    shape->setStyleSheet(QStringLiteral("QFrame { background-color: %1; border: 1px solid black; }").arg(fill.name()));
}

}  // namespace

template <typename Handler>
void FormMain::run(Handler&& handler) {
    RunHandler(m_host, this, std::forward<Handler>(handler));
}

FormMain::FormMain(UiHost& host, WorkFolders folders, QWidget* parent)
    : QWidget(parent),
      m_ui(std::make_unique<Ui::FormMain>()),
      m_host(host),
      m_folders(std::move(folders)),
      m_palette(SavedPalette()) {
    m_ui->setupUi(this);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(kClientSize);
    setWindowIcon(QIcon(QStringLiteral(":/icons/cadrix.png")));
    m_grass = CompiledPicture(QStringLiteral(":/images/grass.pixels"));
    setUpPanels();
    setUpTabs();
    setUpSkillsPage();
    setUpCaptions();
    setUpGrids();
    connectHandlers();
    // Archives dropped from a file manager are chosen as the dialogs would.
    setAcceptDrops(true);
    FormCreate();
    refreshLabels();
}

FormMain::~FormMain() = default;

QTableView* FormMain::grid(GridId id) const {
    const std::string_view name = InfoOf(id).name;
    return findChild<QTableView*>(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
}

// The archive rows, the splash picture with its links and version caption.
void FormMain::setUpPanels() {
    Ui::FormMain& ui = *m_ui;
    for (QFrame* panel : {ui.Panel1, ui.Panel2}) {
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setLineWidth(1);
    }
    // The archive rows sit on an opaque panel, so that their coloured
    // status texts stay readable over the grass.
    ui.Panel1->setAutoFillBackground(true);
    ui.Panel1->setBackgroundRole(QPalette::Button);
    showChoice(m_startChoice);
    showChoice(m_endChoice);

    ui.Image7->setPixmap(CompiledPicture(QStringLiteral(":/images/splash.pixels")));
    ui.Image7->setScaledContents(true);
    ui.Image7->setGeometry(ui.Panel2->contentsRect());
    for (QLabel* link : {ui.Label12, ui.Label14}) {
        SetPixelFont(link, QStringLiteral("Arial"), 12);
        SetTextColour(link, kLinkBlue);
        link->installEventFilter(this);
    }
    SetPixelFont(ui.Label16, QStringLiteral("Arial"), 16, true);
    SetPixelFont(ui.Label11, QStringLiteral("Arial"), 16, true);
    SetTextColour(ui.Label16, Qt::black);
    SetTextColour(ui.Label11, kCaptionRed);
    ui.Image2->setPixmap(QPixmap(QStringLiteral(":/images/emblem.png")));
    for (QWidget* control : std::initializer_list<QWidget*>{ui.SpeedButtonFill, ui.sbCalc, ui.FillButton, ui.ListBox1})
        control->hide();
}

void FormMain::setUpTabs() {
    QTabWidget* pages = m_ui->PageControl2;
    static constexpr std::array<int, 7> kTabIcons = {0, 1, 2, 4, 5, 3, 6};
    for (int i = 0; i < pages->count(); ++i) {
        pages->setTabIcon(i, QIcon(QStringLiteral(":/icons/tab%1.png").arg(kTabIcons[i])));
        // The pages are drawn in the light colour of a tab body.
        QWidget* page = pages->widget(i);
        QPalette palette = page->palette();
        palette.setColor(QPalette::Window, kPageColour);
        page->setPalette(palette);
        page->setAutoFillBackground(true);
    }
    pages->setIconSize(QSize(16, 16));
    pages->setUsesScrollButtons(false);
    pages->setElideMode(Qt::ElideNone);
    pages->hide();
}

// The pages stay hidden until the first comparison: their style sheet, which
// every widget on them takes up, is set when they are first shown, so that
// it does not delay the window's first appearance.
void FormMain::styleTabs() {
    if (m_tabsStyled)
        return;
    m_tabsStyled = true;
    // Tabs drawn as buttons, the current one pressed in.
    m_ui->PageControl2->setStyleSheet(
        QStringLiteral("QTabWidget::pane { border: none; }"
                       "QTabBar::tab { color: black; background: palette(button); border: 1px solid palette(dark);"
                       " border-top-color: palette(light); border-left-color: palette(light);"
                       " padding: 3px 1px; margin: 1px 1px 3px 0px; }"
                       "QTabBar::tab:selected { background: palette(midlight); border-top-color: palette(dark);"
                       " border-left-color: palette(dark); border-bottom-color: palette(light);"
                       " border-right-color: palette(light); }"));
}

void FormMain::setUpSkillsPage() {
    Ui::FormMain& ui = *m_ui;
    // The panel toggle is shown, so that the panel can be opened; it is
    // enabled by the first player choice. The chooser ends before it.
    ui.SpeedButton2->setText(QStringLiteral(">>"));
    ui.SpeedButton2->setToolTip(QStringLiteral("Открыть детальную статистику"));
    ui.SpeedButton2->setEnabled(false);
    ui.ComboBox3->resize(ui.SpeedButton2->x() - ui.ComboBox3->x() - 4, ui.ComboBox3->height());
    ui.ComboBox3->setMaxVisibleItems(20);
    InstallContextMenu(*ui.ComboBox3, {playerDevelopment([this] { return chosenPlayerId(); })});
    ui.SpeedButton1->setIcon(QIcon(QStringLiteral(":/icons/screenshot.png")));
    ui.SpeedButton1->setToolTip(QStringLiteral("Сохранить скриншот"));
}

// The header and totals labels around the grids, with their bands and stars.
void FormMain::setUpCaptions() {
    Ui::FormMain& ui = *m_ui;
    // Bands and frames in the button-face colour behind the labels.
    for (QFrame* band : findChildren<QFrame*>()) {
        const QString name = band->objectName();
        if (name.startsWith(QStringLiteral("Band")) || name.startsWith(QStringLiteral("FrameInfra"))) {
            band->setAutoFillBackground(true);
            band->setBackgroundRole(QPalette::Button);
        }
    }
    ui.BandNat->setAutoFillBackground(false);
    ui.BevelNat->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    for (QLabel* label : {ui.Label35, ui.Label36})
        SetPixelFont(label, QStringLiteral("Arial"), 12);
    for (QLabel* label : {ui.LabelInfraBuilding, ui.LabelInfraLevel1, ui.LabelInfraWear1, ui.LabelInfraLevel2,
                          ui.LabelInfraWear2, ui.LabelInfraProgress})
        SetPixelFont(label, QStringLiteral("Arial"), 11);

    // The small status stars of the counters and of the legend, by status.
    const std::array<std::array<QLabel*, kNationalStatusCount>, 3> stars = {{
        {ui.StarLO1, ui.StarLO2, ui.StarLO3, ui.StarLO4},
        {ui.StarLN1, ui.StarLN2, ui.StarLN3, ui.StarLN4},
        {ui.StarLegend1, ui.StarLegend2, ui.StarLegend3, ui.StarLegend4},
    }};
    const std::array<QLabel*, kNationalStatusCount> legend = {ui.LabelLegend1, ui.LabelLegend2, ui.LabelLegend3,
                                                              ui.LabelLegend4};
    for (const NationalStatusLook& look : kNationalStatuses) {
        const auto i = static_cast<std::size_t>(look.status);
        for (const auto& row : stars)
            row[i]->setPixmap(SmallStarPixmap(look.picture));
        legend[i]->setText(Text(look.legend));
    }
}

void FormMain::setUpGrids() {
    for (const GridLayout& layout : GridLayouts()) {
        QTableView* view = grid(layout.id);
        auto* model = new GridModel(m_comparison, layout.id, view);
        model->setPalette(m_palette);
        m_models[layout.id] = model;
        view->setModel(model);
        view->setItemDelegate(new CellDelegate(layout.id, view));
        for (QHeaderView* header : {view->horizontalHeader(), view->verticalHeader()}) {
            header->hide();
            header->setMinimumSectionSize(1);
        }
        view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        view->verticalHeader()->setDefaultSectionSize(layout.rowHeight + kGridLine);
        view->setEditTriggers(QAbstractItemView::NoEditTriggers);
        view->setSelectionMode(layout.rowSelect ? QAbstractItemView::ContiguousSelection
                                                : QAbstractItemView::NoSelection);
        view->setSelectionBehavior(QAbstractItemView::SelectRows);
        view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view->setVerticalScrollBarPolicy(layout.verticalScrollBar ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
        view->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
        view->setWordWrap(false);
        view->setCornerButtonEnabled(false);
        view->setFocusPolicy(layout.rowSelect ? Qt::StrongFocus : Qt::NoFocus);
        QFont font(QStringLiteral("Arial"));
        if (layout.id == GridId::StringGrid3)
            font.setPointSize(7);
        else
            font.setPixelSize(11);
        view->setFont(font);
        for (int col = 0; col < static_cast<int>(layout.widths.size()); ++col)
            view->setColumnWidth(col, layout.widths[col] + kGridLine);
        InstallContextMenu(*view, gridCommands(layout.id));
    }
}

// A new item is one more entry here; an item for some pages only tests `id`.
std::vector<MenuCommand> FormMain::gridCommands(GridId id) {
    std::vector<MenuCommand> commands = {
        {QStringLiteral("Копировать"), QKeySequence::Copy, [this, id] { copyRows(id); }},
        {QStringLiteral("Копировать всё"), {}, [this, id] { copyPage(id); }},
    };
    if (IsPlayerGrid(id))
        commands.push_back(playerDevelopment([this, id] { return playerIdAt(id, grid(id)->currentIndex().row()); }));
    commands.push_back(MenuSeparator());
    commands.push_back(
        {QStringLiteral("Сохранить отчёт…"), {}, [this] { saveReport(); }, {}, QStringLiteral("SaveReportAction")});
    commands.push_back(
        {QStringLiteral("Итоги периода…"), {}, [this] { showSummary(); }, {}, QStringLiteral("PeriodSummaryAction")});
    commands.push_back(MenuSeparator());
    MenuCommand colourblind{QStringLiteral("Цвета для дальтоников"), {}, {}, {}, QStringLiteral("ColourblindAction")};
    colourblind.run = [this] {
        choosePalette(m_palette == PaletteChoice::Colourblind ? PaletteChoice::Designed : PaletteChoice::Colourblind);
    };
    colourblind.checked = [this] { return m_palette == PaletteChoice::Colourblind; };
    commands.push_back(std::move(colourblind));
    return commands;
}

void FormMain::copyRows(GridId id) {
    std::vector<TextLine> lines;
    for (int row : RowsToCopy(*grid(id), InfoOf(id).fixedRows))
        lines.push_back(RowText(m_comparison, id, row));
    if (!lines.empty())
        CopyText(TabSeparated(lines));
}

void FormMain::copyPage(GridId id) { CopyText(TabSeparated(PageTextOf(m_comparison, id).Lines())); }

void FormMain::saveReport() {
    run([this] {
        QString filter;
        const QString chosen = m_host.getSaveFileName(this, QString(), proposedReportName(), QtFilter(kReportFilter),
                                                      QStringLiteral("html"), &filter);
        if (chosen.isEmpty())
            return;
        const ReportTarget target = ReportTargetOf(chosen, filter);
        WindowReport report;
        report.comparison = &m_comparison;
        report.palette = m_palette;
        report.archives = {ArchiveRow{m_startChoice.fileLabel, m_startChoice.dateLabel},
                           ArchiveRow{m_endChoice.fileLabel, m_endChoice.dateLabel}};
        SaveReport(report, target, grid(GridId::StringGrid1)->font());
        m_host.message(this, QStringLiteral("Информация"),
                       QStringLiteral("Сохранено в ") + QFileInfo(target.path).absoluteFilePath(),
                       QMessageBox::Information, QMessageBox::Ok);
    });
}

// "Отчёт 01.09.2026-30.11.2026.html": the period's dates as the pages show them.
QString FormMain::proposedReportName() const {
    const ComparisonResult& result = m_comparison.Result();
    return QStringLiteral("Отчёт %1-%2.html").arg(Text(result.startDate), Text(result.endDate));
}

void FormMain::showSummary() {
    run([this] {
        if (!m_summaryWindow)
            m_summaryWindow = new SummaryWindow(this);
        const ComparisonResult& result = m_comparison.Result();
        const QString title =
            Text(kSummaryTitle) + QStringLiteral(" %1 – %2").arg(Text(result.startDate), Text(result.endDate));
        m_summaryWindow->showSummary(title, Text(SummaryText(SummarisePeriod(m_comparison))));
    });
}

void FormMain::choosePalette(PaletteChoice choice) {
    m_palette = choice;
    SavePalette(choice);
    for (auto& [id, model] : m_models)
        model->setPalette(choice);
    refreshLabels();
}

void FormMain::connectHandlers() {
    Ui::FormMain& ui = *m_ui;
    connect(ui.butTS1, &QPushButton::clicked, this, [this] { butTS1Click(); });
    connect(ui.butTS2, &QPushButton::clicked, this, [this] { butTS2Click(); });
    connect(ui.Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(ui.Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    connect(ui.FillButton, &QPushButton::clicked, this, [this] { FillButtonClick(); });
    connect(ui.SpeedButtonFill, &QPushButton::clicked, this, [this] { SpeedButtonFillClick(); });
    connect(ui.SpeedButton1, &QToolButton::clicked, this, [this] { SpeedButton1Click(); });
    connect(ui.SpeedButton2, &QToolButton::clicked, this, [this] { SpeedButton2Click(); });
    connect(ui.ComboBox3, &QComboBox::activated, this, [this](int index) { ComboBox3Change(index); });
}

void FormMain::setCursors() {
    Ui::FormMain& ui = *m_ui;
    QList<QWidget*> arrowed = {this, ui.Image2, ui.t1, ui.t2, ui.t3, ui.t4, ui.t5, ui.t6, ui.t7, ui.Panel1, ui.Panel2};
    for (const GridInfo& info : kGrids)
        arrowed << grid(info.id) << grid(info.id)->viewport();
    for (QWidget* widget : arrowed)
        widget->setCursor(ArrowCursor());
    for (QWidget* widget : std::initializer_list<QWidget*>{ui.ComboBox3, ui.butTS1, ui.butTS2, ui.Label12, ui.Label14,
                                                           ui.PageControl2->tabBar(), ui.SpeedButton1})
        widget->setCursor(HandCursor());
}

void FormMain::FormCreate() {
    setCursors();
    // The open dialogs start in the program's folder; an installed program's
    // folder holds no archives, so there they start in the user's home.
    const QString programFolder = QCoreApplication::applicationDirPath();
    m_openDialogFolder = QFileInfo(programFolder).isWritable() ? programFolder : QDir::homePath();
    if (!m_openDialogFolder.endsWith(u'/'))
        m_openDialogFolder += u'/';

    QTableView* realLevel = m_ui->StringGrid_ru;
    const int width = realLevel->width();
    for (int col = 0; col < static_cast<int>(kRealLevelShares.size()); ++col)
        realLevel->setColumnWidth(col, static_cast<int>(static_cast<float>(width) * kRealLevelShares[col]) + kGridLine);
    if (width > kWideRealLevelGrid) {
        for (const GridLayout& layout : GridLayouts())
            grid(layout.id)->verticalHeader()->setDefaultSectionSize(layout.wideRowHeight + kGridLine);
    }
}

void FormMain::FormActivate() {
    EmptyWorkingFolder(m_folders.base, SnapshotSide::Start);
    EmptyWorkingFolder(m_folders.base, SnapshotSide::End);
    if (m_setBox)
        m_setBox->RadioButton4Click();
}

void FormMain::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    // Only the first activation empties the working folders and applies the
    // default font: coming back from another window of the program must not
    // delete a chosen snapshot's files nor undo the user's font choice.
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        firstActivation();
    if (event->type() == QEvent::WindowStateChange)
        followWindowState();
}

void FormMain::followWindowState() {
    if (!m_exInfoForm)
        return;
    if (isMinimized()) {
        if (m_exInfoForm->isVisible()) {
            m_panelAwayWhileMinimised = true;
            m_exInfoForm->hide();
        }
    } else if (m_panelAwayWhileMinimised) {
        m_panelAwayWhileMinimised = false;
        // Not a plain show(): a window manager that minimised the panel with
        // its owner would keep the whole window group minimised.
        m_exInfoForm->showNormal();
        CatchDrag();
    }
}

void FormMain::closePanel() {
    m_panelAwayWhileMinimised = false;
    if (!m_exInfoForm || !m_exInfoForm->isVisible())
        return;
    m_exInfoForm->hide();
    m_ui->SpeedButton2->setText(QStringLiteral(">>"));
    m_ui->SpeedButton2->setToolTip(QStringLiteral("Показать детальную статистику"));
}

void FormMain::firstActivation() {
    if (m_activated)
        return;
    m_activated = true;
    run([this] { FormActivate(); });
    auto pending = std::move(m_afterActivation);
    m_afterActivation.clear();
    for (auto& action : pending)
        QTimer::singleShot(0, this, action);
}

void FormMain::afterFirstActivation(std::function<void()> action) {
    if (m_activated)
        QTimer::singleShot(0, this, action);
    else
        m_afterActivation.push_back(std::move(action));
}

void FormMain::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(QRect(QPoint(0, 0), kGrassSize), m_grass);
}

bool FormMain::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == m_ui->Label12) {
            Label12Click();
            return true;
        }
        if (watched == m_ui->Label14) {
            Label14Click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void FormMain::Label12Click() {
    run([this] {
        SetTextColour(m_ui->Label12, kVisitedPurple);
        OpenWebPage(m_host, this, kGameSiteUrl);
    });
}

void FormMain::Label14Click() {
    run([this] {
        SetTextColour(m_ui->Label14, kVisitedPurple);
        OpenWebPage(m_host, this, kAuthorPageUrl);
    });
}

void FormMain::Button1Click() {
    if (m_setBox)
        m_setBox->exec();
}

void FormMain::Button2Click() {
    if (auto* dialog = qobject_cast<QDialog*>(m_aboutBox))
        dialog->exec();
}

void FormMain::FillButtonClick() {
    if (m_loadForm)
        m_loadForm->showTables(m_comparison);
}

void FormMain::butTS1Click() {
    run([this] { chooseArchiveOf(SnapshotSide::Start, std::nullopt); });
}

void FormMain::butTS2Click() {
    run([this] { chooseArchiveOf(SnapshotSide::End, std::nullopt); });
}

void FormMain::chooseArchive(SnapshotSide side, const QString& path) {
    run([&] { chooseArchiveOf(side, path); });
}

bool FormMain::chooseArchiveOf(SnapshotSide side, std::optional<QString> path) {
    SnapshotChoice& choice = side == SnapshotSide::Start ? m_startChoice : m_endChoice;
    BeginChoice(choice);
    showChoice(choice);
    const QString archive =
        path ? *path : m_host.getOpenFileName(this, QString(), m_openDialogFolder, QtFilter(kArchiveFilter));
    if (archive.isEmpty())
        return false;
    HostQuestions questions(m_host, this);
    ChoiceStatus status;
    try {
        status = ChooseArchive(choice, std::filesystem::path(archive.toStdString()), m_folders.base, questions);
    } catch (...) {
        // The flag is set before the extraction; an archive error leaves it so.
        showChoice(choice);
        throw;
    }
    showChoice(choice);
    if (status == ChoiceStatus::Extracted)
        keepInHistory(side, archive);
    return finishChoice(choice, status);
}

bool FormMain::finishChoice(SnapshotChoice& choice, ChoiceStatus status) {
    showChoice(choice);
    if (status == ChoiceStatus::InvalidStatistics) {
        m_host.message(this, QStringLiteral("Ошибка"), Text(kInvalidStatisticsText), QMessageBox::Critical,
                       QMessageBox::Ok);
        showSplash();
        return false;
    }
    SpeedButtonFillClick();
    return true;
}

namespace {

// The local files a drag carries; none when it carries anything else too.
QStringList LocalFiles(const QMimeData* data) {
    QStringList files;
    if (!data || !data->hasUrls())
        return files;
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile())
            return {};
        files << url.toLocalFile();
    }
    return files;
}

}  // namespace

std::optional<SnapshotSide> FormMain::rowAt(QPoint at) const {
    const QWidget* panel = m_ui->Panel1;
    const QPoint inside = panel->mapFrom(this, at);
    if (!panel->rect().contains(inside))
        return std::nullopt;
    return inside.y() < panel->height() / 2 ? SnapshotSide::Start : SnapshotSide::End;
}

bool FormMain::canDrop(const QMimeData* dragged, QPoint at) const {
    const qsizetype files = LocalFiles(dragged).size();
    return files == 2 || (files == 1 && rowAt(at));
}

void FormMain::dragEnterEvent(QDragEnterEvent* event) {
    if (canDrop(event->mimeData(), event->position().toPoint()))
        event->acceptProposedAction();
}

void FormMain::dragMoveEvent(QDragMoveEvent* event) {
    if (canDrop(event->mimeData(), event->position().toPoint()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void FormMain::dropEvent(QDropEvent* event) {
    const QPoint at = event->position().toPoint();
    if (!canDrop(event->mimeData(), at)) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    // The choice runs after the drop has ended, so that the program the
    // files came from is not kept waiting by its dialogs.
    QTimer::singleShot(0, this, [this, files = LocalFiles(event->mimeData()), row = rowAt(at)] {
        run([&] { chooseDropped(files, row); });
    });
}

void FormMain::chooseDropped(const QStringList& files, std::optional<SnapshotSide> row) {
    std::vector<std::pair<QString, std::uint32_t>> archives;
    for (const QString& file : files) {
        std::optional<std::uint32_t> stamp;
        if (file.endsWith(QStringLiteral(".zip"), Qt::CaseInsensitive))
            stamp = PlayersFileStamp(std::filesystem::path(file.toStdString()));
        if (!stamp) {
            m_host.message(this, QStringLiteral("Ошибка"),
                           Text(kInvalidStatisticsText) + QStringLiteral(": ") + QDir::toNativeSeparators(file),
                           QMessageBox::Critical, QMessageBox::Ok);
            return;
        }
        archives.emplace_back(file, *stamp);
    }
    if (archives.size() == 1 && row) {
        chooseArchiveOf(*row, archives[0].first);
        return;
    }
    if (archives.size() != 2)
        return;
    if (archives[1].second < archives[0].second)
        std::swap(archives[0], archives[1]);
    // The end counts as not chosen until its turn, so that the start's choice
    // does not load it beside an earlier end.
    BeginChoice(m_endChoice);
    showChoice(m_endChoice);
    if (chooseArchiveOf(SnapshotSide::Start, archives[0].first))
        chooseArchiveOf(SnapshotSide::End, archives[1].first);
}

void FormMain::showChoice(const SnapshotChoice& choice) {
    const bool start = choice.side == SnapshotSide::Start;
    QLabel* fileLabel = start ? m_ui->labelTS1 : m_ui->labelTS2;
    QLabel* dateLabel = start ? m_ui->LabelOF : m_ui->LabelNF;
    fileLabel->setText(QString::fromStdString(choice.fileLabel));
    dateLabel->setText(QString::fromStdString(choice.dateLabel));
    const Rgb& c = choice.dateLabelColour;
    SetTextColour(dateLabel, QColor(c.r, c.g, c.b));
}

void FormMain::SpeedButtonFillClick() {
    bool loaded = false;
    try {
        loaded = m_comparison.Load({m_startChoice.chosen, m_startChoice.dateText, m_folders.start},
                                   {m_endChoice.chosen, m_endChoice.dateText, m_folders.end});
    } catch (...) {
        // A load that stops half-way still leaves the grids at new sizes.
        refreshViews();
        throw;
    }
    if (!loaded)
        return;
    refreshViews();
    showPages();
}

void FormMain::ComboBox3Change(int index) {
    run([&] {
        m_comparison.ChoosePlayer(index);
        m_models.at(GridId::StringGrid3)->textsChanged();
        m_ui->SpeedButton2->setEnabled(m_comparison.PanelToggleEnabled());
        if (m_exInfoForm)
            m_exInfoForm->setValues(m_comparison.ExInfo());
    });
}

void FormMain::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    CatchDrag();
}

void FormMain::CatchDrag() {
    if (!m_exInfoForm || !m_exInfoForm->isVisible())
        return;
    const QRect main = frameGeometry();
    const QScreen* display = screen() ? screen() : QGuiApplication::primaryScreen();
    const QRect desktop = display ? display->geometry() : QRect(0, 0, main.right() + 1, main.bottom() + 1);
    const int panelWidth = m_exInfoForm->frameGeometry().width();
    const int room = desktop.width() - main.width() - panelWidth;
    const int left = room < main.left() - desktop.left() ? main.left() - panelWidth - kPanelGap
                                                         : main.left() + main.width() + kPanelGap;
    m_exInfoForm->move(left, main.top() + kPanelDrop);
}

void FormMain::SpeedButton2Click() {
    run([this] {
        if (!m_exInfoForm)
            return;
        QToolButton* toggle = m_ui->SpeedButton2;
        if (!m_exInfoForm->isVisible()) {
            const QRect main = frameGeometry();
            m_exInfoForm->move(main.left() + main.width() + kPanelGap, main.top() + kPanelDrop);
            m_exInfoForm->show();
            toggle->setText(QStringLiteral("<<"));
            toggle->setToolTip(QStringLiteral("Скрыть детальную статистику"));
        } else {
            closePanel();
        }
    });
}

void FormMain::SpeedButton1Click() {
    run([this] {
        const QString chooserText = QString::fromStdString(m_comparison.ComboBox3Text());
        if (chooserText.isEmpty()) {
            m_host.message(this, QStringLiteral("Ошибка"), QStringLiteral("Выберите игрока для сохранения"),
                           QMessageBox::Critical, QMessageBox::Ok);
            return;
        }
        const QImage picture = captureSkillsArea();
        const QString path = m_host.getSaveFileName(this, QString(), proposedScreenshotName(), QtFilter(kJpegFilter),
                                                    QStringLiteral("jpg"), nullptr);
        if (path.isEmpty())
            return;
        const QString fullPath = QFileInfo(path).absoluteFilePath();
        WriteJpeg(picture, fullPath);
        m_host.message(this, QStringLiteral("Информация"), QStringLiteral("Сохранено в ") + fullPath,
                       QMessageBox::Information, QMessageBox::Ok);
    });
}

QImage FormMain::captureSkillsArea() {
    // The skills grid's own rectangle on the screen, its border included.
    // Offsets from the outer frame would hold for one size of window frame
    // only; this holds on any desktop, with any frame or none.
    QTableView* skills = m_ui->StringGrid3;
    const QRect area(skills->mapToGlobal(QPoint(0, 0)), skills->size());
    QImage picture = m_host.grabScreen(area).toImage();
    if (picture.size() == area.size())
        return picture;
    // The platform cannot read the screen (Wayland, offscreen): take the
    // grid's own pixels instead.
    return skills->grab().toImage();
}

QString FormMain::proposedScreenshotName() const {
    return QString::fromStdString(NameOfChooserText(m_comparison.ComboBox3Text()));
}

void FormMain::showSplash() {
    closePanel();
    m_ui->Image7->show();
    m_ui->PageControl2->hide();
}

void FormMain::showPages() {
    styleTabs();
    m_ui->Image7->hide();
    m_ui->PageControl2->show();
    m_ui->PageControl2->setCurrentWidget(m_ui->t1);
}

void FormMain::refreshViews() {
    for (auto& [id, model] : m_models)
        model->reload();
    refreshLabels();
    QComboBox* chooser = m_ui->ComboBox3;
    chooser->clear();
    for (const std::string& item : m_comparison.ComboBox3())
        chooser->addItem(QString::fromStdString(item));
    chooser->setCurrentIndex(m_comparison.ChosenIndex());
    m_ui->ListBox1->clear();
    for (const std::string& id : m_comparison.ListBox1())
        m_ui->ListBox1->addItem(QString::fromStdString(id));
    m_ui->SpeedButton2->setEnabled(m_comparison.PanelToggleEnabled());
    // An emptied chooser has no player whose values the panel could show.
    if (m_comparison.ChosenIndex() < 0)
        closePanel();
    if (m_exInfoForm)
        m_exInfoForm->setValues(m_comparison.ExInfo());
}

void FormMain::refreshLabels() {
    Ui::FormMain& ui = *m_ui;
    const ComparisonResult& result = m_comparison.Result();
    for (QLabel* label : {ui.Label1, ui.Label3, ui.Label35, ui.Label10})
        label->setText(Text(result.startDate));
    for (QLabel* label : {ui.Label2, ui.Label4, ui.Label36, ui.Label13})
        label->setText(Text(result.endDate));
    const std::array<QLabel*, kNationalStatusCount> startCounters = {ui.LO1, ui.LO2, ui.LO3, ui.LO4};
    const std::array<QLabel*, kNationalStatusCount> endCounters = {ui.LN1, ui.LN2, ui.LN3, ui.LN4};
    for (std::size_t i = 0; i < kNationalStatusCount; ++i) {
        startCounters[i]->setText(Text(CounterText(result.national.start[i])));
        endCounters[i]->setText(Text(CounterText(result.national.end[i])));
    }
    const Palette& colours = PaletteOf(m_palette);
    ShowTotals(result.payroll, {ui.kt1, ui.kt2, ui.kt3}, ui.shapet3, colours, palette());
    ShowTotals(result.values, {ui.tot1, ui.tot2, ui.tot3}, ui.Shape19, colours, palette());
}

// ---- The history ----

void FormMain::setHistory(HistoryWindows* history) {
    m_history = history;
    if (!m_history)
        return;
    connect(m_ui->ButtonHistory, &QPushButton::clicked, this, [this] {
        if (m_history)
            run([this] { m_history->showHistory(); });
    });
    connect(&m_history->access(), &HistoryAccess::disabled, m_ui->ButtonHistory,
            [this] { m_ui->ButtonHistory->setEnabled(false); });
}

void FormMain::keepInHistory(SnapshotSide side, const QString& archive) {
    if (!m_history)
        return;
    const auto problem = m_history->access().keepChosenArchive(
        archive.toStdString(), side == SnapshotSide::Start ? m_folders.start : m_folders.end);
    if (problem)
        m_host.message(this, kHistoryCaption, *problem, QMessageBox::Warning, QMessageBox::Ok);
}

void FormMain::compareStored(const History& history, SnapshotId start, SnapshotId end) {
    run([&] { chooseStoredOf(SnapshotSide::Start, history, start); });
    run([&] { chooseStoredOf(SnapshotSide::End, history, end); });
}

void FormMain::chooseStoredOf(SnapshotSide side, const History& history, SnapshotId id) {
    SnapshotChoice& choice = side == SnapshotSide::Start ? m_startChoice : m_endChoice;
    BeginChoice(choice);
    showChoice(choice);
    ChoiceStatus status;
    try {
        status = ChooseStoredSnapshot(choice, history, id, m_folders.base);
    } catch (...) {
        showChoice(choice);
        throw;
    }
    finishChoice(choice, status);
}

std::optional<std::string> FormMain::playerIdAt(GridId grid, int row) const {
    return PlayerIdOfRow(m_comparison.TotalPlay(), grid, row);
}

std::optional<std::string> FormMain::chosenPlayerId() const {
    const int index = m_comparison.ChosenIndex();
    const auto& ids = m_comparison.ListBox1();
    if (index < 0 || static_cast<std::size_t>(index) >= ids.size())
        return std::nullopt;
    return ids[static_cast<std::size_t>(index)];
}

MenuCommand FormMain::playerDevelopment(std::function<std::optional<std::string>()> player) {
    // Without a history there is nothing to chart: the item stays disabled.
    return PlayerDevelopmentCommand(
        std::move(player), [this] { return m_history && !m_history->access().failed(); },
        [this](const std::string& id) { run([&] { m_history->showPlayerChart(id); }); });
}

}  // namespace cadrix::app
