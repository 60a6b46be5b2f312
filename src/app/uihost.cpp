#include "uihost.h"

#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QRegularExpression>
#include <QScreen>
#include <QVBoxLayout>

namespace cadrix::app {

namespace {
// The longest password the question accepts.
constexpr int kMaxPasswordLength = 255;
// A step shorter than this ends before its progress dialog shows.
constexpr int kProgressDelayMs = 500;

class DialogProgress : public ProgressReport {
public:
    DialogProgress(QWidget* parent, const QString& text, int total)
        : m_dialog(text, QStringLiteral("Отмена"), 0, total, parent) {
        m_dialog.setWindowModality(Qt::WindowModal);
        m_dialog.setMinimumDuration(kProgressDelayMs);
        m_dialog.setValue(0);
    }
    bool advance(int done) override {
        // A modal dialog's setValue also handles the pending events, the
        // cancel button's click among them.
        m_dialog.setValue(done);
        return !m_dialog.wasCanceled();
    }

private:
    QProgressDialog m_dialog;
};

}  // namespace

QString QtFilter(const QString& pairs) {
    // "Description|pattern|Description|pattern" -> "Description (pattern);;..."
    const QStringList parts = pairs.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        const QString pattern = parts[i + 1];
        // Qt takes the patterns from the last brackets of the description;
        // the program's descriptions already name them.
        if (!description.contains(u'('))
            description += QStringLiteral(" (%1)").arg(QString(pattern).replace(u';', u' '));
        filters << description;
    }
    return filters.join(QStringLiteral(";;"));
}

QString FilterSuffix(const QString& filter) {
    static const QRegularExpression firstPattern(QStringLiteral("\\(\\*\\.(\\w+)[ )]"));
    const QRegularExpressionMatch match = firstPattern.match(filter);
    return match.hasMatch() ? match.captured(1) : QString();
}

QString DesktopUiHost::getOpenFileName(QWidget* parent, const QString& caption, const QString& dir,
                                       const QString& filter) {
    return QFileDialog::getOpenFileName(parent, caption, dir, filter);
}

QStringList DesktopUiHost::getOpenFileNames(QWidget* parent, const QString& caption, const QString& dir,
                                            const QString& filter) {
    return QFileDialog::getOpenFileNames(parent, caption, dir, filter);
}

QString DesktopUiHost::getExistingDirectory(QWidget* parent, const QString& caption, const QString& dir) {
    return QFileDialog::getExistingDirectory(parent, caption, dir);
}

QString DesktopUiHost::getSaveFileName(QWidget* parent, const QString& caption, const QString& dir,
                                       const QString& filter, const QString& defaultSuffix, QString* selectedFilter) {
    QFileDialog dialog(parent, caption, dir, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    const auto followFilter = [&dialog, defaultSuffix](const QString& chosen) {
        const QString suffix = FilterSuffix(chosen);
        dialog.setDefaultSuffix(suffix.isEmpty() ? defaultSuffix : suffix);
    };
    dialog.setDefaultSuffix(defaultSuffix);
    if (selectedFilter && !selectedFilter->isEmpty()) {
        dialog.selectNameFilter(*selectedFilter);
        followFilter(*selectedFilter);
    }
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, followFilter);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    if (selectedFilter)
        *selectedFilter = dialog.selectedNameFilter();
    return dialog.selectedFiles().constFirst();
}

QMessageBox::StandardButton DesktopUiHost::message(QWidget* parent, const QString& caption, const QString& text,
                                                   QMessageBox::Icon icon, QMessageBox::StandardButtons buttons) {
    QMessageBox box(icon, caption, text, buttons, parent);
    // A path or an address in a message can be copied.
    box.setTextInteractionFlags(Qt::TextSelectableByMouse);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

std::optional<QString> DesktopUiHost::askPassword(QWidget* parent, const QString& entryName) {
    QDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("Password for \"%1\"").arg(entryName));
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(QStringLiteral("Enter password: "), &dialog));
    auto* edit = new QLineEdit(&dialog);
    edit->setEchoMode(QLineEdit::Password);
    // Typed characters show as '*' whatever the style's own mask character.
    edit->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    edit->setMaxLength(kMaxPasswordLength);
    layout->addWidget(edit);
    auto* buttons = new QDialogButtonBox(&dialog);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return edit->text();
}

bool DesktopUiHost::openUrl(const QUrl& url) { return QDesktopServices::openUrl(url); }

void OpenWebPage(UiHost& host, QWidget* parent, const QString& address) {
    if (host.openUrl(QUrl(address)))
        return;
    host.message(parent, QStringLiteral("Ошибка"),
                 QStringLiteral("Не удалось открыть браузер. Адрес страницы:\n") + address, QMessageBox::Critical,
                 QMessageBox::Ok);
}

QPixmap DesktopUiHost::grabScreen(const QRect& rect) {
    QScreen* screen = QGuiApplication::screenAt(rect.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    const QRect local = rect.translated(-screen->geometry().topLeft());
    return screen->grabWindow(0, local.x(), local.y(), local.width(), local.height());
}

std::unique_ptr<ProgressReport> DesktopUiHost::startProgress(QWidget* parent, const QString& text, int total) {
    return std::make_unique<DialogProgress>(parent, text, total);
}

}  // namespace cadrix::app
