#pragma once

#include <functional>
#include <string>
#include <vector>

#include <QKeySequence>
#include <QString>

class QAbstractItemView;
class QWidget;

namespace cadrix::app {

// One item of a context menu; an item without text is a line between groups.
struct MenuCommand {
    QString text;           // "Копировать"
    QKeySequence shortcut;  // also works while the widget has the focus; empty for none
    std::function<void()> run;
    std::function<bool()> enabled = {};  // asked each time the menu opens; none: always
    QString name = {};                   // the item's object name
    std::function<bool()> checked = {};  // a check mark, asked each time the menu opens; none: no mark
    // Qt::WindowShortcut: the shortcut works anywhere in the window while the
    // widget is shown, not only while it has the focus.
    Qt::ShortcutContext shortcutContext = Qt::WidgetShortcut;
};

// The line between two groups of items.
inline MenuCommand MenuSeparator() { return {}; }

// The object name of every context menu the program opens.
inline const QString kContextMenuName = QStringLiteral("ContextMenu");

// Gives a widget a context menu of `commands`, in their order, and their
// shortcuts. On a grid, opening the menu makes the row under the pointer the
// current one (the selection stays), so that a command acts on the row the
// user pointed at: the one row a grid that selects nothing copies, the
// player a player item opens. Shift+F10 and the Menu key open the menu of a
// grid at its current cell.
void InstallContextMenu(QWidget& widget, const std::vector<MenuCommand>& commands);

// The rows a copy takes: the selected ones, else the current one; in order,
// from `firstRow` on (the rows above are headers).
std::vector<int> RowsToCopy(const QAbstractItemView& view, int firstRow);

// Puts text on the clipboard.
void CopyText(const std::string& text);

}  // namespace cadrix::app
