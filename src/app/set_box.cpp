#include "set_box.h"

#include <QPainter>

#include "look.h"
#include "ui_set_box.h"
#include "window_placement.h"

namespace cadrix::app {

SetBox::SetBox(std::function<void(FontFamily)> choose, QWidget* parent)
    : QDialog(parent),
      m_ui(std::make_unique<Ui::SetBox>()),
      m_choose(std::move(choose)) {
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

void SetBox::paintEvent(QPaintEvent*) {
    // The grass of the main window, reaching beyond the dialog's edges.
    QPainter painter(this);
    painter.drawPixmap(QRect(-47, -52, 345, 265), m_grass);
}

void SetBox::RadioButton1Click() { m_choose(FontFamily::MsSansSerif); }

void SetBox::RadioButton2Click() { m_choose(FontFamily::Arial); }

void SetBox::RadioButton3Click() { m_choose(FontFamily::Calibri); }

void SetBox::RadioButton4Click() { m_choose(FontFamily::Tahoma); }

void SetBox::showEvent(QShowEvent* event) {
    // Centred on the desktop, not over the main window.
    CentreOnScreen(*this);
    QDialog::showEvent(event);
}

}  // namespace cadrix::app
