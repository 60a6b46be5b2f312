#include "context_menu.h"

#include <algorithm>

#include <QAbstractItemView>
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QMenu>

namespace cadrix::app {

void InstallContextMenu(QAbstractItemView& view, const std::vector<MenuCommand>& commands) {
    for (const MenuCommand& command : commands) {
        auto* action = new QAction(command.text, &view);
        action->setShortcut(command.shortcut);
        action->setShortcutContext(Qt::WidgetShortcut);
        QObject::connect(action, &QAction::triggered, &view, command.run);
        view.addAction(action);
    }
    view.setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(&view, &QWidget::customContextMenuRequested, &view, [&view](const QPoint& at) {
        const QModelIndex index = view.indexAt(at);
        if (index.isValid() && view.selectionMode() == QAbstractItemView::NoSelection)
            view.setCurrentIndex(index);
        QMenu menu(&view);
        menu.addActions(view.actions());
        menu.exec(view.viewport()->mapToGlobal(at));
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
