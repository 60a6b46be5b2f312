#pragma once

#include "snapshot/pair_check.h"

class QWidget;

namespace cadrix {
struct SnapshotChoice;
}

namespace cadrix::app {

class UiHost;

// What the user decided about a pair that looked wrong.
enum class PairAnswer {
    Compare,  // as chosen
    Swap,     // the end is older: the rows change places, then ask again
    Refuse,   // two clubs, and the user does not want them compared
};

// Puts the pair's findings to the user, one after another: the same export
// twice is told, an older end and two clubs are asked ("Да"/"Нет"). Stops
// at the first answer that changes the pair.
PairAnswer AskAboutPair(UiHost& host, QWidget* parent, const PairSide& start, const PairSide& end);

// The two rows' texts and dates change places; each keeps its side.
void SwapChoices(SnapshotChoice& start, SnapshotChoice& end);

}  // namespace cadrix::app
