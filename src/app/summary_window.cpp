#include "summary_window.h"

#include <QTextBrowser>
#include <QVBoxLayout>

#include "context_menu.h"
#include "look.h"

namespace cadrix::app {

namespace {

constexpr QSize kWindowSize{560, 640};

}  // namespace

SummaryWindow::SummaryWindow(QWidget* owner) : QWidget(owner, Qt::Window), m_browser(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("SummaryWindow"));
    setWindowIcon(ProgramIcon());
    resize(kWindowSize);
    m_browser->setReadOnly(true);
    m_browser->setOpenLinks(false);
    m_browser->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    const auto copy = [](const QString& text) { CopyText(text.toStdString()); };
    InstallContextMenu(
        *m_browser,
        {{QStringLiteral("Копировать"), QKeySequence::Copy, [this] { m_browser->copy(); },
          [this] { return m_browser->textCursor().hasSelection(); }, QStringLiteral("CopySelectionAction")},
         {QStringLiteral("Копировать всё"), {}, [this, copy] { copy(m_forms.plain); }, {},
          QStringLiteral("CopyAllAction")},
         {QStringLiteral("Копировать для форума"), {}, [this, copy] { copy(m_forms.bbcode); }, {},
          QStringLiteral("CopyBbcodeAction")},
         {QStringLiteral("Копировать как Markdown"), {}, [this, copy] { copy(m_forms.markdown); }, {},
          QStringLiteral("CopyMarkdownAction")}});
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
}

void SummaryWindow::showSummary(const SummaryForms& forms) {
    m_forms = forms;
    setWindowTitle(forms.title);
    m_browser->setHtml(forms.html);
    show();
    raise();
    activateWindow();
}

QString SummaryWindow::text() const { return m_browser->toPlainText(); }

}  // namespace cadrix::app
