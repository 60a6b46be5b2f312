#include "export/html_report.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>

#include "export/pictures.h"
#include "views/page_text.h"
#include "views/palette.h"
#include "views/skills_page.h"
#include "views/summary.h"

namespace cadrix {

namespace {

// The colours the window's grids take from Qt's standard palette: the base
// of a cell, the button face of a fixed cell, of a label band and of a totals
// shape without change, and the text.
constexpr Rgb kGridBase{255, 255, 255};
constexpr Rgb kButtonFace{239, 239, 239};
constexpr Rgb kGridText{0, 0, 0};
// The legend of the national page is drawn disabled.
constexpr Rgb kLegendText{128, 128, 128};

constexpr std::string_view kFavourableMark = "▲";
constexpr std::string_view kUnfavourableMark = "▼";

class HtmlWriter {
public:
    HtmlWriter(const ReportInput& in, OutputSink& out) : m_in(in), m_cmp(*in.comparison), m_out(out) {}

    void Document();
    void SummaryDocument();

private:
    void Head(const std::string& title);
    void Files();
    void Marks();
    void Summary(const PeriodSummary& summary);
    void Page(const GridInfo& grid);
    void Captions(const std::vector<HeaderRow>& rows);
    void GridRows(GridId grid, int from, int to);
    void Totals(const TotalsLineText& totals);
    void Legend();
    void Choice(const ChoiceRecord& choice);
    void Cell(std::string_view text, const CellStyle& style, bool fixed, std::string_view alt);
    void Picture(const InlinePicture& picture, CellImage image, std::string_view alt);
    void Mark(Background background);
    void Text(std::string_view text);
    void Put(std::string_view text) { m_out.Write(text); }

