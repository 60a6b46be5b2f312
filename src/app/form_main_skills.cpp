// The skills page: the player chooser, the screenshot of the skills grid,
// and the detail panel beside the window.

#include "form_main.h"

#include <QComboBox>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QTableView>
#include <QToolButton>

#include "ex_info_form.h"
#include "form_main_shared.h"
#include "grid_model.h"
#include "jpeg_writer.h"
#include "look.h"
#include "ui_form_pages.h"
#include "uihost.h"
#include "views/page_text.h"
#include "window_placement.h"

namespace cadrix::app {

namespace {

// The detail panel keeps this gap to the main window and stands this far
// below its top.
constexpr int kPanelGap = 5;
constexpr int kPanelDrop = 125;

}  // namespace

void FormMain::setUpSkillsPage() {
    Ui::FormPages& ui = *m_pagesUi;
    // The panel toggle is shown, so that the panel can be opened; it is
    // enabled by the first player choice. The chooser ends before it.
    ui.SpeedButton2->setText(QStringLiteral(">>"));
    ui.SpeedButton2->setToolTip(QStringLiteral("Открыть детальную статистику"));
    ui.SpeedButton2->setEnabled(false);
    ui.ComboBox3->resize(ui.SpeedButton2->x() - ui.ComboBox3->x() - 4, ui.ComboBox3->height());
    ui.ComboBox3->setMaxVisibleItems(20);
    InstallContextMenu(*ui.ComboBox3, {playerDevelopment([this] { return chosenPlayerId(); })});
    ui.SpeedButton1->setIcon(QIcon(CompiledPicture(QStringLiteral(":/icons/screenshot.pixels"))));
    ui.SpeedButton1->setToolTip(QStringLiteral("Сохранить скриншот"));
}

void FormMain::ComboBox3Change(int index) {
    run([&] {
        Ui::FormPages& pages = pagesUi();
        m_comparison.ChoosePlayer(index);
        m_models.at(GridId::StringGrid3)->textsChanged();
        pages.SpeedButton2->setEnabled(m_comparison.PanelToggleEnabled());
        if (m_exInfoForm)
            m_exInfoForm->setValues(m_comparison.ExInfo());
    });
}

void FormMain::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    CatchDrag();
}

void FormMain::CatchDrag() {
    if (!m_exInfoForm || !m_exInfoForm->isVisible())
        return;
    const QRect main = frameGeometry();
    const QScreen* display = screen() ? screen() : QGuiApplication::primaryScreen();
    const QRect desktop = display ? display->geometry() : QRect(0, 0, main.right() + 1, main.bottom() + 1);
    const int panelWidth = m_exInfoForm->frameGeometry().width();
    const int room = desktop.width() - main.width() - panelWidth;
    const int left = room < main.left() - desktop.left() ? main.left() - panelWidth - kPanelGap
                                                         : main.left() + main.width() + kPanelGap;
    // Where that place would cross the screen's edge, it stands just inside.
    m_exInfoForm->move(InsideScreen(*m_exInfoForm, QRect(QPoint(left, main.top() + kPanelDrop),
                                                         m_exInfoForm->frameGeometry().size())));
}

void FormMain::SpeedButton2Click() {
    run([this] {
        QToolButton* toggle = pagesUi().SpeedButton2;
        ExInfoForm& panel = exInfoForm();
        if (!panel.isVisible()) {
            const QRect main = frameGeometry();
            panel.move(InsideScreen(panel, QRect(QPoint(main.left() + main.width() + kPanelGap, main.top() + kPanelDrop),
                                                 panel.frameGeometry().size())));
            panel.show();
            toggle->setText(QStringLiteral("<<"));
            toggle->setToolTip(QStringLiteral("Скрыть детальную статистику"));
        } else {
            closePanel();
        }
    });
}

void FormMain::SpeedButton1Click() {
    run([this] {
        const QString chooserText = QString::fromStdString(m_comparison.ComboBox3Text());
        if (chooserText.isEmpty()) {
            m_host.message(this, QStringLiteral("Ошибка"), QStringLiteral("Выберите игрока для сохранения"),
                           QMessageBox::Critical, QMessageBox::Ok);
            return;
        }
        const QImage picture = captureSkillsArea();
        const QString path = m_host.getSaveFileName(this, QString(), proposedScreenshotName(), QtFilter(kJpegFilter),
                                                    QStringLiteral("jpg"), nullptr);
        if (path.isEmpty())
            return;
        const QString fullPath = QFileInfo(path).absoluteFilePath();
        WriteJpeg(picture, fullPath);
        m_host.message(this, QStringLiteral("Информация"), QStringLiteral("Сохранено в ") + fullPath,
                       QMessageBox::Information, QMessageBox::Ok);
    });
}

QImage FormMain::captureSkillsArea() {
    // The skills grid's own rectangle on the screen, its border included.
    // Offsets from the outer frame would hold for one size of window frame
    // only; this holds on any desktop, with any frame or none.
    QTableView* skills = pagesUi().StringGrid3;
    const QRect area(skills->mapToGlobal(QPoint(0, 0)), skills->size());
    QImage picture = m_host.grabScreen(area).toImage();
    if (picture.size() == area.size())
        return picture;
    // The platform cannot read the screen (Wayland, offscreen): take the
    // grid's own pixels instead.
    return skills->grab().toImage();
}

QString FormMain::proposedScreenshotName() const {
    return QString::fromStdString(NameOfChooserText(m_comparison.ComboBox3Text()));
}

void FormMain::followWindowState() {
    if (!m_exInfoForm)
        return;
    if (isMinimized()) {
        if (m_exInfoForm->isVisible()) {
            m_panelAwayWhileMinimised = true;
            m_exInfoForm->hide();
        }
    } else if (m_panelAwayWhileMinimised) {
        m_panelAwayWhileMinimised = false;
        // Not a plain show(): a window manager that minimised the panel with
        // its owner would keep the whole window group minimised.
        m_exInfoForm->showNormal();
        CatchDrag();
    }
}

void FormMain::closePanel() {
    m_panelAwayWhileMinimised = false;
    if (!m_exInfoForm || !m_exInfoForm->isVisible())
        return;
    m_exInfoForm->hide();
    QToolButton* toggle = pagesUi().SpeedButton2;
    toggle->setText(QStringLiteral(">>"));
    toggle->setToolTip(QStringLiteral("Показать детальную статистику"));
}

}  // namespace cadrix::app
