#pragma once

#include <functional>
#include <memory>

#include <QDialog>
#include <QPixmap>

#include "font_choice.h"

namespace Ui {
class SetBox;
}

namespace cadrix::app {

// The settings dialog: the font family of every window, applied at once by
// `choose`.
class SetBox : public QDialog {
    Q_OBJECT
public:
    explicit SetBox(std::function<void(FontFamily)> choose, QWidget* parent = nullptr);
    ~SetBox() override;

    void RadioButton1Click();
    void RadioButton2Click();
    void RadioButton3Click();
    void RadioButton4Click();

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<Ui::SetBox> m_ui;
    std::function<void(FontFamily)> m_choose;
    QPixmap m_grass;
};

}  // namespace cadrix::app
