#include "form_main.h"

#include <array>
#include <cmath>

#include <QComboBox>
#include <QCoreApplication>
#include <QCursor>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QListWidget>
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
#include "import/working_folders.h"
#include "jpeg_writer.h"
#include "load_form.h"
#include "set_box.h"
#include "snapshot/skills.h"
#include "ui_form_main.h"
#include "uihost.h"

namespace cadrix::app {

namespace {

// The window's client area never changes size.
constexpr QSize kClientSize{549, 553};
// The grass picture is stretched to this size from the client area's top-left
// corner and clipped at its edges.
constexpr QSize kGrassSize{593, 633};

const QColor kMaroon{128, 0, 0};
const QColor kLinkBlue{0, 0, 255};
const QColor kVisitedPurple{128, 0, 128};
const QColor kCaptionRed{179, 0, 0};
const QColor kPageColour{252, 252, 254};

// The detail panel keeps this gap to the main window and stands this far
// below its top.
constexpr int kPanelGap = 5;
constexpr int kPanelDrop = 125;

// The screenshot covers the skills grid: this rectangle of the main window's
// outer frame, (left + 14, top + 156), width - 32 by height - 177.
constexpr int kShotLeft = 14;
constexpr int kShotTop = 156;
constexpr int kShotWidthLess = 32;
constexpr int kShotHeightLess = 177;

// The chooser's text ends in ", " and a two-letter position code.
// Where the real-level grid's columns get their widths: a share of the
// grid's width, computed in single precision and truncated.
constexpr std::array<float, 8> kRealLevelShares = {
    0.3723608445297505f,  0.05758157389635317f, 0.05758157389635317f, 0.09596928982725528f,
    0.08637236084452975f, 0.09596928982725528f, 0.08637236084452975f, 0.09596928982725528f,
};
// Wider than this, the grids get taller rows.
constexpr int kWideRealLevelGrid = 530;

struct GridLayout {
    GridId id;
    const char* name;
    std::vector<int> widths;  // empty: set from the grid's width
    int rowHeight;
    int wideRowHeight;
    int fixedRows;
    int fixedCols;
    bool rowSelect;
    bool verticalScrollBar;
};

const std::vector<GridLayout>& GridLayouts() {
    static const std::vector<GridLayout> layouts = {
        {GridId::StringGrid1, "StringGrid1", {118, 154, 148, 96}, 16, 19, 1, 1, false, false},
        {GridId::StringGrid2, "StringGrid2", {130, 89, 68, 89, 68, 70}, 20, 23, 0, 1, false, false},
        {GridId::StringGrid_nat, "StringGrid_nat", {133, 25, 33, 38, 95, 33, 38, 97}, 17, 19, 0, 0, true, true},
        {GridId::StringGrid_pay, "StringGrid_pay", {174, 32, 58, 56, 56, 55, 62}, 17, 19, 0, 0, true, true},
        {GridId::StringGrid_pr, "StringGrid_pr", {212, 43, 78, 78, 84}, 17, 19, 1, 0, true, true},
        {GridId::StringGrid_ru, "StringGrid_ru", {}, 17, 19, 0, 0, true, true},
        {GridId::StringGrid3, "StringGrid3", {259, 89, 90, 78}, 15, 17, 1, 0, true, false},
    };
    return layouts;
}

QCursor ArrowCursor() { return QCursor(QPixmap(QStringLiteral(":/cursors/arrow.png")), 0, 0); }

QCursor HandCursor() { return QCursor(QPixmap(QStringLiteral(":/cursors/hand.png")), 0, 0); }

void SetTextColour(QLabel* label, const QColor& colour) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

void SetPixelFont(QWidget* widget, const QString& family, int pixels, bool bold = false) {
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    widget->setFont(font);
}

QColor ShapeFill(ShapeColour colour, const QPalette& palette) {
    switch (colour) {
    case ShapeColour::Favourable: return QColor(kFavourableColour.r, kFavourableColour.g, kFavourableColour.b);
    case ShapeColour::Unfavourable: return QColor(kUnfavourableColour.r, kUnfavourableColour.g, kUnfavourableColour.b);
    case ShapeColour::ButtonFace: break;
    }
    return palette.color(QPalette::Button);
}

}  // namespace

template <typename Handler>
void FormMain::Run(Handler&& handler) {
    RunHandler(m_host, this, std::forward<Handler>(handler));
}

FormMain::FormMain(UiHost& host, WorkFolders folders, QWidget* parent)
    : QWidget(parent),
      m_ui(std::make_unique<Ui::FormMain>()),
      m_host(host),
      m_folders(std::move(folders)) {
    m_ui->setupUi(this);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(kClientSize);
    setWindowIcon(QIcon(QStringLiteral(":/icons/cadrix.png")));
    m_grass.load(QStringLiteral(":/images/grass.png"));
    SetUpWidgets();
    SetUpGrids();
    FormCreate();
    RefreshLabels();
}

FormMain::~FormMain() = default;

QTableView* FormMain::grid(GridId id) const {
    for (const auto& layout : GridLayouts()) {
        if (layout.id == id)
            return findChild<QTableView*>(QString::fromLatin1(layout.name));
    }
    return nullptr;
}

void FormMain::SetUpWidgets() {
    Ui::FormMain& ui = *m_ui;
    for (QFrame* panel : {ui.Panel1, ui.Panel2}) {
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setLineWidth(1);
    }
    for (QLabel* label : {ui.LabelOF, ui.LabelNF})
        SetTextColour(label, kMaroon);

    ui.Image7->setPixmap(QPixmap(QStringLiteral(":/images/splash.png")));
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

    // Tabs drawn as buttons, the current one pressed in.
    ui.PageControl2->setStyleSheet(
        QStringLiteral("QTabWidget::pane { border: none; }"
                       "QTabBar::tab { color: black; background: palette(button); border: 1px solid palette(dark);"
                       " border-top-color: palette(light); border-left-color: palette(light);"
                       " padding: 3px 1px; margin: 1px 1px 3px 0px; }"
                       "QTabBar::tab:selected { background: palette(midlight); border-top-color: palette(dark);"
                       " border-left-color: palette(dark); border-bottom-color: palette(light);"
                       " border-right-color: palette(light); }"));
    for (int i = 0; i < ui.PageControl2->count(); ++i) {
        static constexpr std::array<int, 7> kTabIcons = {0, 1, 2, 4, 5, 3, 6};
        ui.PageControl2->setTabIcon(i, QIcon(QStringLiteral(":/icons/tab%1.png").arg(kTabIcons[i])));
    }
    ui.PageControl2->setIconSize(QSize(16, 16));
    ui.PageControl2->setUsesScrollButtons(false);
    ui.PageControl2->setElideMode(Qt::ElideNone);
    // The pages are drawn in the light colour of a tab body.
    for (int i = 0; i < ui.PageControl2->count(); ++i) {
        QWidget* page = ui.PageControl2->widget(i);
        QPalette palette = page->palette();
        palette.setColor(QPalette::Window, kPageColour);
        page->setPalette(palette);
        page->setAutoFillBackground(true);
    }
    // The archive rows sit on an opaque panel, so that their coloured
    // status texts stay readable over the grass.
    ui.Panel1->setAutoFillBackground(true);
    ui.Panel1->setBackgroundRole(QPalette::Button);
    ui.PageControl2->hide();

    ui.Image2->setPixmap(QPixmap(QStringLiteral(":/images/emblem.png")));
    ui.SpeedButtonFill->hide();
    ui.sbCalc->hide();
    ui.FillButton->hide();
    ui.ListBox1->hide();
    // The panel toggle is shown, so that the panel can be opened; it is
    // enabled by the first player choice. The chooser ends before it.
    ui.SpeedButton2->setText(QStringLiteral(">>"));
    ui.SpeedButton2->setToolTip(QStringLiteral("Открыть детальную статистику"));
    ui.SpeedButton2->setEnabled(false);
    ui.ComboBox3->resize(ui.SpeedButton2->x() - ui.ComboBox3->x() - 4, ui.ComboBox3->height());
    ui.SpeedButton1->setIcon(QIcon(QStringLiteral(":/icons/screenshot.png")));
    ui.SpeedButton1->setToolTip(QStringLiteral("Сохранить скриншот"));
    ui.ComboBox3->setMaxVisibleItems(20);

    // Bands and frames in the button-face colour behind the header and totals labels.
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

    static const std::array<QString, 4> kSmallStars = {
        QStringLiteral(":/status/outline_small.png"), QStringLiteral(":/status/grey_small.png"),
        QStringLiteral(":/status/green_small.png"), QStringLiteral(":/status/gold_small.png")};
    for (int i = 0; i < 4; ++i) {
        for (const QString& prefix :
             {QStringLiteral("StarLO"), QStringLiteral("StarLN"), QStringLiteral("StarLegend")}) {
            if (auto* star = findChild<QLabel*>(prefix + QString::number(i + 1)))
                star->setPixmap(QPixmap(kSmallStars[i]));
        }
    }

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

void FormMain::SetUpGrids() {
    for (const auto& layout : GridLayouts()) {
        QTableView* view = grid(layout.id);
        auto* model = new GridModel(m_comparison, layout.id, view);
        m_models[layout.id] = model;
        view->setModel(model);
        view->setItemDelegate(new CellDelegate(m_comparison, layout.id, layout.fixedRows, layout.fixedCols, view));
        view->horizontalHeader()->hide();
        view->verticalHeader()->hide();
        view->horizontalHeader()->setMinimumSectionSize(1);
        view->verticalHeader()->setMinimumSectionSize(1);
        view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        view->verticalHeader()->setDefaultSectionSize(layout.rowHeight);
        view->setEditTriggers(QAbstractItemView::NoEditTriggers);
        view->setSelectionMode(layout.rowSelect ? QAbstractItemView::SingleSelection : QAbstractItemView::NoSelection);
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
            view->setColumnWidth(col, layout.widths[col]);
    }
}

void FormMain::FormCreate() {
    Ui::FormMain& ui = *m_ui;
    const QCursor arrow = ArrowCursor();
    const QCursor hand = HandCursor();
    QList<QWidget*> arrowed = {this, ui.Image2, ui.t1, ui.t2, ui.t3, ui.t4, ui.t5, ui.t6, ui.t7, ui.Panel1, ui.Panel2};
    for (const auto& layout : GridLayouts())
        arrowed << grid(layout.id) << grid(layout.id)->viewport();
    for (QWidget* widget : arrowed)
        widget->setCursor(arrow);
    for (QWidget* widget :
         {static_cast<QWidget*>(ui.ComboBox3), static_cast<QWidget*>(ui.butTS1), static_cast<QWidget*>(ui.butTS2),
          static_cast<QWidget*>(ui.Label12), static_cast<QWidget*>(ui.Label14),
          static_cast<QWidget*>(ui.PageControl2->tabBar()), static_cast<QWidget*>(ui.SpeedButton1)})
        widget->setCursor(hand);

    // The open dialogs start in the program's folder; an installed program's
    // folder holds no archives, so there they start in the user's home.
    const QString programFolder = QCoreApplication::applicationDirPath();
    m_openDialogFolder = QFileInfo(programFolder).isWritable() ? programFolder : QDir::homePath();
    if (!m_openDialogFolder.endsWith(u'/'))
        m_openDialogFolder += u'/';

    QTableView* realLevel = ui.StringGrid_ru;
    const int width = realLevel->width();
    for (int col = 0; col < static_cast<int>(kRealLevelShares.size()); ++col)
        realLevel->setColumnWidth(col, static_cast<int>(static_cast<float>(width) * kRealLevelShares[col]));
    if (width > kWideRealLevelGrid) {
        for (const auto& layout : GridLayouts())
            grid(layout.id)->verticalHeader()->setDefaultSectionSize(layout.wideRowHeight);
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
}

void FormMain::firstActivation() {
    if (m_activated)
        return;
    m_activated = true;
    Run([this] { FormActivate(); });
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
    Run([this] {
        SetTextColour(m_ui->Label12, kVisitedPurple);
        m_host.openUrl(QUrl(kGameSiteUrl));
    });
}

void FormMain::Label14Click() {
    Run([this] {
        SetTextColour(m_ui->Label14, kVisitedPurple);
        m_host.openUrl(QUrl(kAuthorPageUrl));
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
    Run([this] { ChooseArchiveOf(Period::Start, std::nullopt); });
}

void FormMain::butTS2Click() {
    Run([this] { ChooseArchiveOf(Period::End, std::nullopt); });
}

void FormMain::chooseArchive(Period period, const QString& path) {
    Run([&] { ChooseArchiveOf(period, path); });
}

void FormMain::ChooseArchiveOf(Period period, std::optional<QString> path) {
    SnapshotChoice& choice = period == Period::Start ? m_startChoice : m_endChoice;
    BeginChoice(choice);
    ShowChoice(choice);
    const QString archive =
        path ? *path : m_host.getOpenFileName(this, QString(), m_openDialogFolder, QtFilter(kArchiveFilter));
    if (archive.isEmpty())
        return;
    HostQuestions questions(m_host, this);
    ChoiceStatus status;
    try {
        status = ChooseArchive(choice, std::filesystem::path(archive.toStdString()), m_folders.base, questions);
    } catch (...) {
        // The flag is set before the extraction; an archive error leaves it so.
        ShowChoice(choice);
        throw;
    }
    ShowChoice(choice);
    if (status == ChoiceStatus::InvalidStatistics) {
        m_host.message(this, QStringLiteral("Ошибка"),
                       QString::fromUtf8(kInvalidStatisticsText.data(), kInvalidStatisticsText.size()),
                       QMessageBox::Critical, QMessageBox::Ok);
        ShowSplash();
        return;
    }
    SpeedButtonFillClick();
}

void FormMain::ShowChoice(const SnapshotChoice& choice) {
    const bool start = choice.side == SnapshotSide::Start;
    (start ? m_comparison.startChosen : m_comparison.endChosen) = choice.chosen;
    (start ? m_comparison.startDate : m_comparison.endDate) = choice.dateText;
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
        loaded = m_comparison.SpeedButtonFillClick(m_folders.start, m_folders.end);
    } catch (...) {
        // A load that stops half-way still leaves the grids at new sizes.
        RefreshViews();
        throw;
    }
    if (!loaded)
        return;
    RefreshViews();
    ShowPages();
}

void FormMain::ComboBox3Change(int index) {
    Run([&] {
        m_comparison.ComboBox3Change(index);
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
    Run([this] {
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
            m_exInfoForm->hide();
            toggle->setText(QStringLiteral(">>"));
            toggle->setToolTip(QStringLiteral("Показать детальную статистику"));
        }
    });
}

void FormMain::SpeedButton1Click() {
    Run([this] {
        const QString chooserText = QString::fromStdString(m_comparison.ComboBox3Text());
        if (chooserText.isEmpty()) {
            m_host.message(this, QStringLiteral("Ошибка"), QStringLiteral("Выберите игрока для сохранения"),
                           QMessageBox::Critical, QMessageBox::Ok);
            return;
        }
        const QImage picture = CaptureSkillsArea();
        const QString path = m_host.getSaveFileName(this, QString(), ProposedScreenshotName(), QtFilter(kJpegFilter),
                                                    QStringLiteral("jpg"));
        if (path.isEmpty())
            return;
        const QString fullPath = QFileInfo(path).absoluteFilePath();
        WriteJpeg(picture, std::filesystem::path(fullPath.toStdString()));
        m_host.message(this, QStringLiteral("Информация"), QStringLiteral("Сохранено в ") + fullPath,
                       QMessageBox::Information, QMessageBox::Ok);
    });
}

QImage FormMain::CaptureSkillsArea() {
    const QRect outer = frameGeometry();
    const QRect area(outer.left() + kShotLeft, outer.top() + kShotTop, outer.width() - kShotWidthLess,
                     outer.height() - kShotHeightLess);
    QImage picture = m_host.grabScreen(area).toImage();
    if (picture.size() == area.size())
        return picture;
    // The platform cannot read the screen (Wayland, offscreen): take the
    // window's own pixels of the same area instead.
    picture = QImage(area.size(), QImage::Format_RGB32);
    picture.fill(palette().color(QPalette::Window));
    const QPoint inside = area.topLeft() - mapToGlobal(QPoint(0, 0));
    QPainter painter(&picture);
    render(&painter, QPoint(0, 0), QRegion(QRect(inside, area.size())));
    return picture;
}

QString FormMain::ProposedScreenshotName() const {
    return QString::fromStdString(NameOfChooserText(m_comparison.ComboBox3Text()));
}

void FormMain::ShowSplash() {
    m_ui->Image7->show();
    m_ui->PageControl2->hide();
}

void FormMain::ShowPages() {
    m_ui->Image7->hide();
    m_ui->PageControl2->show();
    m_ui->PageControl2->setCurrentWidget(m_ui->t1);
}

void FormMain::RefreshViews() {
    for (auto& [id, model] : m_models)
        model->reload();
    RefreshLabels();
    QComboBox* chooser = m_ui->ComboBox3;
    chooser->clear();
    for (const std::string& item : m_comparison.ComboBox3())
        chooser->addItem(QString::fromStdString(item));
    chooser->setCurrentIndex(m_comparison.ChosenIndex());
    m_ui->ListBox1->clear();
    for (const std::string& id : m_comparison.ListBox1())
        m_ui->ListBox1->addItem(QString::fromStdString(id));
    m_ui->SpeedButton2->setEnabled(m_comparison.PanelToggleEnabled());
    if (m_exInfoForm)
        m_exInfoForm->setValues(m_comparison.ExInfo());
}

void FormMain::RefreshLabels() {
    for (const std::string& name : Comparison::LabelNames()) {
        if (auto* label = findChild<QLabel*>(QString::fromStdString(name)))
            label->setText(QString::fromStdString(m_comparison.Label(name)));
    }
    for (QFrame* shape : {m_ui->shapet3, m_ui->Shape19}) {
        const QColor fill = ShapeFill(m_comparison.Shape(shape->objectName().toStdString()), palette());
        shape->setStyleSheet(
            QStringLiteral("QFrame { background-color: %1; border: 1px solid black; }").arg(fill.name()));
    }
}

}  // namespace cadrix::app
