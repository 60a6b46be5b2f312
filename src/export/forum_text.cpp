#include "export/forum_text.h"

#include <string_view>
#include <vector>

#include "views/page_text.h"
#include "views/skills_page.h"
#include "views/summary.h"

namespace cadrix {

namespace {

constexpr std::string_view kFavourableMark = "▲";
constexpr std::string_view kUnfavourableMark = "▼";
// After a "[" it keeps a forum from reading a tag, and shows nothing.
constexpr std::string_view kZeroWidthSpace = "\u200B";
constexpr std::string_view kMarkdownSpecial = "\\`*_[]<>|#~";

class ForumWriter {
public:
    ForumWriter(ForumMarkup markup, PaletteChoice palette, OutputSink& out)
        : m_markup(markup), m_palette(PaletteOf(palette)), m_out(out) {}

    void Title(std::string_view text) { Put(Bb() ? "[b]" + Escape(text) + "[/b]\n" : "# " + Escape(text) + "\n"); }
    void Heading(std::string_view text) {
        Put(Bb() ? "\n[b]" + Escape(text) + "[/b]\n" : "\n## " + Escape(text) + "\n\n");
    }
    void Subheading(std::string_view text) {
        Put(Bb() ? "\n[b]" + Escape(text) + "[/b]\n" : "\n### " + Escape(text) + "\n\n");
    }
    void Line(std::string_view text) { Put(Escape(text) + (Bb() ? "\n" : "\n\n")); }
    void Marks();
    void Summary(const PeriodSummary& summary);
    // A table of one header line, its rows with the page's colours, and plain
    // lines under it, written a row at a time: a page of a large club is
    // never held as text beside its grid.
    void TableStart(const TextLine& header);
    void TableRow(const TextLine& cells, const std::vector<Background>& tones) { TableLine(cells, &tones, false); }
    void TableEnd(const std::vector<TextLine>& footer);

private:
    bool Bb() const { return m_markup == ForumMarkup::BBCode; }
    std::string Escape(std::string_view text) const;
    std::string Toned(std::string_view text, Background tone, bool marked = true) const;
    void Item(std::string_view text) { Put(Bb() ? std::string(text) + "\n" : "- " + std::string(text) + "\n"); }
    void TableLine(const TextLine& cells, const std::vector<Background>* tones, bool header);
    void Put(const std::string& text) { m_out.Write(text); }

