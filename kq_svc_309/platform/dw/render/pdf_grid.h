#pragma once
// Grids on paper: a ruled table of the shown columns with their headings, one
// line per row and the footer lines (record counter, "合计", totals under
// their columns) after the last row, kept on the page of the last row. When
// the page is full the table goes on at the top of the next page under its
// headings repeated.
//
// Columns share the width by their declared widths (0 = share the rest). A
// table wider than its space is fitted to it: columns and type shrink in the
// same proportion (type down to kMinTablePt). Values never wrap: each is one
// line, drawn in smaller type when it is wider than its cell (down to
// kMinFittedPt) and cut with "…" beyond that. Headings may wrap.
#include "platform/dw/render/pdf_context.h"
#include "platform/dw/render/presentation.h"

namespace kq::dw {

constexpr double kMinTablePt = 6.5;
constexpr double kMinFittedPt = 5;

// Lays out the grid `p` across [x, x + width] from the flow's cursor on.
void emit_pdf_grid(PdfContext& ctx, const Presentation& p, double x, double width);

}  // namespace kq::dw
