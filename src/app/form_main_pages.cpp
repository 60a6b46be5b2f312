// The pages: their grids and the labels around them, filled from the
// comparison.

#include "form_main.h"

#include <array>

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QTableView>
#include <QToolButton>

#include "cell_delegate.h"
#include "ex_info_form.h"
#include "form_main_shared.h"
#include "grid_model.h"
#include "look.h"
#include "summary_window.h"
#include "ui_form_main.h"
#include "ui_form_pages.h"

namespace cadrix::app {

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

namespace {

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

// The pages stand at this point of the lower panel, over the splash.
constexpr QPoint kPagesAt{5, 5};

}  // namespace

Ui::FormPages& FormMain::pagesUi() {
    if (!m_pagesUi)
        buildPages();
    return *m_pagesUi;
}

QTabWidget* FormMain::pages() {
    pagesUi();
    return m_pages;
}

void FormMain::buildPages() {
    m_pagesUi = std::make_unique<Ui::FormPages>();
    m_pages = new QTabWidget(m_ui->Panel2);
    m_pagesUi->setupUi(m_pages);
    m_pages->move(kPagesAt);
    // The players' ids in the chooser's order, kept beside it out of sight.
    m_listBox1 = new QListWidget(this);
    m_listBox1->setObjectName(QStringLiteral("ListBox1"));
    m_listBox1->setGeometry(0, 0, 10, 10);
    m_listBox1->hide();
    setUpTabs();
    setUpSkillsPage();
    setUpCaptions();
    setUpGrids();
    sizeRealLevelGrid();
    connectPageHandlers();
    connectHistoryButton();
    setPageCursors();
    refreshLabels();
    // Made after a font choice, they show it as if they had been there.
    if (m_fontFamily) {
        reachWithFont(*m_pages, WindowFont::Too);
        setSkillsGridPoints(LookOf(*m_fontFamily).skillsGridPoints);
    }
}

void FormMain::setUpGrids() {
    for (const GridLayout& layout : GridLayouts()) {
        QTableView* view = grid(layout.id);
        const std::string_view caption = InfoOf(layout.id).caption;
        view->setAccessibleName(QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())));
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
    // An open summary shows the comparison now loaded.
    if (m_summaryWindow && m_summaryWindow->isVisible())
        showSummary();
}

void FormMain::refreshViews() {
    Ui::FormPages& pages = pagesUi();
    for (auto& [id, model] : m_models)
        model->reload();
    refreshLabels();
    QComboBox* chooser = pages.ComboBox3;
    chooser->clear();
    for (const std::string& item : m_comparison.ComboBox3())
        chooser->addItem(QString::fromStdString(item));
    chooser->setCurrentIndex(m_comparison.ChosenIndex());
    m_listBox1->clear();
    for (const std::string& id : m_comparison.ListBox1())
        m_listBox1->addItem(QString::fromStdString(id));
    pages.SpeedButton2->setEnabled(m_comparison.PanelToggleEnabled());
    // An emptied chooser has no player whose values the panel could show.
    if (m_comparison.ChosenIndex() < 0)
        closePanel();
    if (m_exInfoForm)
        m_exInfoForm->setValues(m_comparison.ExInfo());
}

void FormMain::refreshLabels() {
    if (!m_pagesUi)
        return;
    Ui::FormPages& ui = *m_pagesUi;
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

}  // namespace cadrix::app
