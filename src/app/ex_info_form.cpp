#include "ex_info_form.h"

#include <array>

#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>

#include "context_menu.h"
#include "row_drag.h"
#include "views/detail_panel.h"
#include "views/page_text.h"

namespace cadrix::app {

namespace {
constexpr std::array<int, 2> kColumnWidths = {81, 157};  // caption, value
constexpr int kRowHeight = 17;
// Each grid line adds a pixel to the cell before it; Qt counts it in the
// section's size.
constexpr int kGridLine = 1;
}  // namespace

ExInfoForm::ExInfoForm(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint),
      m_grid(new QTableWidget(DetailPanel::kRows, 2, this)) {
    setObjectName(QStringLiteral("ExInfoForm"));
    setFixedSize(258, 448);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Button);

    auto* bevel = new QFrame(this);
    bevel->setObjectName(QStringLiteral("Bevel1"));
    bevel->setGeometry(0, 0, 258, 448);
    bevel->setFrameStyle(QFrame::Box | QFrame::Raised);
    bevel->setLineWidth(1);

    auto* title = new QLabel(QStringLiteral("Подробная информация:"), this);
    title->setObjectName(QStringLiteral("Label1"));
    title->move(8, 8);
    title->adjustSize();

    m_grid->setObjectName(QStringLiteral("StringGrid3"));
    m_grid->setGeometry(8, 24, 241, 417);
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSize(8);
    m_grid->setFont(font);
    m_grid->horizontalHeader()->hide();
    m_grid->verticalHeader()->hide();
    for (std::size_t col = 0; col < kColumnWidths.size(); ++col)
        m_grid->setColumnWidth(static_cast<int>(col), kColumnWidths[col] + kGridLine);
    m_grid->verticalHeader()->setDefaultSectionSize(kRowHeight + kGridLine);
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    m_grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_grid->setTabKeyNavigation(false);
    m_grid->setFocusPolicy(Qt::ClickFocus);
    m_grid->setWordWrap(false);
    new RowDrag(*m_grid);  // there is no row header to drag
    for (int row = 0; row < DetailPanel::kRows; ++row)
        for (int col = 0; col < 2; ++col)
            m_grid->setItem(row, col, new QTableWidgetItem);
    InstallContextMenu(*m_grid, {
                                    {QStringLiteral("Копировать"), QKeySequence::Copy, [this] { copyRows(false); }},
                                    {QStringLiteral("Копировать всё"), {}, [this] { copyRows(true); }},
                                });
}

void ExInfoForm::copyRows(bool all) const {
    std::vector<TextLine> lines;
    if (all) {
        lines = m_lines;
    } else {
        for (int row : RowsToCopy(*m_grid, 0))
            lines.push_back(m_lines[static_cast<std::size_t>(row)]);
    }
    if (!lines.empty())
        CopyText(TabSeparated(lines));
}

void ExInfoForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    FormShow();
}

void ExInfoForm::FormShow() {
    const auto& captions = DetailPanel::Captions();
    for (int row = 0; row < DetailPanel::kRows; ++row)
        m_grid->item(row, 0)->setText(QString::fromStdString(captions[row]));
}

void ExInfoForm::setValues(const DetailPanel& panel) {
    m_lines = DetailPanelLines(panel);
    for (int row = 0; row < DetailPanel::kRows; ++row)
        m_grid->item(row, 1)->setText(QString::fromStdString(panel.values[row]));
}

}  // namespace cadrix::app
