#pragma once

#include <deque>
#include <vector>

#include "uihost.h"

// Answers the program's questions the way a test scripted them, and keeps
// what the program showed.
class ScriptedHost : public cadrix::app::UiHost {
public:
    struct Message {
        QString caption;
        QString text;
        QMessageBox::Icon icon;
        QMessageBox::StandardButtons buttons;
    };

    std::deque<QString> openAnswers;  // an empty answer is a cancelled dialog
    std::deque<QStringList> openManyAnswers;
    std::deque<QString> folderAnswers;
    std::deque<QString> saveAnswers;
    std::deque<QString> saveFilterAnswers;  // the filter chosen with each save answer; none: as offered
    std::deque<QMessageBox::StandardButton> messageAnswers;
    std::vector<Message> messages;
    std::vector<QUrl> openedUrls;
    std::vector<QString> openDialogFolders;
    std::vector<QString> openDialogFilters;
    std::vector<QString> saveDialogNames;
    std::vector<QString> saveDialogFilters;
    std::vector<QRect> grabbedRects;
    QPixmap screen;
    bool readsScreen = false;   // take the real screen instead of `screen`
    bool browserStarts = true;  // else openUrl fails
    // Every progress step reported, and the step after which the user cancels.
    std::vector<int> progressSteps;
    std::optional<int> cancelAfter;

    QString getOpenFileName(QWidget*, const QString&, const QString& dir, const QString& filter) override;
    QStringList getOpenFileNames(QWidget*, const QString&, const QString&, const QString&) override;
    QString getExistingDirectory(QWidget*, const QString&, const QString&) override;
    QString getSaveFileName(QWidget*, const QString&, const QString&, const QString&, const QString&,
                            QString* selectedFilter) override;
    QMessageBox::StandardButton message(QWidget*, const QString& caption, const QString& text, QMessageBox::Icon icon,
                                        QMessageBox::StandardButtons buttons) override;
    std::optional<QString> askPassword(QWidget*, const QString&) override { return std::nullopt; }
    bool openUrl(const QUrl& url) override {
        openedUrls.push_back(url);
        return browserStarts;
    }
    QPixmap grabScreen(const QRect& rect) override {
        grabbedRects.push_back(rect);
        return readsScreen ? cadrix::app::DesktopUiHost().grabScreen(rect) : screen;
    }
    std::unique_ptr<cadrix::app::ProgressReport> startProgress(QWidget*, const QString&, int) override;
};
