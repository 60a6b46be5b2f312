#include "form_main.h"

#include <array>

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QPushButton>
#include <QStyleOption>
#include <QTabBar>
#include <QTableView>
#include <QTimer>
#include <QToolButton>

#include "about_box.h"
#include "cell_delegate.h"
#include "ex_info_form.h"
#include "form_main_shared.h"
#include "look.h"
#include "saved_settings.h"
#include "set_box.h"
#include "summary_window.h"
#include "ui_form_main.h"
#include "ui_form_pages.h"
#include "uihost.h"

namespace cadrix::app {

namespace {

// The window's client area never changes size.
constexpr QSize kClientSize{549, 553};
// The grass picture is stretched to this size from the client area's top-left
// corner and clipped at its edges.
constexpr QSize kGrassSize{593, 633};

const QColor kCaptionRed{179, 0, 0};
const QColor kPageColour{252, 252, 254};

// The real-level grid's columns get their widths as a share of the grid's
// width, computed in single precision and truncated.
constexpr std::array<float, 8> kRealLevelShares = {
    0.3723608445297505f,  0.05758157389635317f, 0.05758157389635317f, 0.09596928982725528f,
    0.08637236084452975f, 0.09596928982725528f, 0.08637236084452975f, 0.09596928982725528f,
};
// Wider than this, the grids get taller rows.
constexpr int kWideRealLevelGrid = 530;

// The pages' frame is not drawn, and the pages fill all that the tab row
// leaves. Given to the tab widget alone, this spares its many children the
// cost of a style sheet, which only the tab row needs.
class FramelessPaneStyle : public QProxyStyle {
public:
    QRect subElementRect(SubElement element, const QStyleOption* option, const QWidget* widget) const override {
        const auto* frame = qstyleoption_cast<const QStyleOptionTabWidgetFrame*>(option);
        if (element != SE_TabWidgetTabContents || !frame || frame->shape != QTabBar::RoundedNorth)
            return QProxyStyle::subElementRect(element, option, widget);
        const int tabs = frame->tabBarSize.height();
        return QRect(frame->rect.x(), frame->rect.y() + tabs, frame->rect.width(), frame->rect.height() - tabs);
    }
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        if (element != PE_FrameTabWidget)
            QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
};

void SetPixelFont(QWidget* widget, const QString& family, int pixels, bool bold = false) {
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    widget->setFont(font);
}

}  // namespace

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
    setWindowIcon(ProgramIcon());
    m_grass = CompiledPicture(QStringLiteral(":/images/grass.pixels"));
    setUpPanels();
    connectHandlers();
    setUpKeys();
    // Archives dropped from a file manager are chosen as the dialogs would.
    setAcceptDrops(true);
    FormCreate();
}

FormMain::~FormMain() = default;

QTableView* FormMain::grid(GridId id) {
    pagesUi();
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
}

