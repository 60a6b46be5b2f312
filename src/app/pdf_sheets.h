#pragma once

#include <utility>
#include <variant>
#include <vector>

#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QString>

class QPdfWriter;

namespace cadrix::app {

// What a printed report is made of: text runs, paragraphs of them and
// tables, laid out on A4 sheets by PrintSections.

// A piece of text in its own colours, with a picture after it.
struct PrintRun {
    PrintRun() = default;
    explicit PrintRun(QString text_, QColor background_ = {}, QColor foreground_ = {}, QPixmap picture_ = {})
        : text(std::move(text_)), background(background_), foreground(foreground_), picture(std::move(picture_)) {}

    QString text;
    QColor background;  // invalid: the sheet's white
    QColor foreground;  // invalid: black
    QPixmap picture;
};

enum class ParagraphKind { Heading, Subheading, Caption, Text, Small };

struct PrintParagraph {
    ParagraphKind kind = ParagraphKind::Text;
    std::vector<PrintRun> runs;
};

struct PrintCell {
    PrintRun content;
    Qt::Alignment align = Qt::AlignLeft;
    bool fixed = false;  // a header cell: the button face when it has no colour of its own
    int span = 1;        // columns covered
    bool tall = false;   // covers this header line and the next
    bool covered = false;  // under a tall cell of the line above: takes its column, draws nothing
};
using PrintRow = std::vector<PrintCell>;

// A grid: its header lines repeat at the top of every sheet the body runs
// over; a body row is never cut.
struct PrintTable {
    std::vector<PrintRow> head;
    std::vector<PrintRow> body;
};

using PrintBlock = std::variant<PrintParagraph, PrintTable>;

// A part of the report that starts on a new sheet: landscape when its widest
// table would not fit across a portrait one at the base size.
struct PrintSection {
    std::vector<PrintBlock> blocks;
};

struct PrintLook {
    QFont font;          // the family of the text; its size is the sheets' own
    QColor buttonFace;   // fixed cells
    QColor lines;        // cell borders
    QString title;       // on top of every sheet
};

// Paints the sections on the writer's sheets (A4, its margins), every sheet
// with the title on top and "стр. N из M" at its foot. The tables are scaled
// to fill the printable width.
void PrintSections(QPdfWriter& writer, const std::vector<PrintSection>& sections, const PrintLook& look);

}  // namespace cadrix::app
