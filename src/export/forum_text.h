#pragma once

#include <string>

#include "export/output_file.h"
#include "export/report.h"

namespace cadrix {

// Texts to paste into a forum post: BBCode, which the game's forum and most
// others read, and Markdown for the rest.
//
// BBCode: headings in [b], a change in [color=#RRGGBB] of the palette's
// colour for it, a page as [table] of [tr] rows of [td] cells. Markdown:
// headings with "#", the summary's items as a list, a page as a table with
// one header line; the marks "▲" and "▼" before a change stand in for the
// colours. Texts from the exports are escaped so that they read as they are
// ("[" cannot start a tag, "|" cannot end a cell).
enum class ForumMarkup { BBCode, Markdown };

// The summary: its heading, then each group with its items, "нет" for an
// empty group.
std::string ForumSummary(const PeriodSummary& summary, PaletteChoice palette, ForumMarkup markup);

// One page of the window as it stands: its caption, its grid as a table
// (the captions over the columns as its header line) and the lines under it.
std::string ForumPage(const Comparison& comparison, GridId grid, PaletteChoice palette, ForumMarkup markup);

// The whole report: the title, the archives, what the marks say, the
// summary, then every page in the window's tab order, the skills page once
// per pick with its detail panel.
void WriteForumReport(const ReportInput& input, ForumMarkup markup, OutputSink& out);

}  // namespace cadrix
