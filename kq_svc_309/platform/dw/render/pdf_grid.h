#pragma once
// Grids on paper: a ruled table of the shown columns with their headings, one
// line per row (long text wraps within its cell, the line as high as its
// tallest cell) and the footer lines (record counter, "合计", totals under
// their columns) after the last row. When the page is full the table goes on
// at the top of the next page under its headings repeated. Columns share the
// width by their declared widths (0 = share the rest).
#include "platform/dw/render/pdf_context.h"
#include "platform/dw/render/presentation.h"

namespace kq::dw {

// Lays out the grid `p` across [x, x + width] from the flow's cursor on.
void emit_pdf_grid(PdfContext& ctx, const Presentation& p, double x, double width);

}  // namespace kq::dw
