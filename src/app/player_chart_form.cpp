#include "player_chart_form.h"

#include <algorithm>

#include <QFileInfo>
#include <QHBoxLayout>
#include <QImage>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QSaveFile>
#include <QVBoxLayout>

#include "chart_kit.h"
#include "chart_lines.h"
#include "error_box.h"
#include "history/chart_series.h"
#include "uihost.h"

namespace cadrix::app {

namespace {

constexpr QSize kInitialSize{860, 520};
constexpr int kLineListWidth = 230;
constexpr int kSwatchSize = 12;

QIcon Swatch(const QColor& colour) {
    QPixmap pixmap(kSwatchSize, kSwatchSize);
    pixmap.fill(colour);
    return QIcon(pixmap);
}

}  // namespace

PlayerChartForm::PlayerChartForm(UiHost& host, ChartKit& kit, const PlayerSeries& series, QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_host(host),
      m_name(QString::fromStdString(series.name)),
      m_lineList(new QListWidget(this)) {
    setObjectName(QStringLiteral("PlayerChartForm"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_WindowPropagation);
    setWindowTitle(QStringLiteral("Развитие игрока: %1").arg(m_name));
    resize(kInitialSize);

    std::vector<ChartSeries> figures = PlayerChartLines(series);
    const std::vector<int> skills = DefaultChartSkills(series);
    std::vector<ChartLine> lines;
    for (std::size_t i = 0; i < figures.size(); ++i) {
        const ChartAxis axis = i == kValueLine ? ChartAxis::Right : ChartAxis::Left;
        ChartLine line = ToChartLine(figures[i], LineColour(i), axis);
        const int skill = static_cast<int>(i - kFirstSkillLine) + 1;
        line.visible = i < kFirstSkillLine || std::find(skills.begin(), skills.end(), skill) != skills.end();
        lines.push_back(line);
    }

    m_lineList->setObjectName(QStringLiteral("LineList"));
    m_lineList->setFixedWidth(kLineListWidth);
    for (const ChartLine& line : lines) {
        auto* item = new QListWidgetItem(Swatch(line.colour), line.name, m_lineList);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(line.visible ? Qt::Checked : Qt::Unchecked);
    }
    m_chart = kit.createLineChart(this);
    m_chart->setObjectName(QStringLiteral("PlayerChart"));
    ChartAxes axes;
    axes.left = QStringLiteral("РУ, умения");
    axes.right = QStringLiteral("Стоимость");
    m_chart->setLines(lines, axes);
    connect(m_lineList, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        m_chart->setLineVisible(m_lineList->row(item), item->checkState() == Qt::Checked);
    });

    auto* save = new QPushButton(QStringLiteral("Сохранить PNG…"), this);
    save->setObjectName(QStringLiteral("SaveButton"));
    connect(save, &QPushButton::clicked, this, [this] { saveClick(); });
    auto* side = new QVBoxLayout;
    side->addWidget(m_lineList, 1);
    side->addWidget(save);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(side);
    layout->addWidget(m_chart, 1);
}

void PlayerChartForm::saveClick() {
    RunHandler(m_host, this, [this] {
        const QString path = m_host.getSaveFileName(this, QString(), m_name + QStringLiteral(".png"),
                                                    QtFilter(kPngFilter), QStringLiteral("png"), nullptr);
        if (path.isEmpty())
            return;
        const QString fullPath = QFileInfo(path).absoluteFilePath();
        const QImage picture = m_chart->grab().toImage();
        // Written beside the target and renamed over it only when whole.
        QSaveFile file(fullPath);
        if (!file.open(QIODevice::WriteOnly) || !picture.save(&file, "PNG") || !file.commit()) {
            m_host.message(this, QStringLiteral("Ошибка"),
                           QStringLiteral("Не удалось сохранить %1: %2").arg(fullPath, file.errorString()),
                           QMessageBox::Critical, QMessageBox::Ok);
            return;
        }
        m_host.message(this, QStringLiteral("Информация"), QStringLiteral("Сохранено в ") + fullPath,
                       QMessageBox::Information, QMessageBox::Ok);
    });
}

}  // namespace cadrix::app
