#pragma once

#include <QString>
#include <QStringList>

namespace cadrix::app {

struct AppWindows;

// Saves pictures of the main window into `folder`: the splash state, then,
// after choosing the two archives, each page in tab order with the first
// player chosen on the skills page.
void SaveScreenshots(AppWindows& windows, const QString& folder, const QStringList& archives);

}  // namespace cadrix::app
