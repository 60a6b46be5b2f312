#include "player_table_tab.h"

#include <algorithm>
#include <set>

#include <QAbstractTableModel>
#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "core/numbers.h"
#include "export/csv_report.h"
#include "save_file.h"

namespace cadrix::app {

namespace {

QColor ColourOf(Rgb rgb) { return QColor(rgb.r, rgb.g, rgb.b); }

QString Q(const std::string& text) { return QString::fromStdString(text); }

// The value and the salary read with their digits grouped, as on the pages.
QString Shown(std::size_t column, const std::string& text) {
    const bool money = column == ColumnIndex(PlayerColumn::Value) || column == ColumnIndex(PlayerColumn::Salary);
    return Q(money && ParseWhole(text) ? GroupThousands(text) : text);
}

QString GrowthText(const char* caption, const Growth& g) {
    const auto dash = [](const std::string& t) { return t.empty() ? QStringLiteral("—") : Q(t); };
    return QStringLiteral("%1: %2 → %3, изменение %4, в неделю %5")
        .arg(QString::fromUtf8(caption), dash(g.start), dash(g.end), dash(g.change), dash(g.perWeek));
}

QString Tabbed(const std::vector<std::vector<std::string>>& rows) {
    QString text;
    for (const auto& row : rows) {
        QStringList fields;
        for (const auto& f : row)
            fields << Q(f);
        text += fields.join(u'\t') + u'\n';
    }
    return text;
}

}  // namespace

// The rows as the view reads them, straight from the table: a season of
// weekly rows is thousands of cells, too many to copy into items.
class PlayerTableModel : public QAbstractTableModel {
public:
    PlayerTableModel(const Palette& palette, QObject* parent)
        : QAbstractTableModel(parent),
          m_favourable(ColourOf(palette.favourable)),
          m_unfavourable(ColourOf(palette.unfavourable)) {}

    void setRows(const std::vector<PlayerTableRow>* rows) {
        beginResetModel();
        m_rows = rows;
        endResetModel();
    }

    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() || !m_rows ? 0 : static_cast<int>(m_rows->size());
    }
    int columnCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : static_cast<int>(kPlayerTableColumns);
    }

    QVariant data(const QModelIndex& index, int role) const override {
        const auto c = static_cast<std::size_t>(index.column());
        const PlayerTableRow& row = (*m_rows)[static_cast<std::size_t>(index.row())];
        switch (role) {
        case Qt::DisplayRole:
            return Shown(c, row.cells[c]);
        case Qt::TextAlignmentRole:
            return c >= ColumnIndex(PlayerColumn::Age) ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
        case Qt::BackgroundRole:
            if (row.trends[c] == Trend::Same)
                return {};
            return QBrush(row.trends[c] == Trend::Favourable ? m_favourable : m_unfavourable);
        default:
            return {};
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return {};
        return Q(PlayerTableCaptions()[static_cast<std::size_t>(section)]);
    }

private:
    const std::vector<PlayerTableRow>* m_rows = nullptr;
    QColor m_favourable, m_unfavourable;
};

PlayerTableTab::PlayerTableTab(UiHost& host, const Palette& palette, QWidget* parent)
    : QWidget(parent),
      m_host(host),
      m_palette(palette),
      m_table(new QTableView(this)),
      m_model(new PlayerTableModel(palette, this)),
      m_growth(new QLabel(this)) {
    setObjectName(QStringLiteral("PlayerTableTab"));
    m_table->setObjectName(QStringLiteral("PlayerTable"));
    m_table->setModel(m_model);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    m_growth->setObjectName(QStringLiteral("PlayerGrowth"));
    m_growth->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* buttons = new QHBoxLayout;
    const std::pair<const char*, void (PlayerTableTab::*)()> actions[] = {
        {"Копировать", &PlayerTableTab::copyClick},
        {"Копировать всё", &PlayerTableTab::copyAllClick},
        {"Сохранить CSV…", &PlayerTableTab::saveCsvClick}};
    for (const auto& [caption, handler] : actions) {
        auto* button = new QPushButton(QString::fromUtf8(caption), this);
        connect(button, &QPushButton::clicked, this, [this, handler = handler] { (this->*handler)(); });
        buttons->addWidget(button);
    }
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_table, 1);
    layout->addWidget(m_growth);
    layout->addLayout(buttons);
}

void PlayerTableTab::setTable(const PlayerTable& table) {
    m_model->setRows(nullptr);
    m_data = table;
    m_model->setRows(&m_data.rows);
    // Fitted in the font the table is shown in, which a window not shown yet
    // does not know.
    m_fitted = false;
    if (isVisible())
        fitColumns();
    const PlayerGrowth& g = table.growth;
    m_growth->setText(QStringLiteral("%1 – %2, дней: %3\n%4\n%5")
                          .arg(Q(g.from), Q(g.to))
                          .arg(g.days)
                          .arg(GrowthText("Реальный уровень", g.realLevel), GrowthText("Сумма умений", g.skillsSum)));
}

void PlayerTableTab::showEvent(QShowEvent* event) {
    if (!m_fitted)
        fitColumns();
    QWidget::showEvent(event);
}

void PlayerTableTab::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        m_fitted = false;
        if (isVisible())
            fitColumns();
    }
    QWidget::changeEvent(event);
}

// Each column as wide as its widest text, which the view measures; each
// distinct text is weighed once to find it, as the view's own fitting would
// lay out every cell of a season again.
void PlayerTableTab::fitColumns() {
    m_fitted = true;
    const QFontMetrics metrics(m_table->font());
    QHeaderView* header = m_table->horizontalHeader();
    for (std::size_t c = 0; c < kPlayerTableColumns; ++c) {
        std::set<std::string> seen;
        int widest = -1, widestRow = -1;
        for (std::size_t r = 0; r < m_data.rows.size(); ++r) {
            if (!seen.insert(m_data.rows[r].cells[c]).second)
                continue;
            if (const int w = metrics.horizontalAdvance(Shown(c, m_data.rows[r].cells[c])); w > widest) {
                widest = w;
                widestRow = static_cast<int>(r);
            }
        }
        const int column = static_cast<int>(c);
        int width = header->sectionSizeHint(column);
        if (widestRow >= 0)
            width = std::max(width, m_table->sizeHintForIndex(m_model->index(widestRow, column)).width() +
                                        (m_table->showGrid() ? 1 : 0));
        m_table->setColumnWidth(column, width);
    }
}

void PlayerTableTab::copyClick() {
    const QItemSelection selection = m_table->selectionModel()->selection();
    if (selection.isEmpty())
        return;
    const QItemSelectionRange& range = selection.front();
    std::vector<std::vector<std::string>> rows;
    for (int r = range.top(); r <= range.bottom(); ++r) {
        rows.emplace_back();
        for (int c = range.left(); c <= range.right(); ++c)
            rows.back().push_back(m_data.rows[static_cast<std::size_t>(r)].cells[static_cast<std::size_t>(c)]);
    }
    QApplication::clipboard()->setText(Tabbed(rows));
}

void PlayerTableTab::copyAllClick() { QApplication::clipboard()->setText(Tabbed(PlayerTableGrid(m_data))); }

void PlayerTableTab::saveCsvClick() {
    const std::string text = CsvText(PlayerTableGrid(m_data));
    SaveUserFile(m_host, this, Q(m_data.name) + QStringLiteral(".csv"), kCsvFilter, QStringLiteral("csv"),
                 [&](QIODevice& file) { return file.write(text.data(), static_cast<qint64>(text.size())) >= 0; });
}

}  // namespace cadrix::app
