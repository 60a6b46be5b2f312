#pragma once

#include <functional>

#include <QIODevice>
#include <QString>

class QWidget;

namespace cadrix::app {

class UiHost;

// Asks where to save (`name` offered, `filter` as the dialogs write it),
// writes the file through `write` beside the target and renames it over the
// target only when whole, then says where it went or why it did not.
void SaveUserFile(UiHost& host, QWidget* parent, const QString& name, const QString& filter, const QString& suffix,
                  const std::function<bool(QIODevice&)>& write);

}  // namespace cadrix::app
