#pragma once

#include <functional>

#include <QFrame>
#include <QString>

class QLabel;
class QPushButton;

namespace cadrix::app {

// "Новая выгрузка: Клуб, dd.MM.yyyy": a small notice at the foot of the main
// window (which has no status bar) about an export just stored, with a way
// to compare it with the one before. It never takes the focus from what the
// user is doing.
class NewExportNotice : public QFrame {
    Q_OBJECT
public:
    explicit NewExportNotice(QWidget* window);

    // Shows the notice, replacing an earlier one. Without `compare`, there
    // is nothing earlier to compare with and its button is disabled.
    void announce(const QString& club, const QString& date, std::function<void()> compare);

    QString text() const;
    QPushButton* compareButton() const { return m_compare; }
    QPushButton* closeButton() const { return m_close; }

private:
    void place();

    QLabel* m_text;
    QPushButton* m_compare;
    QPushButton* m_close;
    std::function<void()> m_compareAction;
};

}  // namespace cadrix::app
