// The main window's keyboard: the page keys, the window's own shortcuts and
// the splash picture's menu.
#include "form_main.h"

#include <QAction>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QShortcut>
#include <QTabWidget>

#include "context_menu.h"
#include "form_main_shared.h"
#include "history_windows.h"
#include "ui_form_main.h"

namespace cadrix::app {

namespace {

QAction* WindowAction(QWidget& window, const QString& text, const QString& name, const QKeySequence& key) {
    auto* action = new QAction(text, &window);
    action->setObjectName(name);
    action->setShortcut(key);
    action->setShortcutContext(Qt::WindowShortcut);
    window.addAction(action);
    return action;
}

}  // namespace

void FormMain::setUpKeys() {
    // The page keys work wherever the focus is, a grid included: a grid would
    // take Ctrl+Tab and Ctrl+PgDown as moves of its own current cell.
    // The pages are made with the first comparison; until then there is no
    // page to change.
    const auto step = [this](int by) {
        if (m_pages && m_pages->isVisible())
            m_pages->setCurrentIndex((m_pages->currentIndex() + by + m_pages->count()) % m_pages->count());
    };
    for (const QKeySequence& key : {QKeySequence(Qt::CTRL | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageDown)})
        connect(new QShortcut(key, this), &QShortcut::activated, this, [step] { step(1); });
    for (const QKeySequence& key :
         {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
          QKeySequence(Qt::CTRL | Qt::Key_PageUp)})
        connect(new QShortcut(key, this), &QShortcut::activated, this, [step] { step(-1); });

    QAction* history =
        WindowAction(*this, QStringLiteral("История…"), QStringLiteral("HistoryAction"), QKeySequence(Qt::CTRL | Qt::Key_H));
    connect(history, &QAction::triggered, this, [this] {
        if (m_history)
            run([this] { m_history->showHistory(); });
    });
    QAction* settings = WindowAction(*this, QStringLiteral("Настройки…"), QStringLiteral("SettingsAction"), {});
    connect(settings, &QAction::triggered, this, [this] { Button1Click(); });
    QAction* about =
        WindowAction(*this, QStringLiteral("О программе…"), QStringLiteral("AboutAction"), QKeySequence(Qt::Key_F1));
    connect(about, &QAction::triggered, this, [this] { Button2Click(); });

    QLabel* splash = m_ui->Image7;
    splash->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(splash, &QWidget::customContextMenuRequested, splash, [splash, history, settings, about](QPoint at) {
        auto* menu = new QMenu(splash);
        menu->setObjectName(kContextMenuName);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->addActions({history, settings, about});
        menu->popup(splash->mapToGlobal(at));
    });
}

}  // namespace cadrix::app
