#pragma once

#include <QString>

namespace cadrix::app {

class ChartKit;

// The chart module, loaded at the first call and kept loaded for the life
// of the process. Null when it cannot be loaded, with the reason, naming the
// module file, in `error`.
ChartKit* LoadChartKit(QString& error);

// The module is looked for beside the program (a build tree), then in the
// installed library folder. A test names the folder of its build instead.
void SetChartModuleFolder(const QString& folder);

}  // namespace cadrix::app
