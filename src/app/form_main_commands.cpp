// The commands: the grids' context menus, the saved report, the period
// summary, the palette, and the buttons that open the dialogs.

#include "form_main.h"

#include <QDialog>
#include <QFileInfo>
#include <QTableView>

#include "about_box.h"
#include "form_main_shared.h"
#include "grid_model.h"
#include "load_form.h"
#include "report_export.h"
#include "saved_settings.h"
#include "set_box.h"
#include "summary_window.h"
#include "uihost.h"
#include "export/forum_text.h"
#include "views/page_text.h"
#include "views/player_rows.h"

namespace cadrix::app {

namespace {

// The pages with a row per player.
bool IsPlayerGrid(GridId id) {
    return id == GridId::StringGrid_ru || id == GridId::StringGrid_pr || id == GridId::StringGrid_pay ||
           id == GridId::StringGrid_nat;
}

}  // namespace

// A new item is one more entry here; an item for some pages only tests `id`.
std::vector<MenuCommand> FormMain::gridCommands(GridId id) {
    std::vector<MenuCommand> commands = {
        {QStringLiteral("Копировать"), QKeySequence::Copy, [this, id] { copyRows(id); }},
        {QStringLiteral("Копировать всё"), {}, [this, id] { copyPage(id); }},
        {QStringLiteral("Копировать для форума"), {},
         [this, id] { CopyText(ForumPage(m_comparison, id, m_palette, ForumMarkup::BBCode)); }, {},
         QStringLiteral("CopyBbcodeAction")},
        {QStringLiteral("Копировать как Markdown"), {},
         [this, id] { CopyText(ForumPage(m_comparison, id, m_palette, ForumMarkup::Markdown)); }, {},
         QStringLiteral("CopyMarkdownAction")},
    };
    if (IsPlayerGrid(id))
        commands.push_back(playerDevelopment([this, id] { return playerIdAt(id, grid(id)->currentIndex().row()); }));
    commands.push_back(MenuSeparator());
    // Shortcuts of the whole window, shown in the menu of each page's grid;
    // only the shown page's grid holds them at a time.
    commands.push_back({QStringLiteral("Сохранить отчёт…"), QKeySequence(Qt::CTRL | Qt::Key_S), [this] { saveReport(); },
                        {}, QStringLiteral("SaveReportAction"), {}, Qt::WindowShortcut});
    commands.push_back({QStringLiteral("Итоги периода…"), QKeySequence(Qt::CTRL | Qt::Key_I), [this] { showSummary(); },
                        {}, QStringLiteral("PeriodSummaryAction"), {}, Qt::WindowShortcut});
    commands.push_back(MenuSeparator());
    MenuCommand colourblind{QStringLiteral("Цвета для дальтоников"), {}, {}, {}, QStringLiteral("ColourblindAction")};
    colourblind.run = [this] {
        choosePalette(m_palette == PaletteChoice::Colourblind ? PaletteChoice::Designed : PaletteChoice::Colourblind);
    };
    colourblind.checked = [this] { return m_palette == PaletteChoice::Colourblind; };
    commands.push_back(std::move(colourblind));
    return commands;
}

void FormMain::copyRows(GridId id) {
    std::vector<TextLine> lines;
    for (int row : RowsToCopy(*grid(id), InfoOf(id).fixedRows))
        lines.push_back(RowText(m_comparison, id, row));
    if (!lines.empty())
        CopyText(TabSeparated(lines));
}

void FormMain::copyPage(GridId id) { CopyText(TabSeparated(PageTextOf(m_comparison, id).Lines())); }

void FormMain::saveReport() {
    run([this] {
        QString filter;
        const QString chosen = m_host.getSaveFileName(this, QString(), proposedReportName(), QtFilter(kReportFilter),
                                                      QStringLiteral("html"), &filter);
        if (chosen.isEmpty())
            return;
        const ReportTarget target = ReportTargetOf(chosen, filter);
        saveReportTo(target);
        m_host.message(this, QStringLiteral("Информация"),
                       QStringLiteral("Сохранено в ") + QFileInfo(target.path).absoluteFilePath(),
                       QMessageBox::Information, QMessageBox::Ok);
    });
}

// The PDF's text is in the grids' font.
void FormMain::saveReportTo(const ReportTarget& target) {
    SaveReport(windowReport(), target, grid(GridId::StringGrid1)->font());
}

WindowReport FormMain::windowReport() const {
    WindowReport report;
    report.comparison = &m_comparison;
    report.palette = m_palette;
    report.archives = {ArchiveRow{m_startChoice.fileLabel, m_startChoice.dateLabel},
                       ArchiveRow{m_endChoice.fileLabel, m_endChoice.dateLabel}};
    return report;
}

// "Отчёт 01.09.2026-30.11.2026.html": the period's dates as the pages show them.
QString FormMain::proposedReportName() const {
    const ComparisonResult& result = m_comparison.Result();
    return QStringLiteral("Отчёт %1-%2.html").arg(Text(result.startDate), Text(result.endDate));
}

void FormMain::showSummary() {
    run([this] {
        if (!m_summaryWindow)
            m_summaryWindow = new SummaryWindow(this);
        m_summaryWindow->showSummary(SummaryFormsOf(windowReport()));
    });
}

void FormMain::choosePalette(PaletteChoice choice) {
    m_palette = choice;
    SavePalette(choice);
    for (auto& [id, model] : m_models)
        model->setPalette(choice);
    refreshLabels();
}

void FormMain::Button1Click() { setBox().exec(); }

void FormMain::Button2Click() { aboutBox().exec(); }

void FormMain::FillButtonClick() {
    if (m_loadForm)
        m_loadForm->showTables(m_comparison);
}

}  // namespace cadrix::app
