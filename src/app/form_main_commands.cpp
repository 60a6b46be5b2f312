// The commands: the grids' context menus, the saved report, the period
// summary, the palette, and the buttons that open the dialogs.

#include "form_main.h"

#include <QDialog>
#include <QFileInfo>
#include <QTableView>

#include "form_main_shared.h"
#include "grid_model.h"
#include "load_form.h"
#include "report_export.h"
#include "saved_settings.h"
#include "set_box.h"
#include "summary_window.h"
#include "uihost.h"
#include "views/page_text.h"
#include "views/player_rows.h"
#include "views/summary.h"

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
    };
    if (IsPlayerGrid(id))
        commands.push_back(playerDevelopment([this, id] { return playerIdAt(id, grid(id)->currentIndex().row()); }));
    commands.push_back(MenuSeparator());
    commands.push_back(
        {QStringLiteral("Сохранить отчёт…"), {}, [this] { saveReport(); }, {}, QStringLiteral("SaveReportAction")});
    commands.push_back(
        {QStringLiteral("Итоги периода…"), {}, [this] { showSummary(); }, {}, QStringLiteral("PeriodSummaryAction")});
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
        WindowReport report;
        report.comparison = &m_comparison;
        report.palette = m_palette;
        report.archives = {ArchiveRow{m_startChoice.fileLabel, m_startChoice.dateLabel},
                           ArchiveRow{m_endChoice.fileLabel, m_endChoice.dateLabel}};
        SaveReport(report, target, grid(GridId::StringGrid1)->font());
        m_host.message(this, QStringLiteral("Информация"),
                       QStringLiteral("Сохранено в ") + QFileInfo(target.path).absoluteFilePath(),
                       QMessageBox::Information, QMessageBox::Ok);
    });
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
        const ComparisonResult& result = m_comparison.Result();
        const QString title =
            Text(kSummaryTitle) + QStringLiteral(" %1 – %2").arg(Text(result.startDate), Text(result.endDate));
        m_summaryWindow->showSummary(title, Text(SummaryText(SummarisePeriod(m_comparison))));
    });
}

void FormMain::choosePalette(PaletteChoice choice) {
    m_palette = choice;
    SavePalette(choice);
    for (auto& [id, model] : m_models)
        model->setPalette(choice);
    refreshLabels();
}

void FormMain::Button1Click() {
    if (m_setBox)
        m_setBox->exec();
}

void FormMain::Button2Click() {
    if (auto* dialog = qobject_cast<QDialog*>(m_aboutBox))
        dialog->exec();
}

void FormMain::FillButtonClick() {
    if (m_loadForm)
        m_loadForm->showTables(m_comparison);
}

}  // namespace cadrix::app
