#include "scripted_host.h"

QString ScriptedHost::getOpenFileName(QWidget*, const QString&, const QString& dir, const QString& filter) {
    openDialogFolders.push_back(dir);
    openDialogFilters.push_back(filter);
    if (openAnswers.empty())
        return {};
    QString answer = openAnswers.front();
    openAnswers.pop_front();
    return answer;
}

QString ScriptedHost::getSaveFileName(QWidget*, const QString&, const QString& name, const QString& filter,
                                      const QString&, QString* selectedFilter) {
    saveDialogNames.push_back(name);
    saveDialogFilters.push_back(filter);
    if (saveAnswers.empty())
        return {};
    QString answer = saveAnswers.front();
    saveAnswers.pop_front();
    if (selectedFilter && !saveFilterAnswers.empty()) {
        *selectedFilter = saveFilterAnswers.front();
        saveFilterAnswers.pop_front();
    }
    return answer;
}

QMessageBox::StandardButton ScriptedHost::message(QWidget*, const QString& caption, const QString& text,
                                                  QMessageBox::Icon icon, QMessageBox::StandardButtons buttons) {
    messages.push_back({caption, text, icon, buttons});
    if (messageAnswers.empty())
        return QMessageBox::Ok;
    auto answer = messageAnswers.front();
    messageAnswers.pop_front();
    return answer;
}

namespace {
template <typename T>
T Next(std::deque<T>& answers) {
    if (answers.empty())
        return {};
    T answer = answers.front();
    answers.pop_front();
    return answer;
}
}  // namespace

QStringList ScriptedHost::getOpenFileNames(QWidget*, const QString&, const QString&, const QString&) {
    return Next(openManyAnswers);
}

QString ScriptedHost::getExistingDirectory(QWidget*, const QString&, const QString&) { return Next(folderAnswers); }

std::unique_ptr<cadrix::app::ProgressReport> ScriptedHost::startProgress(QWidget*, const QString&, int) {
    struct Steps : cadrix::app::ProgressReport {
        explicit Steps(ScriptedHost& host) : m_host(host) {}
        bool advance(int done) override {
            m_host.progressSteps.push_back(done);
            return !m_host.cancelAfter || done < *m_host.cancelAfter;
        }
        ScriptedHost& m_host;
    };
    return std::make_unique<Steps>(*this);
}
