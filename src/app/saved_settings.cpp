#include "saved_settings.h"

#include <string>

#include <QSettings>
#include <QString>

namespace cadrix::app {

namespace {

const QString kPaletteKey = QStringLiteral("palette");
const QString kWatchFolderKey = QStringLiteral("watch_folder");

QSettings UserSettings() { return QSettings(QStringLiteral("cadrix"), QStringLiteral("cadrix")); }

}  // namespace

PaletteChoice SavedPalette() {
    const std::string name = UserSettings().value(kPaletteKey).toString().toStdString();
    return PaletteNamed(name).value_or(PaletteChoice::Designed);
}

void SavePalette(PaletteChoice choice) {
    const std::string_view name = PaletteName(choice);
    UserSettings().setValue(kPaletteKey, QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
}

QString SavedWatchFolder() { return UserSettings().value(kWatchFolderKey).toString(); }

void SaveWatchFolder(const QString& folder) { UserSettings().setValue(kWatchFolderKey, folder); }

}  // namespace cadrix::app