    ForumMarkup m_markup;
    const Palette& m_palette;
    OutputSink& m_out;
};

std::string ForumWriter::Escape(std::string_view text) const {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        if (c == '\r' || c == '\n' || c == '\t') {
            out += ' ';
        } else if (Bb()) {
            out += c;
            if (c == '[')
                out += kZeroWidthSpace;
        } else {
            if (kMarkdownSpecial.find(c) != std::string_view::npos)
                out += '\\';
            out += c;
        }
    }
    return out;
}

// A cell's change in its colour, after its mark; Markdown has the mark
// alone. A signed change of the summary needs no mark beside its colour.
std::string ForumWriter::Toned(std::string_view text, Background tone, bool marked) const {
    if (tone == Background::Grid)
        return Escape(text);
    const bool good = tone == Background::Favourable;
    const std::string mark(good ? kFavourableMark : kUnfavourableMark);
    if (!Bb())
        return mark + Escape(text);
    return "[color=" + HexColour(good ? m_palette.favourable : m_palette.unfavourable) + "]" +
           (marked ? mark : std::string()) + Escape(text) + "[/color]";
}

void ForumWriter::Marks() {
    Put(Toned("", Background::Favourable) + " — изменение к лучшему, " + Toned("", Background::Unfavourable) +
        " — к худшему\n");
}

void ForumWriter::Summary(const PeriodSummary& summary) {
    Heading(SummaryHeading(summary.period));
    for (const SummaryGroup& group : SummaryGroups(summary)) {
        Subheading(group.caption);
        if (group.items.empty())
            Item(Escape(kSummaryNothing));
        for (const SummaryItem& item : group.items)
            Item(Escape(item.lead) + Toned(item.change, item.tone, false) + Escape(item.tail));
    }
}

void ForumWriter::TableLine(const TextLine& cells, const std::vector<Background>* tones, bool header) {
    std::string line = Bb() ? "[tr]" : "|";
    for (std::size_t c = 0; c < cells.size(); ++c) {
        const Background tone = tones && c < tones->size() ? (*tones)[c] : Background::Grid;
        std::string cell = Toned(cells[c], tone);
        if (Bb() && header && !cell.empty())
            cell = "[b]" + cell + "[/b]";
        line += Bb() ? "[td]" + cell + "[/td]" : " " + cell + " |";
    }
    Put(line + (Bb() ? "[/tr]\n" : "\n"));
    if (!Bb() && header) {
        std::string rule = "|";
        for (std::size_t c = 0; c < cells.size(); ++c)
            rule += " --- |";
        Put(rule + "\n");
    }
}

void ForumWriter::TableStart(const TextLine& header) {
    if (Bb())
        Put("[table]\n");
    TableLine(header, nullptr, true);
}

void ForumWriter::TableEnd(const std::vector<TextLine>& footer) {
    for (const TextLine& line : footer)
        TableLine(line, nullptr, false);
    Put(Bb() ? "[/table]\n" : "\n");
}

// The captions over the columns, or the grid's own header row, head the
// table.
void PageTable(ForumWriter& writer, const Comparison& cmp, GridId id) {
    const GridInfo& info = InfoOf(id);
    const TextTable& grid = cmp.Grid(id);
    TextLine header = OneCaptionLine(CaptionsAbove(id, cmp.Result()));
    int first = 0;
    if (header.empty() && info.fixedRows > 0 && grid.RowCount() > 0)
        header = RowText(cmp, id, first++);
    writer.TableStart(header);
    std::vector<Background> tones;
    for (int r = first; r < grid.RowCount(); ++r) {
        tones.clear();
        for (int c = 0; c < grid.ColCount(); ++c)
            tones.push_back(cmp.DrawCell(id, c, r).background);
        writer.TableRow(RowText(cmp, id, r), tones);
    }
    writer.TableEnd(LinesBelow(id, cmp.Result()));
}

void ChoiceTable(ForumWriter& writer, const ChoiceRecord& choice) {
    const TextTable& skills = choice.skills;
    writer.TableStart(skills.RowCount() > 0 ? skills.RowCells(0) : TextLine());
    std::vector<Background> tones;
    for (int r = 1; r < skills.RowCount(); ++r) {
        tones.clear();
        for (int c = 0; c < skills.ColCount(); ++c)
            tones.push_back(DrawSkillsCell(skills, choice.text, c, r).background);
        writer.TableRow(skills.RowCells(r), tones);
    }
    writer.TableEnd({});
}

void PanelTable(ForumWriter& writer, const DetailPanel& panel) {
    writer.TableStart({"Подробная информация", ""});
    for (const TextLine& line : DetailPanelLines(panel))
        writer.TableRow(line, {});
    writer.TableEnd({});
}

void Page(ForumWriter& writer, const ReportInput& in, const GridInfo& grid) {
    writer.Heading(grid.caption);
    if (grid.id != GridId::StringGrid3) {
        PageTable(writer, *in.comparison, grid.id);
        return;
    }
    // The skills page shows one player at a time: one table per pick.
    for (const ChoiceRecord& choice : in.choices) {
        writer.Subheading(choice.text);
        ChoiceTable(writer, choice);
        PanelTable(writer, choice.panel);
    }
}

}  // namespace

std::string ForumSummary(const PeriodSummary& summary, PaletteChoice palette, ForumMarkup markup) {
    StringSink sink;
    ForumWriter(markup, palette, sink).Summary(summary);
    return sink.Text();
}

std::string ForumPage(const Comparison& comparison, GridId grid, PaletteChoice palette, ForumMarkup markup) {
    StringSink sink;
    ForumWriter writer(markup, palette, sink);
    writer.Heading(InfoOf(grid).caption);
    if (grid == GridId::StringGrid3 && !comparison.ComboBox3Text().empty())
        writer.Subheading(comparison.ComboBox3Text());
    PageTable(writer, comparison, grid);
    return sink.Text();
}

void WriteForumReport(const ReportInput& input, ForumMarkup markup, OutputSink& out) {
    const PeriodSummary summary = input.summary ? *input.summary : SummarisePeriod(*input.comparison);
    ForumWriter writer(markup, input.palette, out);
    writer.Title(ReportTitle(summary.period));
    for (const ArchiveRow& row : input.archives)
        writer.Line(row.file + "  " + row.date);
    writer.Marks();
    writer.Summary(summary);
    for (GridId id : kTabOrder)
        Page(writer, input, InfoOf(id));
}

}  // namespace cadrix
