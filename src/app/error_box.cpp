#include "error_box.h"

#include "uihost.h"

namespace cadrix::app {

QString StandardErrorText(const QString& message) {
    QString text = message;
    if (!text.isEmpty() && text.back() > u'.')
        text += u'.';
    return text;
}

void ShowStandardError(UiHost& host, QWidget* parent, const QString& message) {
    host.message(parent, kApplicationTitle, StandardErrorText(message), QMessageBox::Critical, QMessageBox::Ok);
}

}  // namespace cadrix::app