    const ReportInput& m_in;
    const Comparison& m_cmp;
    OutputSink& m_out;
};

const char* AlignClass(Align align) {
    switch (align) {
    case Align::Center: return "c";
    case Align::Right: return "r";
    case Align::Left: break;
    }
    return "l";
}

// Classes of the document's style sheet: "x" a fixed cell, "f" and "u" the
// favourable and unfavourable backgrounds, "d" the dim text, "b" a shape in
// the button face.
const char* BackgroundClass(Background background, bool fixed) {
    switch (background) {
    case Background::Favourable: return " f";
    case Background::Unfavourable: return " u";
    case Background::Grid: break;
    }
    return fixed ? " x" : "";
}

std::string StyleSheet(const Palette& palette) {
    const auto rule = [](std::string_view selector, std::string_view body) {
        return std::string(selector) + " { " + std::string(body) + " }\n";
    };
    std::string css;
    css += rule("body", "font-family: Arial, \"Liberation Sans\", sans-serif; font-size: 11px; color: " +
                            HexColour(kGridText) + "; background-color: #FFFFFF;");
    css += rule("h1", "font-size: 18px; margin: 8px 0;");
    css += rule("h2", "font-size: 15px; margin: 16px 0 6px 0;");
    css += rule("h3", "font-size: 12px; margin: 10px 0 4px 0;");
    css += rule("table", "border-collapse: collapse; margin: 0 0 6px 0;");
    css += rule("td, th", "border: 1px solid #A0A0A0; padding: 1px 4px; vertical-align: top; white-space: nowrap;");
    css += rule("th", "font-weight: normal; text-align: center; background-color: " + HexColour(kButtonFace) +
                          "; color: " + HexColour(kGridText) + ";");
    css += rule("td", "background-color: " + HexColour(kGridBase) + "; color: " + HexColour(kGridText) + ";");
    css += rule("td.x, span.b", "background-color: " + HexColour(kButtonFace) + ";");
    css += rule("td.f, span.f", "background-color: " + HexColour(palette.favourable) + ";");
    css += rule("td.u, span.u", "background-color: " + HexColour(palette.unfavourable) + ";");
    css += rule("td.d", "color: " + HexColour(kDimTextColour) + ";");
    css += rule("td.l", "text-align: left;");
    css += rule("td.c", "text-align: center;");
    css += rule("td.r", "text-align: right;");
    css += rule("span.m", "user-select: none; -webkit-user-select: none;");
    css += rule("span.t", "padding: 1px 6px; border: 1px solid #A0A0A0;");
    css += rule("p.files", "font-size: 10px; color: " + HexColour(kLegendText) + ";");
    css += rule("p.legend", "color: " + HexColour(kLegendText) + ";");
    css += rule("img", "vertical-align: middle;");
    css += "@page { size: A4; margin: 12mm; }\n";
    css += "@media print {\n";
    css += rule("  h2", "break-before: page; page-break-before: always;");
    css += rule("  *", "print-color-adjust: exact; -webkit-print-color-adjust: exact;");
    css += rule("  thead", "display: table-header-group;");
    css += rule("  tr", "break-inside: avoid; page-break-inside: avoid;");
    css += "}\n";
    return css;
}

void HtmlWriter::Document() {
    const PeriodSummary summary = m_in.summary ? *m_in.summary : SummarisePeriod(m_cmp);
    const std::string title = ReportTitle(summary.period);
    Head(title);
    Put("<body>\n<h1>");
    Text(title);
    Put("</h1>\n");
    Files();
    Marks();
    Summary(summary);
    for (GridId id : kTabOrder)
        Page(InfoOf(id));
    Put("</body>\n</html>\n");
}

// The summary alone, as the report shows it.
void HtmlWriter::SummaryDocument() {
    const PeriodSummary summary = m_in.summary ? *m_in.summary : SummarisePeriod(m_cmp);
    Head(SummaryHeading(summary.period));
    Put("<body>\n");
    Summary(summary);
    Put("</body>\n</html>\n");
}

void HtmlWriter::Head(const std::string& title) {
    Put("<!DOCTYPE html>\n<html lang=\"ru\">\n<head>\n<meta charset=\"utf-8\">\n<title>");
    Text(title);
    Put("</title>\n<style>\n");
    Put(StyleSheet(PaletteOf(m_in.palette)));
    Put("</style>\n</head>\n");
}

// The two archive rows of the window: the file and its date.
void HtmlWriter::Files() {
    const auto& [start, end] = m_in.archives;
    Put("<p class=\"files\">");
    Text(start.file + "  " + start.date);
    Put("<br>\n");
    Text(end.file + "  " + end.date);
    Put("</p>\n");
}

// What the marks and colours of the cells say.
void HtmlWriter::Marks() {
    Put("<p class=\"marks\"><span class=\"t f\">");
    Put(kFavourableMark);
    Put("</span> — изменение к лучшему, <span class=\"t u\">");
    Put(kUnfavourableMark);
    Put("</span> — к худшему</p>\n");
}

void HtmlWriter::Summary(const PeriodSummary& summary) {
    Put("<h2 id=\"summary\">");
    Text(SummaryHeading(summary.period));
    Put("</h2>\n");
    for (const SummaryGroup& group : SummaryGroups(summary)) {
        Put("<h3 id=\"");
        Put(group.key);
        Put("\">");
        Text(group.caption);
        Put("</h3>\n");
        if (group.items.empty()) {
            Put("<p>");
            Text(kSummaryNothing);
            Put("</p>\n");
            continue;
        }
        Put("<ul>\n");
        for (const SummaryItem& item : group.items) {
            Put("<li>");
            Text(item.lead);
            if (item.tone != Background::Grid) {
                Put("<span class=\"");
                Put(item.tone == Background::Favourable ? "f" : "u");
                Put("\">");
                Text(item.change);
                Put("</span>");
            } else {
                Text(item.change);
            }
            Text(item.tail);
            Put("</li>\n");
        }
        Put("</ul>\n");
    }
}

void HtmlWriter::Page(const GridInfo& grid) {
    Put("<h2 id=\"");
    Put(grid.name);
    Put("\">");
    Text(grid.caption);
    Put("</h2>\n");
    if (grid.id == GridId::StringGrid3) {
        // The skills page shows one player at a time: one table per pick.
        for (const ChoiceRecord& choice : m_in.choices)
            Choice(choice);
        return;
    }
    // The header lines, which a printed copy repeats on every sheet: the
    // captions above the grid and its own header rows.
    const std::vector<HeaderRow> captions = CaptionsAbove(grid.id, m_cmp.Result());
    const int rows = m_cmp.Grid(grid.id).RowCount();
    const int fixedRows = std::min(grid.fixedRows, rows);
    Put("<table class=\"grid\">\n");
    if (!captions.empty() || fixedRows > 0) {
        Put("<thead>\n");
        Captions(captions);
        GridRows(grid.id, 0, fixedRows);
        Put("</thead>\n");
    }
    Put("<tbody>\n");
    GridRows(grid.id, fixedRows, rows);
    Put("</tbody>\n</table>\n");
    if (const auto totals = TotalsBelow(grid.id, m_cmp.Result()))
        Totals(*totals);
    if (grid.id == GridId::StringGrid_nat)
        Legend();
}

// A caption of one column with nothing under it takes both lines, as its
// label does in the window.
void HtmlWriter::Captions(const std::vector<HeaderRow>& rows) {
    if (rows.empty())
        return;
    std::vector<bool> spanned(rows.size() > 1 ? rows[1].size() : 0, false);
    if (rows.size() == 2) {
        std::size_t col = 0;
        for (const HeaderCell& cell : rows[0]) {
            spanned[col] = cell.span == 1 && rows[1][col].text.empty();
            col += static_cast<std::size_t>(cell.span);
        }
    }
    for (std::size_t r = 0; r < rows.size(); ++r) {
        Put("<tr>");
        std::size_t col = 0;
        for (const HeaderCell& cell : rows[r]) {
            const bool tall = rows.size() == 2 && spanned[col];
            col += static_cast<std::size_t>(cell.span);
            if (r == 1 && tall)
                continue;
            Put("<th");
            if (cell.span > 1) {
                Put(" colspan=\"");
                Put(std::to_string(cell.span));
                Put("\"");
            }
            Put(tall ? " rowspan=\"2\">" : ">");
            Text(cell.text);
            Put("</th>");
        }
        Put("</tr>\n");
    }
}

void HtmlWriter::GridRows(GridId id, int from, int to) {
    const GridInfo& info = InfoOf(id);
    const TextTable& grid = m_cmp.Grid(id);
    for (int r = from; r < to; ++r) {
        Put("<tr>");
        for (int c = 0; c < grid.ColCount(); ++c) {
            const CellStyle style = m_cmp.DrawCell(id, c, r);
            const bool fixed = r < info.fixedRows || c < info.fixedCols;
            if (style.image == CellImage::None) {
                Cell(grid.Cell(c, r), style, fixed, {});
                continue;
            }
            const auto number = PictureNumber(m_cmp, id, c, r);
            Cell(grid.Cell(c, r), style, fixed, number ? *number : std::string());
        }
        Put("</tr>\n");
    }
}

void HtmlWriter::Cell(std::string_view text, const CellStyle& style, bool fixed, std::string_view alt) {
    Put("<td class=\"");
    Put(AlignClass(style.align));
    Put(BackgroundClass(style.background, fixed));
    const bool dim = style.text && *style.text == kDimTextColour;
    if (dim)
        Put(" d");
    Put("\"");
    if (style.text && !dim) {
        Put(" style=\"color: ");
        Put(HexColour(*style.text));
        Put("\"");
    }
    Put(">");
    Mark(style.background);
    Text(text);
    if (style.image != CellImage::None)
        Picture(PictureOf(style.image), style.image, alt);
    Put("</td>");
}

void HtmlWriter::Picture(const InlinePicture& picture, CellImage image, std::string_view alt) {
    Put("<img class=\"");
    Put(ImageName(image));
    Put("\" src=\"");
    Put(picture.dataUri);
    Put("\" width=\"");
    Put(std::to_string(picture.width));
    Put("\" height=\"");
    Put(std::to_string(picture.height));
    Put("\" alt=\"");
    Text(alt);
    Put("\">");
}

void HtmlWriter::Mark(Background background) {
    if (background == Background::Grid)
        return;
    Put("<span class=\"m\">");
    Put(background == Background::Favourable ? kFavourableMark : kUnfavourableMark);
    Put("</span>");
}

void HtmlWriter::Totals(const TotalsLineText& totals) {
    Put("<p class=\"totals\">");
    Text(totals.caption);
    for (const auto& group : totals.groups) {
        Put(" &nbsp; ");
        for (const TotalsFigure& figure : group) {
            Put(" ");
            if (figure.image != CellImage::None)
                Picture(PictureOf(figure.image, PictureSize::Small), figure.image, {});
            if (!figure.shape) {
                Put("<span class=\"t\">");
                Text(figure.text);
                Put("</span>");
                continue;
            }
            const Background background = ShapeBackground(*figure.shape);
            Put("<span class=\"t");
            Put(background == Background::Grid ? " b" : BackgroundClass(background, false));
            Put("\">");
            Mark(background);
            Text(figure.text);
            Put("</span>");
        }
    }
    Put("</p>\n");
}

void HtmlWriter::Legend() {
    Put("<p class=\"legend\">");
    for (const NationalStatusLook& look : kNationalStatuses) {
        Put(look.status != kNationalStatuses.front().status ? " &nbsp; " : "");
        Picture(PictureOf(look.picture, PictureSize::Small), look.picture, {});
        Put(" ");
        Text(look.legend);
    }
    Put("</p>\n");
}

void HtmlWriter::Choice(const ChoiceRecord& choice) {
    Put("<h3>");
    Text(choice.text);
    Put("</h3>\n<table class=\"grid\">\n<tbody>\n");
    const GridInfo& info = InfoOf(GridId::StringGrid3);
    for (int r = 0; r < choice.skills.RowCount(); ++r) {
        Put("<tr>");
        for (int c = 0; c < choice.skills.ColCount(); ++c)
            Cell(choice.skills.Cell(c, r), DrawSkillsCell(choice.skills, choice.text, c, r), r < info.fixedRows, {});
        Put("</tr>\n");
    }
    Put("</tbody>\n</table>\n<p>Подробная информация:</p>\n<table class=\"panel\">\n<tbody>\n");
    for (std::size_t r = 0; r < DetailPanel::kRows; ++r) {
        Put("<tr>");
        Cell(DetailPanel::Captions()[r], {}, false, {});
        Cell(choice.panel.values[r], {}, false, {});
        Put("</tr>\n");
    }
    Put("</tbody>\n</table>\n");
}

// Escapes the characters that HTML reserves, copying the runs between them.
void HtmlWriter::Text(std::string_view text) {
    std::size_t from = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::string_view entity;
        switch (text[i]) {
        case '&': entity = "&amp;"; break;
        case '<': entity = "&lt;"; break;
        case '>': entity = "&gt;"; break;
        case '"': entity = "&quot;"; break;
        default: continue;
        }
        Put(text.substr(from, i - from));
        Put(entity);
        from = i + 1;
    }
    Put(text.substr(from));
}

}  // namespace

void WriteHtmlReport(const ReportInput& input, OutputSink& out) { HtmlWriter(input, out).Document(); }

std::string HtmlSummary(const ReportInput& input) {
    StringSink sink;
    HtmlWriter(input, sink).SummaryDocument();
    return sink.Text();
}

std::string HtmlReport(const ReportInput& input) {
    StringSink sink;
    WriteHtmlReport(input, sink);
    return sink.Text();
}

}  // namespace cadrix
