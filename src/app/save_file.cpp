#include "save_file.h"

#include <QFileInfo>
#include <QSaveFile>

#include "error_box.h"
#include "uihost.h"

namespace cadrix::app {

void SaveUserFile(UiHost& host, QWidget* parent, const QString& name, const QString& filter, const QString& suffix,
                  const std::function<bool(QIODevice&)>& write) {
    RunHandler(host, parent, [&] {
        const QString path = host.getSaveFileName(parent, QString(), name, QtFilter(filter), suffix, nullptr);
        if (path.isEmpty())
            return;
        const QString fullPath = QFileInfo(path).absoluteFilePath();
        QSaveFile file(fullPath);
        if (!file.open(QIODevice::WriteOnly) || !write(file) || !file.commit()) {
            host.message(parent, QStringLiteral("Ошибка"),
                         QStringLiteral("Не удалось сохранить %1: %2").arg(fullPath, file.errorString()),
                         QMessageBox::Critical, QMessageBox::Ok);
            return;
        }
        host.message(parent, QStringLiteral("Информация"), QStringLiteral("Сохранено в ") + fullPath,
                     QMessageBox::Information, QMessageBox::Ok);
    });
}

}  // namespace cadrix::app
