#pragma once

#include <QWidget>

class QPlainTextEdit;

namespace cadrix::app {

// "Итоги периода": the period summary as text in a window of its own, to be
// read and copied (selected, or all of it with the text's context menu) into
// a forum post or the manager's notes. The main window owns it and fills it
// anew each time it opens it.
class SummaryWindow : public QWidget {
    Q_OBJECT
public:
    explicit SummaryWindow(QWidget* owner);

    // Shows the text under the title, the window raised over its owner.
    void showSummary(const QString& title, const QString& text);
    QString text() const;

private:
    QPlainTextEdit* m_text;
};

}  // namespace cadrix::app