void FormMain::setUpTabs() {
    Ui::FormPages& ui = *m_pagesUi;
    ui.Image2->setPixmap(CompiledPicture(QStringLiteral(":/images/emblem.pixels")));
    for (QWidget* control : std::initializer_list<QWidget*>{ui.SpeedButtonFill, ui.sbCalc, ui.FillButton})
        control->hide();
    QTabWidget* pages = m_pages;
    static constexpr std::array<int, 7> kTabIcons = {0, 1, 2, 4, 5, 3, 6};
    for (int i = 0; i < pages->count(); ++i) {
        pages->setTabIcon(i, QIcon(CompiledPicture(QStringLiteral(":/icons/tab%1.pixels").arg(kTabIcons[i]))));
        // The pages are drawn in the light colour of a tab body; what stands
        // on them keeps the window's face, from which the grid lines and the
        // buttons' shading are drawn.
        QWidget* page = pages->widget(i);
        const QColor face = page->palette().color(QPalette::Window);
        for (QWidget* child : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            QPalette palette = child->palette();
            palette.setColor(QPalette::Window, face);
            child->setPalette(palette);
        }
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

// The pages stay hidden until the first comparison: the tab row's style sheet
// is set when they are first shown, so that it does not delay the window's
// first appearance.
void FormMain::styleTabs() {
    if (m_tabsStyled)
        return;
    m_tabsStyled = true;
    pagesUi();
    auto* pane = new FramelessPaneStyle;
    pane->setParent(m_pages);
    m_pages->setStyle(pane);
    // Tabs drawn as buttons, the current one pressed in.
    m_pages->tabBar()->setStyleSheet(
        QStringLiteral("QTabBar::tab { color: black; background: palette(button); border: 1px solid palette(dark);"
                       " border-top-color: palette(light); border-left-color: palette(light);"
                       " padding: 3px 1px; margin: 1px 1px 3px 0px; }"
                       "QTabBar::tab:selected { background: palette(midlight); border-top-color: palette(dark);"
                       " border-left-color: palette(dark); border-bottom-color: palette(light);"
                       " border-right-color: palette(light); }"));
}

// The header and totals labels around the grids, with their bands and stars.
void FormMain::setUpCaptions() {
    Ui::FormPages& ui = *m_pagesUi;
    // Bands and frames in the button-face colour behind the labels.
    for (QFrame* band : m_pages->findChildren<QFrame*>()) {
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

void FormMain::connectHandlers() {
    Ui::FormMain& ui = *m_ui;
    connect(ui.butTS1, &QPushButton::clicked, this, [this] { butTS1Click(); });
    connect(ui.butTS2, &QPushButton::clicked, this, [this] { butTS2Click(); });
}

void FormMain::connectPageHandlers() {
    Ui::FormPages& ui = *m_pagesUi;
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
    m_arrow = ArrowCursor();
    m_hand = HandCursor();
    for (QWidget* widget : std::initializer_list<QWidget*>{this, ui.Panel1, ui.Panel2})
        widget->setCursor(m_arrow);
    for (QWidget* widget : std::initializer_list<QWidget*>{ui.butTS1, ui.butTS2, ui.Label12, ui.Label14})
        widget->setCursor(m_hand);
}

void FormMain::setPageCursors() {
    Ui::FormPages& ui = *m_pagesUi;
    QList<QWidget*> arrowed = {ui.Image2, ui.t1, ui.t2, ui.t3, ui.t4, ui.t5, ui.t6, ui.t7};
    for (const GridInfo& info : kGrids)
        arrowed << grid(info.id) << grid(info.id)->viewport();
    for (QWidget* widget : arrowed)
        widget->setCursor(m_arrow);
    for (QWidget* widget : std::initializer_list<QWidget*>{ui.ComboBox3, m_pages->tabBar(), ui.SpeedButton1})
        widget->setCursor(m_hand);
}

void FormMain::FormCreate() {
    setCursors();
    // The open dialogs start in the program's folder; an installed program's
    // folder holds no archives, so there they start in the user's home.
    const QString programFolder = QCoreApplication::applicationDirPath();
    m_openDialogFolder = QFileInfo(programFolder).isWritable() ? programFolder : QDir::homePath();
    if (!m_openDialogFolder.endsWith(u'/'))
        m_openDialogFolder += u'/';
}

void FormMain::sizeRealLevelGrid() {
    QTableView* realLevel = m_pagesUi->StringGrid_ru;
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
    // The detail panel is made here, not at its first use, and before the
    // font is applied: Qt keeps the first face it loads at a size for every
    // later use, and the panel's controls are the first to take Tahoma at
    // theirs; made later, the About box would set its text a pixel tighter.
    exInfoForm();
    chooseFont(FontFamily::Tahoma);
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

void FormMain::showSplash() {
    closePanel();
    // The summary of a comparison no longer shown goes with it.
    if (m_summaryWindow)
        m_summaryWindow->hide();
    m_ui->Image7->show();
    if (m_pages)
        m_pages->hide();
}

void FormMain::showPages() {
    styleTabs();
    m_ui->Image7->hide();
    m_pages->show();
    m_pages->setCurrentWidget(m_pagesUi->t1);
}

}  // namespace cadrix::app
