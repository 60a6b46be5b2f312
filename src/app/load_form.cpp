#include "load_form.h"

#include <QPlainTextEdit>
#include <QTabWidget>
#include <QVBoxLayout>

#include "views/comparison.h"

namespace cadrix::app {

namespace {
QString LinesText(const std::vector<std::string>& lines) {
    QStringList out;
    for (const std::string& line : lines)
        out << QString::fromStdString(line);
    return out.join(u'\n');
}

QString TableText(const TextTable& table) {
    QStringList out;
    for (int row = 0; row < table.RowCount(); ++row) {
        QStringList cells;
        for (const std::string& cell : table.RowCells(row))
            cells << QString::fromStdString(cell);
        out << cells.join(QStringLiteral(" | "));
    }
    return out.join(u'\n');
}
}  // namespace

LoadForm::LoadForm(QWidget* parent) : QWidget(parent, Qt::Window), m_tabs(new QTabWidget(this)) {
    setObjectName(QStringLiteral("LoadForm"));
    setWindowTitle(QStringLiteral("LoadForm"));
    resize(800, 600);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
}

void LoadForm::showTables(const Comparison& comparison) {
    m_tabs->clear();
    auto add = [this](const QString& title, const QString& text) {
        auto* edit = new QPlainTextEdit(text, m_tabs);
        edit->setReadOnly(true);
        edit->setLineWrapMode(QPlainTextEdit::NoWrap);
        m_tabs->addTab(edit, title);
    };
    const std::pair<int, const Snapshot*> snapshots[] = {{1, &comparison.StartSnapshot()},
                                                         {2, &comparison.EndSnapshot()}};
    for (const auto& [n, snapshot] : snapshots) {
        add(QStringLiteral("lb%1 play").arg(n), LinesText(snapshot->lbPlay));
        add(QStringLiteral("lb%1 play2").arg(n), LinesText(snapshot->lbPlay2));
        add(QStringLiteral("lb%1 team").arg(n), LinesText(snapshot->lbTeam));
        add(QStringLiteral("lb%1 struct").arg(n), LinesText(snapshot->lbStruct));
        add(QStringLiteral("sg%1_play").arg(n), TableText(snapshot->play));
        add(QStringLiteral("sg%1_play2").arg(n), TableText(snapshot->play2));
        add(QStringLiteral("sg%1_team").arg(n), TableText(snapshot->team));
        add(QStringLiteral("sg%1_struct").arg(n), TableText(snapshot->structure));
    }
    add(QStringLiteral("Total_play1"), TableText(comparison.TotalPlay()));
    show();
    raise();
}

}  // namespace cadrix::app
