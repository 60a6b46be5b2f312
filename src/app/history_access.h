#pragma once

#include <filesystem>
#include <optional>

#include <QObject>
#include <QString>

#include "history/history.h"

namespace cadrix::app {

// The window's way to the history database: opened at its first use, so that
// a start that never touches the history never opens it; left alone for the
// rest of the process once it cannot be opened. Nothing of the comparison
// depends on it.
class HistoryAccess : public QObject {
    Q_OBJECT
public:
    explicit HistoryAccess(std::filesystem::path file) : m_file(std::move(file)) {}

    const std::filesystem::path& file() const { return m_file; }
    bool failed() const { return m_failed; }

    // The history, or null when it cannot be opened. The first failure gives
    // its reason in `problem` (naming the database), later calls nothing.
    History* open(std::optional<QString>& problem);

    // Stores an archive just chosen, whose files lie extracted in `folder`;
    // an archive stored already is passed over. The text to show the user
    // when it could not be stored.
    std::optional<QString> keepChosenArchive(const std::filesystem::path& archive, const std::filesystem::path& folder);
    // The snapshot that the last kept archive is stored as; none after a failure.
    const std::optional<StoredSnapshot>& lastKept() const { return m_lastKept; }
    // After a choice whose archive is not kept at all.
    void forgetLastKept() { m_lastKept.reset(); }
    // The text shown when an archive is not stored, for `reason`.
    static QString NotKeptText(const QString& reason);

    // Tells the history's windows that the stored snapshots changed.
    void notifyChanged() { emit changed(); }

signals:
    void changed();
    // The database cannot be opened: the history's features are off.
    void disabled();

private:
    std::filesystem::path m_file;
    std::optional<History> m_history;
    std::optional<StoredSnapshot> m_lastKept;
    bool m_failed = false;
};

// The caption of the history's messages.
inline const QString kHistoryCaption = QStringLiteral("История выгрузок");

}  // namespace cadrix::app
