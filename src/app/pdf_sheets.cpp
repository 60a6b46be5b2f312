#include "pdf_sheets.h"

#include <algorithm>
#include <numeric>

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QRectF>

namespace cadrix::app {

namespace {

// Sizes in the sheet's pixels, 96 to the inch, before a section's scale.
constexpr qreal kTextPixels = 11;
constexpr qreal kCellPadX = 4;
constexpr qreal kCellPadY = 2;
constexpr qreal kPictureGap = 3;
constexpr qreal kRunPad = 4;  // around a coloured run
constexpr qreal kBlockGap = 6;
constexpr qreal kTitlePixels = 10;
constexpr qreal kTitleBand = 24;  // the title and its rule on top of a sheet
constexpr qreal kFooterBand = 20;
// A narrow section is enlarged up to this, a wide one shrunk down to this,
// to fill the sheet's width at a readable size.
constexpr qreal kMaxScale = 1.35;
constexpr qreal kMinScale = 0.45;

QFont FontOf(const QFont& family, ParagraphKind kind) {
    QFont font(family.family());
    switch (kind) {
    case ParagraphKind::Heading: font.setPixelSize(18); font.setBold(true); break;
    case ParagraphKind::Subheading: font.setPixelSize(15); font.setBold(true); break;
    case ParagraphKind::Caption: font.setPixelSize(12); font.setBold(true); break;
    case ParagraphKind::Small: font.setPixelSize(10); break;
    case ParagraphKind::Text: font.setPixelSize(static_cast<int>(kTextPixels)); break;
    }
    return font;
}

qreal RunWidth(const PrintRun& run, const QFontMetricsF& metrics) {
    qreal width = metrics.horizontalAdvance(run.text);
    if (!run.picture.isNull())
        width += run.picture.width() + (run.text.isEmpty() ? 0 : kPictureGap);
    return width;
}

int ColumnCount(const PrintTable& table) {
    int columns = 0;
    for (const auto* rows : {&table.head, &table.body}) {
        for (const PrintRow& row : *rows) {
            int n = 0;
            for (const PrintCell& cell : row)
                n += cell.span;
            columns = std::max(columns, n);
        }
    }
    return columns;
}

// Every column as wide as its widest single cell; a cell over several
// columns widens them evenly where they are too narrow for it.
std::vector<qreal> NaturalWidths(const PrintTable& table, const QFontMetricsF& metrics) {
    std::vector<qreal> widths(static_cast<std::size_t>(ColumnCount(table)), 0);
    for (const bool spanned : {false, true}) {
        for (const auto* rows : {&table.head, &table.body}) {
            for (const PrintRow& row : *rows) {
                std::size_t col = 0;
                for (const PrintCell& cell : row) {
                    const auto span = static_cast<std::size_t>(cell.span);
                    const qreal need = RunWidth(cell.content, metrics) + 2 * kCellPadX;
                    if (spanned && span > 1) {
                        const auto from = widths.begin() + static_cast<std::ptrdiff_t>(col);
                        const qreal have = std::accumulate(from, from + static_cast<std::ptrdiff_t>(span), 0.0);
                        if (have < need)
                            std::for_each(from, from + static_cast<std::ptrdiff_t>(span),
                                          [&](qreal& w) { w += (need - have) / static_cast<qreal>(span); });
                    } else if (!spanned && span == 1) {
                        widths[col] = std::max(widths[col], need);
                    }
                    col += span;
                }
            }
        }
    }
    return widths;
}

qreal RowHeight(const PrintRow& row, const QFontMetricsF& metrics) {
    qreal height = metrics.height();
    for (const PrintCell& cell : row)
        height = std::max<qreal>(height, cell.content.picture.height());
    return height + 2 * kCellPadY;
}

class Sheets {
public:
    Sheets(QPdfWriter& writer, QPainter* painter, const PrintLook& look, int pageCount)
        : m_writer(writer), m_painter(painter), m_look(look), m_pageCount(pageCount),
          m_text(FontOf(look.font, ParagraphKind::Text)), m_metrics(m_text, &writer) {}

    void Section(const PrintSection& section);
    int Pages() const { return m_page; }

private:
    void StartSheet();
    void Room(qreal height);
    void Band();
    void Paragraph(const PrintParagraph& paragraph);
    void Table(const PrintTable& table);
    qreal Row(const PrintRow& row, const std::vector<qreal>& widths, qreal top, qreal height);
    void Cell(const PrintCell& cell, const QRectF& rect);
    void Run(const PrintRun& run, QPointF at, const QFontMetricsF& metrics, const QFont& font);

