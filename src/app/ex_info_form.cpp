#include "ex_info_form.h"

#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>

#include "views/detail_panel.h"

namespace cadrix::app {

namespace {
constexpr int kCaptionWidth = 81;
constexpr int kValueWidth = 157;
constexpr int kRowHeight = 17;
}  // namespace

ExInfoForm::ExInfoForm(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_grid(new QTableWidget(DetailPanel::kRows, 2, this))
{
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
    m_grid->setColumnWidth(0, kCaptionWidth);
    m_grid->setColumnWidth(1, kValueWidth);
    m_grid->verticalHeader()->setDefaultSectionSize(kRowHeight);
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_grid->setTabKeyNavigation(false);
    m_grid->setFocusPolicy(Qt::ClickFocus);
    m_grid->setWordWrap(false);
    for (int row = 0; row < DetailPanel::kRows; ++row)
        for (int col = 0; col < 2; ++col)
            m_grid->setItem(row, col, new QTableWidgetItem);
}

void ExInfoForm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    FormShow();
}

void ExInfoForm::FormShow()
{
    const auto& captions = DetailPanel::Captions();
    for (int row = 0; row < DetailPanel::kRows; ++row)
        m_grid->item(row, 0)->setText(QString::fromStdString(captions[row]));
}

void ExInfoForm::setValues(const DetailPanel& panel)
{
    for (int row = 0; row < DetailPanel::kRows; ++row)
        m_grid->item(row, 1)->setText(QString::fromStdString(panel.values[row]));
}

}  // namespace cadrix::app
