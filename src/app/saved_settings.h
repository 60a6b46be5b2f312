#pragma once

#include <QString>

#include "views/palette.h"

namespace cadrix::app {

// What the program remembers between runs, in the user's settings file
// (on Linux ~/.config/cadrix/cadrix.conf, under $XDG_CONFIG_HOME when set).

// The palette the grids and the reports show changes in; the designed one
// when none was chosen or the file names none the program knows.
PaletteChoice SavedPalette();
void SavePalette(PaletteChoice choice);

// The folder whose new exports go into the history; empty when none is
// watched.
QString SavedWatchFolder();
void SaveWatchFolder(const QString& folder);

}  // namespace cadrix::app
