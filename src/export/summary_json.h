#pragma once

#include "export/json_writer.h"
#include "views/summary.h"

namespace cadrix {

// The period summary as the report's "summary" object: one member per group,
// an array of item objects (an empty group is []), "money" an object of two
// [start, end, change] arrays; the skill sums and building levels are numbers,
// every other value the text a page shows.
void WriteSummaryJson(JsonWriter& w, const PeriodSummary& summary);

}  // namespace cadrix