    QPdfWriter& m_writer;
    QPainter* m_painter;  // null: the sheets are only counted
    const PrintLook& m_look;
    const int m_pageCount;
    const QFont m_text;
    const QFontMetricsF m_metrics;
    QPageLayout::Orientation m_orientation = QPageLayout::Portrait;
    qreal m_scale = 1;
    QSizeF m_paint;  // the sheet's printable area
    QSizeF m_area;   // the part of it below the title and above the foot, in the section's scaled units
    qreal m_y = 0;
    int m_page = 0;
    bool m_empty = true;  // nothing on the sheet yet but its bands
};

void Sheets::Section(const PrintSection& section) {
    qreal widest = 0;
    for (const PrintBlock& block : section.blocks) {
        if (const auto* table = std::get_if<PrintTable>(&block)) {
            const auto widths = NaturalWidths(*table, m_metrics);
            widest = std::max(widest, std::accumulate(widths.begin(), widths.end(), 0.0));
        }
    }
    QPageLayout layout = m_writer.pageLayout();
    layout.setOrientation(QPageLayout::Portrait);
    const qreal portrait = layout.paintRectPixels(m_writer.resolution()).width();
    m_orientation = widest > portrait ? QPageLayout::Landscape : QPageLayout::Portrait;
    layout.setOrientation(m_orientation);
    m_paint = layout.paintRectPixels(m_writer.resolution()).size();
    m_scale = widest > 0 ? std::clamp(m_paint.width() / widest, kMinScale, kMaxScale) : 1;
    m_area = QSizeF(m_paint.width(), m_paint.height() - kTitleBand - kFooterBand) / m_scale;
    StartSheet();
    for (const PrintBlock& block : section.blocks) {
        if (const auto* table = std::get_if<PrintTable>(&block))
            Table(*table);
        else
            Paragraph(std::get<PrintParagraph>(block));
    }
}

void Sheets::StartSheet() {
    ++m_page;
    m_y = 0;
    m_empty = true;
    if (!m_painter)
        return;
    m_writer.setPageOrientation(m_orientation);
    if (m_page == 1)
        m_painter->begin(&m_writer);
    else
        m_writer.newPage();
    Band();
}

// The title over a rule on top, the sheet's number at its foot; the content
// below them in the section's scale.
void Sheets::Band() {
    m_painter->resetTransform();
    const QRectF paint(QPointF(0, 0), m_paint);
    QFont font(m_look.font.family());
    font.setPixelSize(static_cast<int>(kTitlePixels));
    font.setBold(true);
    m_painter->setFont(font);
    m_painter->setPen(Qt::black);
    m_painter->drawText(QRectF(0, 0, paint.width(), kTitleBand - 8), Qt::AlignLeft | Qt::AlignVCenter, m_look.title);
    m_painter->setPen(QPen(m_look.lines, 0.5));
    m_painter->drawLine(QPointF(0, kTitleBand - 6), QPointF(paint.width(), kTitleBand - 6));
    font.setBold(false);
    m_painter->setFont(font);
    m_painter->setPen(Qt::black);
    m_painter->drawText(QRectF(0, paint.height() - kFooterBand + 6, paint.width(), kFooterBand - 6),
                        Qt::AlignRight | Qt::AlignVCenter,
                        QStringLiteral("стр. %1 из %2").arg(m_page).arg(m_pageCount));
    m_painter->translate(0, kTitleBand);
    m_painter->scale(m_scale, m_scale);
}

// A new sheet when `height` does not fit below what stands on this one.
void Sheets::Room(qreal height) {
    if (!m_empty && m_y + height > m_area.height())
        StartSheet();
    m_empty = false;
}

void Sheets::Paragraph(const PrintParagraph& paragraph) {
    const QFont font = FontOf(m_look.font, paragraph.kind);
    const QFontMetricsF metrics(font, &m_writer);
    const qreal lineHeight = metrics.height() + 2;
    const qreal gap = paragraph.kind == ParagraphKind::Text || paragraph.kind == ParagraphKind::Small ? 2 : kBlockGap;
    m_y += m_empty ? 0 : gap;
    qreal x = 0;
    Room(lineHeight);
    for (const PrintRun& run : paragraph.runs) {
        const qreal width = RunWidth(run, metrics) + (run.background.isValid() ? 2 * kRunPad : 0);
        if (x > 0 && x + width > m_area.width()) {
            x = 0;
            m_y += lineHeight;
            Room(lineHeight);
        }
        if (m_painter)
            Run(run, QPointF(x, m_y), metrics, font);
        x += width + (run.background.isValid() ? 2 : 0);
    }
    m_y += lineHeight;
}

void Sheets::Run(const PrintRun& run, QPointF at, const QFontMetricsF& metrics, const QFont& font) {
    const qreal pad = run.background.isValid() ? kRunPad : 0;
    const QRectF box(at, QSizeF(RunWidth(run, metrics) + 2 * pad, metrics.height() + 2));
    if (run.background.isValid()) {
        m_painter->fillRect(box, run.background);
        m_painter->setPen(QPen(m_look.lines, 0.5));
        m_painter->drawRect(box);
    }
    m_painter->setFont(font);
    m_painter->setPen(run.foreground.isValid() ? run.foreground : QColor(Qt::black));
    const QRectF text = box.adjusted(pad, 0, -pad, 0);
    m_painter->drawText(text, Qt::AlignLeft | Qt::AlignVCenter, run.text);
    if (!run.picture.isNull()) {
        const qreal left = text.right() - run.picture.width();
        m_painter->drawPixmap(QPointF(left, box.center().y() - run.picture.height() / 2.0), run.picture);
    }
}

// The columns stretched to the area's width; the header lines again on top
// of every sheet the rows run over.
void Sheets::Table(const PrintTable& table) {
    std::vector<qreal> widths = NaturalWidths(table, m_metrics);
    const qreal natural = std::accumulate(widths.begin(), widths.end(), 0.0);
    if (natural <= 0)
        return;
    for (qreal& width : widths)
        width *= std::max<qreal>(1, m_area.width() / natural);
    std::vector<qreal> headHeights;
    qreal headHeight = 0;
    for (const PrintRow& row : table.head)
        headHeight += headHeights.emplace_back(RowHeight(row, m_metrics));
    const auto head = [&] {
        qreal top = m_y;
        for (std::size_t i = 0; i < table.head.size(); ++i)
            top = Row(table.head[i], widths, top, headHeights[i] + (i + 1 < table.head.size() ? headHeights[i + 1] : 0));
        m_y += headHeight;
    };
    m_y += m_empty ? 0 : kBlockGap;
    const qreal first = table.body.empty() ? 0 : RowHeight(table.body.front(), m_metrics);
    Room(headHeight + first);
    head();
    for (const PrintRow& row : table.body) {
        const qreal height = RowHeight(row, m_metrics);
        if (m_y + height > m_area.height()) {
            StartSheet();
            m_empty = false;
            head();
        }
        m_y = Row(row, widths, m_y, height);
    }
}

// Draws a row at `top`; a tall header cell takes `height`, the others the
// first line's. Returns the row's bottom.
qreal Sheets::Row(const PrintRow& row, const std::vector<qreal>& widths, qreal top, qreal height) {
    const qreal own = RowHeight(row, m_metrics);
    if (!m_painter)
        return top + own;
    qreal x = 0;
    std::size_t col = 0;
    for (const PrintCell& cell : row) {
        const auto from = widths.begin() + static_cast<std::ptrdiff_t>(col);
        const qreal width = std::accumulate(from, from + cell.span, 0.0);
        col += static_cast<std::size_t>(cell.span);
        if (!cell.covered)
            Cell(cell, QRectF(x, top, width, cell.tall ? height : own));
        x += width;
    }
    return top + own;
}

void Sheets::Cell(const PrintCell& cell, const QRectF& rect) {
    const PrintRun& content = cell.content;
    QColor fill = content.background.isValid() ? content.background : QColor(Qt::white);
    if (cell.fixed && !content.background.isValid())
        fill = m_look.buttonFace;
    m_painter->fillRect(rect, fill);
    m_painter->setPen(QPen(m_look.lines, 0.5));
    m_painter->drawRect(rect);
    const qreal width = RunWidth(content, m_metrics);
    const QRectF inner = rect.adjusted(kCellPadX, 0, -kCellPadX, 0);
    qreal left = inner.left();
    if (cell.align & Qt::AlignRight)
        left = inner.right() - width;
    else if (cell.align & Qt::AlignHCenter)
        left = inner.center().x() - width / 2;
    m_painter->setFont(m_text);
    m_painter->setPen(content.foreground.isValid() ? content.foreground : QColor(Qt::black));
    const qreal textWidth = m_metrics.horizontalAdvance(content.text);
    m_painter->drawText(QRectF(left, rect.top(), textWidth + 1, rect.height()), Qt::AlignLeft | Qt::AlignVCenter,
                        content.text);
    if (!content.picture.isNull()) {
        const qreal x = left + textWidth + (content.text.isEmpty() ? 0 : kPictureGap);
        m_painter->drawPixmap(QPointF(x, rect.center().y() - content.picture.height() / 2.0), content.picture);
    }
}

}  // namespace

void PrintSections(QPdfWriter& writer, const std::vector<PrintSection>& sections, const PrintLook& look) {
    Sheets counting(writer, nullptr, look, 0);
    for (const PrintSection& section : sections)
        counting.Section(section);
    QPainter painter;
    Sheets sheets(writer, &painter, look, counting.Pages());
    for (const PrintSection& section : sections)
        sheets.Section(section);
    if (painter.isActive())
        painter.end();
}

}  // namespace cadrix::app
