#include "pdf_report.h"

#include <stdexcept>
#include <string>

#include <QApplication>
#include <QFont>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPalette>
#include <QPdfWriter>
#include <QSaveFile>
#include <QString>

#include "cell_delegate.h"
#include "pdf_sheets.h"
#include "views/page_text.h"
#include "views/palette.h"
#include "views/skills_page.h"
#include "views/summary.h"

namespace cadrix::app {

namespace {

constexpr qreal kMarginMm = 12;
// The sheets are laid out in CSS pixels, 96 to the inch, as the HTML report is.
constexpr int kPixelsPerInch = 96;

// A favourable or unfavourable cell starts with its mark, so that it reads
// without colour, as in the HTML report.
constexpr std::string_view kFavourableMark = "▲";
constexpr std::string_view kUnfavourableMark = "▼";

QString Text(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }
QColor Colour(const Rgb& rgb) { return QColor(rgb.r, rgb.g, rgb.b); }
std::string Quoted(const QString& path) { return "\"" + path.toStdString() + "\""; }

class Builder {
public:
    Builder(const ReportInput& in, const PeriodSummary& summary)
        : m_in(in), m_cmp(*in.comparison), m_summary(summary), m_palette(PaletteOf(in.palette)) {}

    std::vector<PrintSection> Sections();

private:
    PrintSection Summary() const;
    PrintSection Page(const GridInfo& grid) const;
    void Choice(const ChoiceRecord& choice, PrintSection& section) const;
    PrintTable Grid(GridId id) const;
    PrintParagraph Totals(const TotalsLineText& totals) const;
    PrintParagraph Legend() const;
    PrintCell CellOf(std::string_view text, const CellStyle& style, bool fixed) const;
    PrintRun Toned(std::string_view text, Background tone) const;
    QColor ToneColour(Background tone) const;

