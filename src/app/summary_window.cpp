#include "summary_window.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace cadrix::app {

namespace {

constexpr QSize kWindowSize{520, 600};

}  // namespace

SummaryWindow::SummaryWindow(QWidget* owner) : QWidget(owner, Qt::Window), m_text(new QPlainTextEdit(this)) {
    setObjectName(QStringLiteral("SummaryWindow"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/cadrix.png")));
    resize(kWindowSize);
    m_text->setReadOnly(true);
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_text);
}

void SummaryWindow::showSummary(const QString& title, const QString& text) {
    setWindowTitle(title);
    m_text->setPlainText(text);
    show();
    raise();
    activateWindow();
}

QString SummaryWindow::text() const { return m_text->toPlainText(); }

}  // namespace cadrix::app
