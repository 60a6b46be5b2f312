#include "new_export_notice.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace cadrix::app {

namespace {

constexpr int kMargin = 8;
constexpr int kHeight = 34;

}  // namespace

NewExportNotice::NewExportNotice(QWidget* window)
    : QFrame(window),
      m_text(new QLabel(this)),
      m_compare(new QPushButton(QStringLiteral("Сравнить с предыдущей"), this)),
      m_close(new QPushButton(QStringLiteral("Закрыть"), this)) {
    setObjectName(QStringLiteral("NewExportNotice"));
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::ToolTipBase);
    m_text->setObjectName(QStringLiteral("NoticeText"));
    m_compare->setObjectName(QStringLiteral("NoticeCompareButton"));
    m_close->setObjectName(QStringLiteral("NoticeCloseButton"));
    // Pressed with the mouse only: the focus stays where the user left it.
    for (QWidget* control : std::initializer_list<QWidget*>{this, m_text, m_compare, m_close})
        control->setFocusPolicy(Qt::NoFocus);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 2, 6, 2);
    layout->addWidget(m_text, 1);
    layout->addWidget(m_compare);
    layout->addWidget(m_close);
    connect(m_close, &QPushButton::clicked, this, &QWidget::hide);
    connect(m_compare, &QPushButton::clicked, this, [this] {
        hide();
        if (m_compareAction)
            m_compareAction();
    });
    hide();
}

void NewExportNotice::announce(const QString& club, const QString& date, std::function<void()> compare) {
    m_text->setText(QStringLiteral("Новая выгрузка: %1, %2").arg(club, date));
    m_compareAction = std::move(compare);
    m_compare->setEnabled(static_cast<bool>(m_compareAction));
    place();
    show();
    raise();
}

QString NewExportNotice::text() const { return m_text->text(); }

void NewExportNotice::place() {
    const QWidget* window = parentWidget();
    setGeometry(kMargin, window->height() - kHeight - kMargin, window->width() - 2 * kMargin, kHeight);
}

}  // namespace cadrix::app
