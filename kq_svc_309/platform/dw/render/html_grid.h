#pragma once
// Grids in the browser: a <table> with the heading row, one row per data row
// and the footer lines (record counter, "合计", totals under their columns).
//
// Each data row is <tr class="kq-row" data-row="N"> (1-based, the number the
// browser posts back), with kq-current on the current row and kq-selected on
// selected rows; each cell carries data-column (column objects) or
// data-object (computed fields). Columns that are not shown are left out;
// a cell hidden for one row is left empty.
#include <string>

#include "platform/dw/render/html_options.h"
#include "platform/dw/render/presentation.h"

namespace kq::dw {

struct HtmlGridStyle {
  // The printed look (previews, nested lists): ruled cells whose text wraps,
  // every row, no spacer rows. Otherwise the screen look: fixed-height rows
  // and the options' row window.
  bool ruled = false;
};

// The rows a window starting at `first_row` and `row_window` rows long covers
// in a grid of `row_count` rows (row_window 0 = up to the last row).
RowWindow grid_row_window(long row_count, long first_row, long row_window);

// The grid's heights for virtual scrolling with these options.
GridMetrics html_grid_metrics(const Presentation& p, const HtmlOptions& options);

// Appends the grid's <table>.
void append_html_grid(std::string& out, const Presentation& p, const HtmlOptions& options,
                      const HtmlGridStyle& style);

}  // namespace kq::dw
