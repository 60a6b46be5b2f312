#pragma once

#include <memory>

#include <QDialog>

namespace Ui {
class AboutBox;
}

namespace cadrix::app {

class UiHost;

// The About box: the product, its version and purpose, and the author link.
class AboutBox : public QDialog {
    Q_OBJECT
public:
    AboutBox(UiHost& host, QWidget* parent = nullptr);
    ~AboutBox() override;

    void Label1Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<Ui::AboutBox> m_ui;
    UiHost& m_host;
};

}  // namespace cadrix::app
