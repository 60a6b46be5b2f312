// The main window's own windows, made when first needed, and the font
// family chosen for all of them.

#include "form_main.h"

#include <QTableView>

#include "about_box.h"
#include "ex_info_form.h"
#include "set_box.h"
#include "ui_form_pages.h"

namespace cadrix::app {

ExInfoForm& FormMain::exInfoForm() {
    if (!m_exInfoForm) {
        m_exInfoForm = std::make_unique<ExInfoForm>(this);
        m_exInfoForm->setValues(m_comparison.ExInfo());
        reachWithFont(*m_exInfoForm, WindowFont::Keep);
    }
    return *m_exInfoForm;
}

SetBox& FormMain::setBox() {
    if (!m_setBox) {
        m_setBox = std::make_unique<SetBox>([this](FontFamily family) { chooseFont(family); }, this);
        reachWithFont(*m_setBox, WindowFont::Too);
    }
    return *m_setBox;
}

AboutBox& FormMain::aboutBox() {
    if (!m_aboutBox) {
        m_aboutBox = std::make_unique<AboutBox>(m_host, this);
        reachWithFont(*m_aboutBox, WindowFont::Too);
    }
    return *m_aboutBox;
}

void FormMain::chooseFont(FontFamily family) {
    m_fontFamily = family;
    const QString name = LookOf(family).family;
    // The main window owns the detail panel, so the main window's call
    // reaches the panel's own font too; that one stays as it was.
    const QFont panelFont = m_exInfoForm ? m_exInfoForm->font() : QFont();
    if (m_setBox)
        ApplyFontFamily(m_setBox.get(), name, WindowFont::Too);
    ApplyFontFamily(this, name, WindowFont::Too);
    if (m_aboutBox)
        ApplyFontFamily(m_aboutBox.get(), name, WindowFont::Too);
    if (m_exInfoForm) {
        m_exInfoForm->setFont(panelFont);
        ApplyFontFamily(m_exInfoForm.get(), name, WindowFont::Keep);
    }
    if (m_pagesUi)
        setSkillsGridPoints(LookOf(family).skillsGridPoints);
}

void FormMain::reachWithFont(QWidget& window, WindowFont windowFont) {
    if (!m_fontFamily)
        return;
    const QString name = LookOf(*m_fontFamily).family;
    // As a choice made with the window there reaches it: first as one of
    // the main window's own, then as a window of its own.
    const QFont own = window.font();
    QList<QWidget*> reached = window.findChildren<QWidget*>();
    reached.prepend(&window);
    for (QWidget* widget : reached) {
        QFont font = widget->font();
        font.setFamily(name);
        widget->setFont(font);
    }
    if (windowFont == WindowFont::Keep)
        window.setFont(own);
    ApplyFontFamily(&window, name, windowFont);
}

void FormMain::setSkillsGridPoints(int points) {
    QTableView* skills = m_pagesUi->StringGrid3;
    QFont font = skills->font();
    font.setPointSize(points);
    skills->setFont(font);
}

}  // namespace cadrix::app
