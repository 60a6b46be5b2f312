#include "context_menu.h"

#include <algorithm>
#include <memory>

#include <QAbstractItemView>
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QMenu>

namespace cadrix::app {

namespace {

struct MenuItem {
    QAction* action;
    std::function<bool()> enabled;
    std::function<bool()> checked;
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
        action->setShortcutContext(Qt::WidgetShortcut);
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
