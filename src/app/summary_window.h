#pragma once

#include <QString>
#include <QWidget>

class QTextBrowser;

namespace cadrix::app {

// The period summary in the forms the window offers: the formatted document
// it shows, and the texts its copy commands put on the clipboard.
struct SummaryForms {
    QString title;     // the window's title
    QString html;      // as the report's summary section
    QString plain;     // "Копировать всё": the text, its heading first
    QString bbcode;    // "Копировать для форума"
    QString markdown;  // "Копировать как Markdown"
};

// "Итоги периода": the period summary as a document in a window of its own,
// read-only, to be read and copied (a selection, all of it as plain text, or
// as a forum post) into a forum or the manager's notes. The main window owns
// it and fills it anew each time it opens it.
class SummaryWindow : public QWidget {
    Q_OBJECT
public:
    explicit SummaryWindow(QWidget* owner);

    // Shows the summary, the window raised over its owner.
    void showSummary(const SummaryForms& forms);
    // What the window shows, as plain text.
    QString text() const;
    const SummaryForms& forms() const { return m_forms; }

private:
    QTextBrowser* m_browser;
    SummaryForms m_forms;
};

}  // namespace cadrix::app
