#pragma once

#include <QDialog>
#include <QWidget>

namespace cadrix::app {

// The About box and the detail panel as plain windows with their names and
// captions; their contents come with their own handlers.
class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget* parent = nullptr);
};

class ExInfoForm : public QWidget {
    Q_OBJECT
public:
    explicit ExInfoForm(QWidget* parent = nullptr);
};

}  // namespace cadrix::app
