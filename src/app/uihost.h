#pragma once

#include <memory>
#include <optional>

#include <QMessageBox>
#include <QPixmap>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QUrl>

class QWidget;

namespace cadrix::app {

// A long step's progress as the user sees it, with a way to stop it.
class ProgressReport {
public:
    virtual ~ProgressReport() = default;
    // `done` steps of the total are finished; false when the user asked to stop.
    virtual bool advance(int done) = 0;
};

// Everything the program asks of the desktop besides its own windows: file
// dialogs, message boxes, the password question, the web browser and the
// screen. The windows reach the desktop only through this, so that tests can
// answer in the user's place.
class UiHost {
public:
    virtual ~UiHost() = default;

    // Empty when the user cancels.
    virtual QString getOpenFileName(QWidget* parent, const QString& caption, const QString& dir,
                                    const QString& filter) = 0;
    // Empty when the user cancels.
    virtual QStringList getOpenFileNames(QWidget* parent, const QString& caption, const QString& dir,
                                         const QString& filter) = 0;
    // Empty when the user cancels.
    virtual QString getExistingDirectory(QWidget* parent, const QString& caption, const QString& dir) = 0;
    // Empty when the user cancels. A name typed without an extension gets
    // that of the filter chosen in the dialog, `defaultSuffix` on the first.
    // With `selectedFilter`, the dialog starts on that filter (the first where
    // it names none) and leaves there the one the user chose.
    virtual QString getSaveFileName(QWidget* parent, const QString& caption, const QString& dir, const QString& filter,
                                    const QString& defaultSuffix, QString* selectedFilter) = 0;
    virtual QMessageBox::StandardButton message(QWidget* parent, const QString& caption, const QString& text,
                                                QMessageBox::Icon icon, QMessageBox::StandardButtons buttons) = 0;
    // Empty when the user cancels.
    virtual std::optional<QString> askPassword(QWidget* parent, const QString& entryName) = 0;
    // False when no browser could be started.
    virtual bool openUrl(const QUrl& url) = 0;
    // A null pixmap when the platform cannot read the screen.
    virtual QPixmap grabScreen(const QRect& rect) = 0;
    // The progress of `total` steps, shown with a cancel button while the
    // step lasts long enough to be noticed.
    virtual std::unique_ptr<ProgressReport> startProgress(QWidget* parent, const QString& text, int total) = 0;
};

// The real desktop.
class DesktopUiHost : public UiHost {
public:
    QString getOpenFileName(QWidget* parent, const QString& caption, const QString& dir,
                            const QString& filter) override;
    QStringList getOpenFileNames(QWidget* parent, const QString& caption, const QString& dir,
                                 const QString& filter) override;
    QString getExistingDirectory(QWidget* parent, const QString& caption, const QString& dir) override;
    QString getSaveFileName(QWidget* parent, const QString& caption, const QString& dir, const QString& filter,
                            const QString& defaultSuffix, QString* selectedFilter) override;
    QMessageBox::StandardButton message(QWidget* parent, const QString& caption, const QString& text,
                                        QMessageBox::Icon icon, QMessageBox::StandardButtons buttons) override;
    std::optional<QString> askPassword(QWidget* parent, const QString& entryName) override;
    bool openUrl(const QUrl& url) override;
    QPixmap grabScreen(const QRect& rect) override;
    std::unique_ptr<ProgressReport> startProgress(QWidget* parent, const QString& text, int total) override;
};

// Opens a web page in the user's browser; where none can be started, says
// so in a message box that gives the address.
void OpenWebPage(UiHost& host, QWidget* parent, const QString& address);

// A dialog filter of "description|pattern" pairs, the form the program's
// filters are written in ("Orvanto Statistics (*.zip)|*.zip"), in Qt's
// notation: each description with its patterns in brackets, ";;" between.
QString QtFilter(const QString& pairs);

// The extension a filter in Qt's notation gives a file: "pdf" for "Отчёт PDF
// (*.pdf)"; empty where its first pattern is no "*.extension".
QString FilterSuffix(const QString& filter);

}  // namespace cadrix::app
