#pragma once

#include <functional>
#include <vector>

#include <QKeySequence>
#include <QString>

class QAbstractItemView;

namespace cadrix::app {

// One item of a grid's context menu.
struct MenuCommand {
    QString text;           // "Копировать"
    QKeySequence shortcut;  // also works while the grid has the focus; empty for none
    std::function<void()> run;
};

// Gives a grid a context menu of `commands`, in their order, and their
// shortcuts. Opening the menu makes the row under the pointer the current
// one, so that a command acts on the row the user pointed at where the grid
// selects nothing.
void InstallContextMenu(QAbstractItemView& view, const std::vector<MenuCommand>& commands);

// The rows a copy takes: the selected ones, else the current one; in order,
// from `firstRow` on (the rows above are headers).
std::vector<int> RowsToCopy(const QAbstractItemView& view, int firstRow);

// Puts text on the clipboard.
void CopyText(const std::string& text);

}  // namespace cadrix::app
