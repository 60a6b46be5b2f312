#pragma once

#include <optional>

#include <QMessageBox>
#include <QPixmap>
#include <QRect>
#include <QString>
#include <QUrl>

class QWidget;

namespace cadrix::app {

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
    virtual QString getSaveFileName(QWidget* parent, const QString& caption, const QString& dir, const QString& filter,
                                    const QString& defaultSuffix) = 0;
    virtual QMessageBox::StandardButton message(QWidget* parent, const QString& caption, const QString& text,
                                                QMessageBox::Icon icon, QMessageBox::StandardButtons buttons) = 0;
    // Empty when the user cancels.
    virtual std::optional<QString> askPassword(QWidget* parent, const QString& entryName) = 0;
    // False when no browser could be started.
    virtual bool openUrl(const QUrl& url) = 0;
    // A null pixmap when the platform cannot read the screen.
    virtual QPixmap grabScreen(const QRect& rect) = 0;
};

// The real desktop.
class DesktopUiHost : public UiHost {
public:
    QString getOpenFileName(QWidget* parent, const QString& caption, const QString& dir,
                            const QString& filter) override;
    QString getSaveFileName(QWidget* parent, const QString& caption, const QString& dir, const QString& filter,
                            const QString& defaultSuffix) override;
    QMessageBox::StandardButton message(QWidget* parent, const QString& caption, const QString& text,
                                        QMessageBox::Icon icon, QMessageBox::StandardButtons buttons) override;
    std::optional<QString> askPassword(QWidget* parent, const QString& entryName) override;
    bool openUrl(const QUrl& url) override;
    QPixmap grabScreen(const QRect& rect) override;
};

// Opens a web page in the user's browser; where none can be started, says
// so in a message box that gives the address.
void OpenWebPage(UiHost& host, QWidget* parent, const QString& address);

// A dialog filter of "description|pattern" pairs, the form the program's
// filters are written in ("Orvanto Statistics (*.zip)|*.zip"), in Qt's
// notation: each description with its patterns in brackets, ";;" between.
QString QtFilter(const QString& pairs);

}  // namespace cadrix::app
