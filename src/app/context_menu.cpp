#include "context_menu.h"

#include <algorithm>
#include <memory>

#include <QAbstractItemView>
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMenu>

namespace cadrix::app {

namespace {

struct MenuItem {
    QAction* action;
    std::function<bool()> enabled;
    std::function<bool()> checked;
};

// The keys that open a grid's context menu from the keyboard, at the current
// cell, where the pointer would have opened it.
class MenuKeys : public QObject {
public:
    explicit MenuKeys(QAbstractItemView& view) : QObject(&view), m_view(view) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != &m_view || event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool menuKey = key->key() == Qt::Key_Menu && key->modifiers() == Qt::NoModifier;
        const bool shiftF10 = key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier;
        if (!menuKey && !shiftF10)
            return false;
        const QModelIndex current = m_view.currentIndex();
        const QPoint at = current.isValid() ? m_view.visualRect(current).center() : QPoint(0, 0);
        emit m_view.customContextMenuRequested(at);
        return true;
    }

private:
    QAbstractItemView& m_view;
};

}  // namespace

void InstallContextMenu(QWidget& widget, const std::vector<MenuCommand>& commands) {
    auto items = std::make_shared<std::vector<MenuItem>>();
    for (const MenuCommand& command : commands) {
        auto* action = new QAction(command.text, &widget);
        if (command.text.isEmpty()) {
            action->setSeparator(true);
            items->push_back({action, {}, {}});
            continue;
        }
        action->setObjectName(command.name);
        action->setCheckable(static_cast<bool>(command.checked));
        action->setShortcut(command.shortcut);
        action->setShortcutContext(command.shortcutContext);
        QObject::connect(action, &QAction::triggered, &widget, command.run);
        widget.addAction(action);
        items->push_back({action, command.enabled, command.checked});
    }
    // A grid reports the pointer in its viewport's coordinates.
    auto* view = qobject_cast<QAbstractItemView*>(&widget);
    QWidget* area = view ? view->viewport() : &widget;
    widget.setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(&widget, &QWidget::customContextMenuRequested, &widget, [view, area, items](const QPoint& at) {
        if (view && view->selectionModel()) {
            const QModelIndex pointed = view->indexAt(at);
            if (pointed.isValid())
                view->selectionModel()->setCurrentIndex(pointed, QItemSelectionModel::NoUpdate);
        }
        auto* menu = new QMenu(area);
        menu->setObjectName(kContextMenuName);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        for (const MenuItem& item : *items) {
            item.action->setEnabled(!item.enabled || item.enabled());
            if (item.checked)
                item.action->setChecked(item.checked());
            menu->addAction(item.action);
        }
        menu->popup(area->mapToGlobal(at));
    });
    if (view)
        view->installEventFilter(new MenuKeys(*view));
}

std::vector<int> RowsToCopy(const QAbstractItemView& view, int firstRow) {
    std::vector<int> rows;
    if (const QItemSelectionModel* selection = view.selectionModel()) {
        for (const QModelIndex& index : selection->selectedRows())
            rows.push_back(index.row());
    }
    if (rows.empty() && view.currentIndex().isValid())
        rows.push_back(view.currentIndex().row());
    std::sort(rows.begin(), rows.end());
    rows.erase(std::remove_if(rows.begin(), rows.end(), [firstRow](int row) { return row < firstRow; }), rows.end());
    return rows;
}

void CopyText(const std::string& text) { QGuiApplication::clipboard()->setText(QString::fromStdString(text)); }

}  // namespace cadrix::app
