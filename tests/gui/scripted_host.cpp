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
                                      const QString&) {
    saveDialogNames.push_back(name);
    saveDialogFilters.push_back(filter);
    if (saveAnswers.empty())
        return {};
    QString answer = saveAnswers.front();
    saveAnswers.pop_front();
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
