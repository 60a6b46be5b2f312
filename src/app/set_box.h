#pragma once

#include <memory>

#include <QDialog>
#include <QPixmap>

class QTableView;

namespace Ui {
class SetBox;
}

namespace cadrix::app {

// The settings dialog: the font family of every window, applied at once.
// The choice lasts for the life of the process; nothing is stored.
class SetBox : public QDialog {
    Q_OBJECT
public:
    explicit SetBox(QWidget* parent = nullptr);
    ~SetBox() override;

    // The windows the choice reaches; the detail panel keeps its own
    // window font, its controls follow.
    void setWindows(QWidget* main, QWidget* about, QWidget* detailPanel, QTableView* skillsGrid);

    void RadioButton1Click();
    void RadioButton2Click();
    void RadioButton3Click();
    void RadioButton4Click();

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void apply(const QString& family, int skillsGridPoints);

    std::unique_ptr<Ui::SetBox> m_ui;
    QPixmap m_grass;
    QWidget* m_main = nullptr;
    QWidget* m_about = nullptr;
    QWidget* m_detailPanel = nullptr;
    QTableView* m_skillsGrid = nullptr;
};

}  // namespace cadrix::app
