#include "about_box.h"

#include <QMouseEvent>

#include "error_box.h"
#include "form_main.h"
#include "look.h"
#include "ui_about_box.h"
#include "uihost.h"
#include "window_placement.h"

namespace cadrix::app {

AboutBox::AboutBox(UiHost& host, QWidget* parent)
    : QDialog(parent),
      m_ui(std::make_unique<Ui::AboutBox>()),
      m_host(host) {
    m_ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(295, 212);
    m_ui->Image1->setPixmap(CompiledPicture(QStringLiteral(":/images/grass.pixels")));
    m_ui->ProgramIcon->setPixmap(CompiledPicture(QStringLiteral(":/images/emblem_small.pixels")));
    m_ui->Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    m_ui->Panel1->setAutoFillBackground(true);
    m_ui->Panel1->setBackgroundRole(QPalette::Button);
    SetTextColour(m_ui->Label1, kLinkBlue);

    setCursor(ArrowCursor());
    m_ui->Panel1->setCursor(ArrowCursor());
    m_ui->Label1->setCursor(HandCursor());
    m_ui->OKButton->setCursor(HandCursor());
    m_ui->Label1->installEventFilter(this);
    connect(m_ui->OKButton, &QPushButton::clicked, this, &QDialog::accept);
}

AboutBox::~AboutBox() = default;

bool AboutBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_ui->Label1 && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        Label1Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void AboutBox::Label1Click() {
    RunHandler(m_host, this, [this] {
        SetTextColour(m_ui->Label1, kVisitedPurple);
        OpenWebPage(m_host, this, kAuthorPageUrl);
    });
}

void AboutBox::showEvent(QShowEvent* event) {
    // Centred on the desktop, not over the main window.
    CentreOnScreen(*this);
    QDialog::showEvent(event);
}

}  // namespace cadrix::app
