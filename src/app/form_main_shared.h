#pragma once

// What the files of the main window share: they are one class, FormMain,
// kept in several files by what each part owns.

#include <new>
#include <stdexcept>
#include <string_view>
#include <utility>
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

// Runs `step` on the file `file`; memory running out on the way is an error
// that names the file instead of a bare allocation failure.
template <typename Step>
auto NamingFileWhenOutOfMemory(const QString& file, Step&& step) {
    try {
        return std::forward<Step>(step)();
    } catch (const std::bad_alloc&) {
        throw std::runtime_error((QStringLiteral("Недостаточно памяти для файла ") + file).toStdString());
    }
}

template <typename Handler>
void FormMain::run(Handler&& handler) {
    RunHandler(m_host, this, std::forward<Handler>(handler));
}

}  // namespace cadrix::app
