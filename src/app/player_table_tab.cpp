#include "player_table_tab.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
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

PlayerTableTab::PlayerTableTab(UiHost& host, const Palette& palette, QWidget* parent)
    : QWidget(parent),
      m_host(host),
      m_palette(palette),
      m_table(new QTableWidget(this)),
      m_growth(new QLabel(this)) {
    setObjectName(QStringLiteral("PlayerTableTab"));
    m_table->setObjectName(QStringLiteral("PlayerTable"));
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
    m_data = table;
    const auto& captions = PlayerTableCaptions();
    m_table->clear();
    m_table->setColumnCount(static_cast<int>(kPlayerTableColumns));
    m_table->setRowCount(static_cast<int>(table.rows.size()));
    QStringList header;
    for (const auto& c : captions)
        header << Q(c);
    m_table->setHorizontalHeaderLabels(header);
    const QColor favourable = ColourOf(m_palette.favourable), unfavourable = ColourOf(m_palette.unfavourable);
    for (int r = 0; r < static_cast<int>(table.rows.size()); ++r) {
        const PlayerTableRow& row = table.rows[static_cast<std::size_t>(r)];
        for (std::size_t c = 0; c < kPlayerTableColumns; ++c) {
            auto* item = new QTableWidgetItem(Shown(c, row.cells[c]));
            if (c >= ColumnIndex(PlayerColumn::Age))
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (row.trends[c] != Trend::Same)
                item->setBackground(row.trends[c] == Trend::Favourable ? favourable : unfavourable);
            m_table->setItem(r, static_cast<int>(c), item);
        }
    }
    m_table->resizeColumnsToContents();
    const PlayerGrowth& g = table.growth;
    m_growth->setText(QStringLiteral("%1 – %2, дней: %3\n%4\n%5")
                          .arg(Q(g.from), Q(g.to))
                          .arg(g.days)
                          .arg(GrowthText("Реальный уровень", g.realLevel), GrowthText("Сумма умений", g.skillsSum)));
}

void PlayerTableTab::copyClick() {
    const QList<QTableWidgetSelectionRange> ranges = m_table->selectedRanges();
    if (ranges.isEmpty())
        return;
    const QTableWidgetSelectionRange& range = ranges.front();
    std::vector<std::vector<std::string>> rows;
    for (int r = range.topRow(); r <= range.bottomRow(); ++r) {
        rows.emplace_back();
        for (int c = range.leftColumn(); c <= range.rightColumn(); ++c)
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