    const ReportInput& m_in;
    const Comparison& m_cmp;
    const PeriodSummary& m_summary;
    const Palette& m_palette;
};

PrintParagraph Line(ParagraphKind kind, std::string_view text) { return {kind, {PrintRun{Text(text)}}}; }

std::vector<PrintSection> Builder::Sections() {
    std::vector<PrintSection> sections{Summary()};
    for (GridId id : kTabOrder)
        sections.push_back(Page(InfoOf(id)));
    return sections;
}

QColor Builder::ToneColour(Background tone) const {
    switch (tone) {
    case Background::Favourable: return Colour(m_palette.favourable);
    case Background::Unfavourable: return Colour(m_palette.unfavourable);
    case Background::Grid: break;
    }
    return {};
}

PrintRun Builder::Toned(std::string_view text, Background tone) const {
    PrintRun run{Text(text)};
    run.background = ToneColour(tone);
    return run;
}

// The title, the two archives, what the marks say, then the summary's groups.
PrintSection Builder::Summary() const {
    PrintSection section;
    section.blocks.push_back(Line(ParagraphKind::Heading, ReportTitle(m_summary.period)));
    for (const ArchiveRow& row : m_in.archives)
        section.blocks.push_back(Line(ParagraphKind::Small, row.file + "  " + row.date));
    section.blocks.push_back(PrintParagraph{
        ParagraphKind::Text,
        {Toned(kFavourableMark, Background::Favourable), PrintRun{QStringLiteral(" — изменение к лучшему, ")},
         Toned(kUnfavourableMark, Background::Unfavourable), PrintRun{QStringLiteral(" — к худшему")}}});
    section.blocks.push_back(Line(ParagraphKind::Subheading, SummaryHeading(m_summary.period)));
    for (const SummaryGroup& group : SummaryGroups(m_summary)) {
        section.blocks.push_back(Line(ParagraphKind::Caption, group.caption));
        if (group.items.empty())
            section.blocks.push_back(Line(ParagraphKind::Text, kSummaryNothing));
        for (const SummaryItem& item : group.items)
            section.blocks.push_back(PrintParagraph{
                ParagraphKind::Text,
                {PrintRun{Text(item.lead)}, Toned(item.change, item.tone), PrintRun{Text(item.tail)}}});
    }
    return section;
}

PrintSection Builder::Page(const GridInfo& grid) const {
    PrintSection section;
    section.blocks.push_back(Line(ParagraphKind::Subheading, grid.caption));
    if (grid.id == GridId::StringGrid3) {
        // The skills page shows one player at a time: one table per pick.
        for (const ChoiceRecord& choice : m_in.choices)
            Choice(choice, section);
        return section;
    }
    section.blocks.push_back(Grid(grid.id));
    if (const auto totals = TotalsBelow(grid.id, m_cmp.Result()))
        section.blocks.push_back(Totals(*totals));
    if (grid.id == GridId::StringGrid_nat)
        section.blocks.push_back(Legend());
    return section;
}

void Builder::Choice(const ChoiceRecord& choice, PrintSection& section) const {
    section.blocks.push_back(Line(ParagraphKind::Caption, choice.text));
    PrintTable skills;
    const int fixedRows = InfoOf(GridId::StringGrid3).fixedRows;
    for (int r = 0; r < choice.skills.RowCount(); ++r) {
        PrintRow& row = (r < fixedRows ? skills.head : skills.body).emplace_back();
        for (int c = 0; c < choice.skills.ColCount(); ++c)
            row.push_back(CellOf(choice.skills.Cell(c, r), DrawSkillsCell(choice.skills, choice.text, c, r),
                                 r < fixedRows));
    }
    section.blocks.push_back(std::move(skills));
    section.blocks.push_back(Line(ParagraphKind::Text, "Подробная информация:"));
    PrintTable panel;
    for (std::size_t r = 0; r < DetailPanel::kRows; ++r)
        panel.body.push_back({CellOf(DetailPanel::Captions()[r], {}, false), CellOf(choice.panel.values[r], {}, false)});
    section.blocks.push_back(std::move(panel));
}

// The captions above the grid and its fixed rows make the header lines; a
// caption with nothing under it takes both caption lines, as its label does
// in the window.
PrintTable Builder::Grid(GridId id) const {
    PrintTable table;
    const std::vector<HeaderRow> captions = CaptionsAbove(id, m_cmp.Result());
    std::vector<bool> tall(captions.size() == 2 ? captions[1].size() : 0, false);
    if (captions.size() == 2) {
        std::size_t col = 0;
        for (const HeaderCell& caption : captions[0]) {
            tall[col] = caption.span == 1 && captions[1][col].text.empty();
            col += static_cast<std::size_t>(caption.span);
        }
    }
    CellStyle centred;
    centred.align = Align::Center;
    for (std::size_t r = 0; r < captions.size(); ++r) {
        PrintRow& row = table.head.emplace_back();
        std::size_t col = 0;
        for (const HeaderCell& caption : captions[r]) {
            PrintCell cell = CellOf(caption.text, centred, true);
            cell.span = caption.span;
            cell.tall = r == 0 && col < tall.size() && tall[col];
            cell.covered = r == 1 && tall[col];
            row.push_back(std::move(cell));
            col += static_cast<std::size_t>(caption.span);
        }
    }
    const GridInfo& info = InfoOf(id);
    const TextTable& grid = m_cmp.Grid(id);
    for (int r = 0; r < grid.RowCount(); ++r) {
        PrintRow& row = (r < info.fixedRows ? table.head : table.body).emplace_back();
        for (int c = 0; c < grid.ColCount(); ++c)
            row.push_back(CellOf(grid.Cell(c, r), m_cmp.DrawCell(id, c, r), r < info.fixedRows || c < info.fixedCols));
    }
    return table;
}

PrintCell Builder::CellOf(std::string_view text, const CellStyle& style, bool fixed) const {
    PrintCell cell;
    cell.fixed = fixed;
    cell.content.text = Text(text);
    if (style.background == Background::Favourable)
        cell.content.text.prepend(Text(kFavourableMark));
    else if (style.background == Background::Unfavourable)
        cell.content.text.prepend(Text(kUnfavourableMark));
    cell.content.background = ToneColour(style.background);
    if (style.text)
        cell.content.foreground = Colour(*style.text);
    cell.content.picture = CellImagePixmap(style.image);
    cell.align = style.align == Align::Right    ? Qt::AlignRight
                 : style.align == Align::Center ? Qt::AlignHCenter
                                                : Qt::AlignLeft;
    return cell;
}

PrintParagraph Builder::Totals(const TotalsLineText& totals) const {
    PrintParagraph line{ParagraphKind::Text, {PrintRun{Text(totals.caption)}}};
    const QColor buttonFace = QApplication::palette().color(QPalette::Button);
    for (const auto& group : totals.groups) {
        line.runs.push_back(PrintRun{QStringLiteral("  ")});
        for (const TotalsFigure& figure : group) {
            if (figure.image != CellImage::None)
                line.runs.push_back(PrintRun{{}, {}, {}, CellImagePixmap(figure.image)});
            PrintRun run{Text(figure.text)};
            if (figure.shape == ShapeColour::Favourable)
                run = Toned(std::string(kFavourableMark) + figure.text, Background::Favourable);
            else if (figure.shape == ShapeColour::Unfavourable)
                run = Toned(std::string(kUnfavourableMark) + figure.text, Background::Unfavourable);
            else if (figure.shape)
                run.background = buttonFace;
            line.runs.push_back(std::move(run));
        }
    }
    return line;
}

PrintParagraph Builder::Legend() const {
    PrintParagraph legend{ParagraphKind::Text, {}};
    for (const NationalStatusLook& look : kNationalStatuses) {
        legend.runs.push_back(PrintRun{{}, {}, {}, CellImagePixmap(look.picture)});
        legend.runs.push_back(PrintRun{Text(look.legend) + QStringLiteral("   "), {}, QColor(Qt::gray)});
    }
    return legend;
}

}  // namespace

void WritePdfReport(const ReportInput& input, const QString& target, const QFont& font) {
    const PeriodSummary summary = input.summary ? *input.summary : SummarisePeriod(*input.comparison);
    const std::vector<PrintSection> sections = Builder(input, summary).Sections();
    const QString title = Text(ReportTitle(summary.period));
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly))
        throw std::runtime_error("Cannot create file " + Quoted(target) + ". " + file.errorString().toStdString());
    {
        QPdfWriter writer(&file);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm), QPageLayout::Millimeter);
        writer.setResolution(kPixelsPerInch);
        writer.setCreator(QStringLiteral("Cadrix 2"));
        writer.setTitle(title);
        const QPalette palette = QApplication::palette();
        PrintSections(writer, sections, {font, palette.color(QPalette::Button), QColor(0xA0, 0xA0, 0xA0), title});
    }
    if (!file.commit())
        throw std::runtime_error("Cannot write file " + Quoted(target) + ". " + file.errorString().toStdString());
}

}  // namespace cadrix::app
