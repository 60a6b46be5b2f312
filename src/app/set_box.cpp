#include "set_box.h"

#include <QPainter>
#include <QTableView>

#include "font_choice.h"
#include "look.h"
#include "ui_set_box.h"
#include "window_placement.h"

namespace cadrix::app {

SetBox::SetBox(QWidget* parent) : QDialog(parent), m_ui(std::make_unique<Ui::SetBox>()) {
    m_ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(272, 207);
    m_grass = CompiledPicture(QStringLiteral(":/images/grass.pixels"));
    m_ui->Panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    m_ui->Panel->setAutoFillBackground(true);
    m_ui->Panel->setBackgroundRole(QPalette::Button);

    setCursor(ArrowCursor());
    m_ui->Panel->setCursor(ArrowCursor());
    for (QWidget* control :
         std::initializer_list<QWidget*>{m_ui->OKButton, m_ui->RadioButton1, m_ui->RadioButton2, m_ui->RadioButton3})
        control->setCursor(HandCursor());

    connect(m_ui->RadioButton1, &QRadioButton::clicked, this, [this] { RadioButton1Click(); });
    connect(m_ui->RadioButton2, &QRadioButton::clicked, this, [this] { RadioButton2Click(); });
    connect(m_ui->RadioButton3, &QRadioButton::clicked, this, [this] { RadioButton3Click(); });
    connect(m_ui->RadioButton4, &QRadioButton::clicked, this, [this] { RadioButton4Click(); });
    connect(m_ui->OKButton, &QPushButton::clicked, this, &QDialog::accept);
}

SetBox::~SetBox() = default;

void SetBox::setWindows(QWidget* main, QWidget* about, QWidget* detailPanel, QTableView* skillsGrid) {
    m_main = main;
    m_about = about;
    m_detailPanel = detailPanel;
    m_skillsGrid = skillsGrid;
}

void SetBox::paintEvent(QPaintEvent*) {
    // The grass of the main window, reaching beyond the dialog's edges.
    QPainter painter(this);
    painter.drawPixmap(QRect(-47, -52, 345, 265), m_grass);
}

void SetBox::RadioButton1Click() { apply(QStringLiteral("MS Sans Serif"), 7); }

void SetBox::RadioButton2Click() { apply(QStringLiteral("Arial"), 7); }

void SetBox::RadioButton3Click() { apply(QStringLiteral("Calibri"), 8); }

void SetBox::RadioButton4Click() { apply(QStringLiteral("Tahoma"), 8); }

void SetBox::apply(const QString& family, int skillsGridPoints) {
    // The main window owns the detail panel, so the main window's call
    // reaches the panel's own font too; that one stays as it was.
    const QFont panelFont = m_detailPanel ? m_detailPanel->font() : QFont();
    ApplyFontFamily(this, family, WindowFont::Too);
    ApplyFontFamily(m_main, family, WindowFont::Too);
    ApplyFontFamily(m_about, family, WindowFont::Too);
    if (m_detailPanel) {
        m_detailPanel->setFont(panelFont);
        ApplyFontFamily(m_detailPanel, family, WindowFont::Keep);
    }
    if (m_skillsGrid) {
        QFont font = m_skillsGrid->font();
        font.setPointSize(skillsGridPoints);
        m_skillsGrid->setFont(font);
    }
}

void SetBox::showEvent(QShowEvent* event) {
    // Centred on the desktop, not over the main window.
    CentreOnScreen(*this);
    QDialog::showEvent(event);
}

}  // namespace cadrix::app
