#include "placeholder_windows.h"

namespace cadrix::app {

AboutBox::AboutBox(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("О программе"));
}

ExInfoForm::ExInfoForm(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("ExInfoForm"));
    setFixedSize(258, 448);
}

}  // namespace cadrix::app
