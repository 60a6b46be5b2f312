#include "history_access.h"

namespace cadrix::app {

History* HistoryAccess::open(std::optional<QString>& problem) {
    if (m_history)
        return &*m_history;
    if (m_failed)
        return nullptr;
    try {
        m_history.emplace(History::Open(m_file));
        return &*m_history;
    } catch (const std::exception& error) {
        m_failed = true;
        problem = QStringLiteral("История выгрузок не открыта и до перезапуска программы отключена; сравнение "
                                 "архивов работает как обычно.\n\n%1")
                      .arg(QString::fromUtf8(error.what()));
        emit disabled();
        return nullptr;
    }
}

std::optional<QString> HistoryAccess::keepChosenArchive(const std::filesystem::path& archive,
                                                        const std::filesystem::path& folder) {
    m_lastKept.reset();
    std::optional<QString> problem;
    History* history = open(problem);
    if (!history)
        return problem;
    QString reason;
    try {
        const AddOutcome outcome = history->AddExtracted(archive, folder);
        if (outcome.status == AddStatus::Added)
            notifyChanged();
        if (outcome.status != AddStatus::Failed) {
            m_lastKept = outcome.snapshot;
            return std::nullopt;
        }
        reason = QStringLiteral("%1: %2: %3")
                     .arg(QString::fromStdString(m_file.string()), QString::fromStdString(archive.string()),
                          QString::fromStdString(outcome.error));
    } catch (const std::exception& error) {
        // The database's errors name it already.
        reason = QString::fromUtf8(error.what());
    }
    return NotKeptText(reason);
}

QString HistoryAccess::NotKeptText(const QString& reason) {
    return QStringLiteral("Выгрузка не сохранена в истории; сравнение это не затрагивает.\n\n%1").arg(reason);
}

}  // namespace cadrix::app
