// The two archive rows: choosing an archive in the open dialog or by
// dropping it on the window.

#include "form_main.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

#include "archive_import.h"
#include "form_main_shared.h"
#include "import/working_folder_swap.h"
#include "look.h"
#include "pair_question.h"
#include "ui_form_main.h"
#include "uihost.h"

namespace cadrix::app {

void FormMain::butTS1Click() {
    run([this] { chooseArchiveOf(SnapshotSide::Start, std::nullopt); });
}

void FormMain::butTS2Click() {
    run([this] { chooseArchiveOf(SnapshotSide::End, std::nullopt); });
}

void FormMain::chooseArchive(SnapshotSide side, const QString& path) {
    run([&] { chooseArchiveOf(side, path); });
}

bool FormMain::chooseArchiveOf(SnapshotSide side, std::optional<QString> path) {
    SnapshotChoice& choice = side == SnapshotSide::Start ? m_startChoice : m_endChoice;
    BeginChoice(choice);
    showChoice(choice);
    const QString archive =
        path ? *path : m_host.getOpenFileName(this, QString(), m_openDialogFolder, QtFilter(kArchiveFilter));
    if (archive.isEmpty())
        return false;
    HostQuestions questions(m_host, this);
    ChoiceStatus status;
    try {
        status = NamingFileWhenOutOfMemory(archive, [&] {
            return ChooseArchive(choice, std::filesystem::path(archive.toStdString()), m_folders.base, questions);
        });
    } catch (...) {
        // The flag is set before the extraction; an archive error leaves it so.
        showChoice(choice);
        throw;
    }
    showChoice(choice);
    if (status == ChoiceStatus::Extracted)
        keepInHistory(side, archive, questions.FirstIncompleteEntry());
    return NamingFileWhenOutOfMemory(archive, [&] { return finishChoice(choice, status); });
}

bool FormMain::finishChoice(SnapshotChoice& choice, ChoiceStatus status) {
    showChoice(choice);
    if (status == ChoiceStatus::InvalidStatistics) {
        m_host.message(this, QStringLiteral("Ошибка"), Text(kInvalidStatisticsText), QMessageBox::Critical,
                       QMessageBox::Ok);
        showSplash();
        return false;
    }
    if (!acceptPair(choice.side))
        return false;
    SpeedButtonFillClick();
    return true;
}

bool FormMain::acceptPair(SnapshotSide chosen) {
    if (!m_startChoice.chosen || !m_endChoice.chosen)
        return true;
    for (bool swapped = false;;) {
        const PairAnswer answer = AskAboutPair(m_host, this, {m_folders.start, m_startChoice.dateText},
                                               {m_folders.end, m_endChoice.dateText});
        if (answer == PairAnswer::Compare || (answer == PairAnswer::Swap && swapped))
            return true;
        if (answer == PairAnswer::Swap) {
            SwapWorkingFolders(m_folders.base);
            SwapChoices(m_startChoice, m_endChoice);
            showChoice(m_startChoice);
            showChoice(m_endChoice);
            chosen = chosen == SnapshotSide::Start ? SnapshotSide::End : SnapshotSide::Start;
            swapped = true;
            continue;
        }
        // Refused as a file that is no export is: the row of the archive just
        // chosen goes back to its prompt, and it counts as not chosen, so
        // that choosing the other row does not compare it after all.
        SnapshotChoice& refused = chosen == SnapshotSide::Start ? m_startChoice : m_endChoice;
        const std::string date = refused.dateText;
        refused = SnapshotChoice::Initial(chosen);
        refused.dateText = date;
        showChoice(refused);
        showSplash();
        return false;
    }
}

namespace {

// The local files a drag carries; none when it carries anything else too.
QStringList LocalFiles(const QMimeData* data) {
    QStringList files;
    if (!data || !data->hasUrls())
        return files;
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile())
            return {};
        files << url.toLocalFile();
    }
    return files;
}

}  // namespace

std::optional<SnapshotSide> FormMain::rowAt(QPoint at) const {
    const QWidget* panel = m_ui->Panel1;
    const QPoint inside = panel->mapFrom(this, at);
    if (!panel->rect().contains(inside))
        return std::nullopt;
    return inside.y() < panel->height() / 2 ? SnapshotSide::Start : SnapshotSide::End;
}

bool FormMain::canDrop(const QMimeData* dragged, QPoint at) const {
    const qsizetype files = LocalFiles(dragged).size();
    return files == 2 || (files == 1 && rowAt(at));
}

void FormMain::dragEnterEvent(QDragEnterEvent* event) {
    if (canDrop(event->mimeData(), event->position().toPoint()))
        event->acceptProposedAction();
}

void FormMain::dragMoveEvent(QDragMoveEvent* event) {
    if (canDrop(event->mimeData(), event->position().toPoint()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void FormMain::dropEvent(QDropEvent* event) {
    const QPoint at = event->position().toPoint();
    if (!canDrop(event->mimeData(), at)) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    // The choice runs after the drop has ended, so that the program the
    // files came from is not kept waiting by its dialogs.
    QTimer::singleShot(0, this, [this, files = LocalFiles(event->mimeData()), row = rowAt(at)] {
        run([&] { chooseDropped(files, row); });
    });
}

void FormMain::chooseDropped(const QStringList& files, std::optional<SnapshotSide> row) {
    std::vector<std::pair<QString, std::uint32_t>> archives;
    for (const QString& file : files) {
        std::optional<std::uint32_t> stamp;
        if (file.endsWith(QStringLiteral(".zip"), Qt::CaseInsensitive))
            stamp = PlayersFileStamp(std::filesystem::path(file.toStdString()));
        if (!stamp) {
            m_host.message(this, QStringLiteral("Ошибка"),
                           Text(kInvalidStatisticsText) + QStringLiteral(": ") + QDir::toNativeSeparators(file),
                           QMessageBox::Critical, QMessageBox::Ok);
            return;
        }
        archives.emplace_back(file, *stamp);
    }
    if (archives.size() == 1 && row) {
        chooseArchiveOf(*row, archives[0].first);
        return;
    }
    if (archives.size() != 2)
        return;
    if (archives[1].second < archives[0].second)
        std::swap(archives[0], archives[1]);
    // The end counts as not chosen until its turn, so that the start's choice
    // does not load it beside an earlier end.
    BeginChoice(m_endChoice);
    showChoice(m_endChoice);
    if (chooseArchiveOf(SnapshotSide::Start, archives[0].first))
        chooseArchiveOf(SnapshotSide::End, archives[1].first);
}

void FormMain::showChoice(const SnapshotChoice& choice) {
    const bool start = choice.side == SnapshotSide::Start;
    QLabel* fileLabel = start ? m_ui->labelTS1 : m_ui->labelTS2;
    QLabel* dateLabel = start ? m_ui->LabelOF : m_ui->LabelNF;
    fileLabel->setText(QString::fromStdString(choice.fileLabel));
    dateLabel->setText(QString::fromStdString(choice.dateLabel));
    const Rgb& c = choice.dateLabelColour;
    SetTextColour(dateLabel, QColor(c.r, c.g, c.b));
}

}  // namespace cadrix::app
