#include "pair_question.h"

#include <utility>

#include <QMessageBox>
#include <QString>

#include "import/archive_choice.h"
#include "uihost.h"

namespace cadrix::app {

namespace {

const QString kQuestionCaption = QStringLiteral("Подтверждение");
const QString kNoticeCaption = QStringLiteral("Информация");

}  // namespace

PairAnswer AskAboutPair(UiHost& host, QWidget* parent, const PairSide& start, const PairSide& end) {
    for (const PairFinding& finding : CheckPair(start, end)) {
        const QString text = QString::fromStdString(finding.text);
        if (finding.problem == PairProblem::SameExport) {
            host.message(parent, kNoticeCaption, text, QMessageBox::Information, QMessageBox::Ok);
            continue;
        }
        const bool yes = host.message(parent, kQuestionCaption, text, QMessageBox::Question,
                                      QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
        if (finding.problem == PairProblem::EndOlder && yes)
            return PairAnswer::Swap;
        if (finding.problem == PairProblem::DifferentClubs && !yes)
            return PairAnswer::Refuse;
    }
    return PairAnswer::Compare;
}

void SwapChoices(SnapshotChoice& start, SnapshotChoice& end) {
    std::swap(start, end);
    std::swap(start.side, end.side);
}

}  // namespace cadrix::app
