#pragma once

// What the files of the main window share: they are one class, FormMain,
// kept in several files by what each part owns.

#include <string_view>
#include <vector>

#include <QString>

#include "error_box.h"
#include "form_main.h"
#include "views/grids.h"

namespace cadrix::app {

inline QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A column width and a row height are a cell's own size; the grid line
// between two cells adds this to it. Qt counts the line in a section's size.
constexpr int kGridLine = 1;

// How the window lays out a page grid; its name, size and fixed cells come
// from the grid table of the views.
struct GridLayout {
    GridId id;
    std::vector<int> widths;  // empty: set from the grid's width
    int rowHeight;
    int wideRowHeight;
    bool rowSelect;
    bool verticalScrollBar;
};

const std::vector<GridLayout>& GridLayouts();

template <typename Handler>
void FormMain::run(Handler&& handler) {
    RunHandler(m_host, this, std::forward<Handler>(handler));
}

}  // namespace cadrix::app
