#pragma once

#include <exception>
#include <utility>

#include <QString>

class QWidget;

namespace cadrix::app {

class UiHost;

inline const QString kApplicationTitle = QStringLiteral("Cadrix v2.0");

// The text of the standard error box: the error's message, with "." added
// when its last character sorts after ".".
QString StandardErrorText(const QString& message);

// The application's standard error box: the message under the application
// title, error icon, one OK button.
void ShowStandardError(UiHost& host, QWidget* parent, const QString& message);

// Runs one event handler; an error escaping it ends the handler, is shown in
// the standard error box, and the program goes on.
template <typename Handler>
void RunHandler(UiHost& host, QWidget* parent, Handler&& handler) {
    try {
        std::forward<Handler>(handler)();
    } catch (const std::exception& error) {
        ShowStandardError(host, parent, QString::fromUtf8(error.what()));
    } catch (...) {
        ShowStandardError(host, parent, QStringLiteral("Unknown error"));
    }
}

}  // namespace cadrix::app
