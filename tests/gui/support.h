#pragma once

// What the window tests share: archives made by a real tool, and looks at
// the pixels a widget paints.

#include <filesystem>
#include <string>

#include <QColor>
#include <QString>
#include <QStringList>

class QImage;
class QWidget;

void WriteFile(const std::filesystem::path& path, const std::string& text);

// Keeps what the program remembers between runs in `folder`, never in the
// user's own settings.
void KeepSettingsIn(const QString& folder);

// A ZIP archive `name` in `folder`, made by the zip tool, of small CSV files
// named `entries`.
QString MakeZip(const QString& folder, const QString& name, const QStringList& entries);

// Whether the widget, as it paints itself now, shows the colour: some pixel
// lies within a small distance of it (antialiased text never reaches its
// colour everywhere, but its strokes' cores do).
bool PaintsColour(QWidget& widget, const QColor& colour);

// The share of a picture's pixel row `y` that is the colour, give or take
// what JPEG compression changes.
double RowShare(const QImage& picture, int y, const QColor& colour);
