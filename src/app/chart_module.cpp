#include "chart_module.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QStringList>

#include "chart_kit.h"

namespace cadrix::app {

namespace {

// The module's file name, and its folder relative to the installed program's
// folder; both come from the build.
const QString kModuleFile = QStringLiteral(CADRIX_CHART_MODULE_FILE);
const QString kInstalledFolder = QStringLiteral(CADRIX_CHART_MODULE_INSTALLED_DIR);

QString& ChosenFolder() {
    static QString folder;
    return folder;
}

QStringList Candidates() {
    if (!ChosenFolder().isEmpty())
        return {QDir(ChosenFolder()).filePath(kModuleFile)};
    const QDir program(QCoreApplication::applicationDirPath());
    return {program.filePath(kModuleFile), QDir::cleanPath(program.filePath(kInstalledFolder + u'/' + kModuleFile))};
}

}  // namespace

void SetChartModuleFolder(const QString& folder) { ChosenFolder() = folder; }

ChartKit* LoadChartKit(QString& error) {
    static ChartKit* kit = nullptr;
    if (kit)
        return kit;
    const QStringList candidates = Candidates();
    QString path;
    for (const QString& candidate : candidates) {
        if (QFileInfo::exists(candidate)) {
            path = candidate;
            break;
        }
    }
    if (path.isEmpty()) {
        error = QStringLiteral("Модуль графиков не найден: %1").arg(candidates.join(QStringLiteral(", ")));
        return nullptr;
    }
    // Never unloaded: the charts it made may live until the program ends.
    auto* library = new QLibrary(path);
    const auto entry = reinterpret_cast<ChartKitEntry>(library->resolve(kChartKitEntry));
    if (!entry) {
        error = QStringLiteral("Модуль графиков %1 не загружен: %2").arg(path, library->errorString());
        delete library;
        return nullptr;
    }
    kit = entry(kChartKitVersion);
    if (!kit)
        error = QStringLiteral("Модуль графиков %1 собран для другой версии программы").arg(path);
    return kit;
}

}  // namespace cadrix::app
