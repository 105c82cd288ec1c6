#pragma once
// Bands of printed forms and reports: each band row one line of objects laid
// out left to right by their widths (0 = share the rest). The line is as high
// as its tallest object (at least its declared height); a hidden object keeps
// its place and draws nothing but its ruled border (a ruled table keeps its
// lines where a value is hidden); a line whose objects are all hidden takes
// no space. A line that does not fit below the cursor goes to the next page.
#include "platform/dw/render/layout_line.h"
#include "platform/dw/render/pdf_context.h"

namespace kq::dw {

// Lays out one resolved line across [x, x + width] at the flow's cursor. A
// line that shows nothing but one nested report lets that report flow (a
// nested list breaks across pages, its headings repeated); a nested report
// sharing its line with other objects is kept in one piece.
void emit_pdf_line(PdfContext& ctx, const Presentation& p, const PlacedLine& line, double x,
                   double width);

// Lays out every row of `band` resolved for `row`.
void emit_pdf_band(PdfContext& ctx, const Presentation& p, const BandDef& band, long row, double x,
                   double width);

// Lays out a nested data window inline: a grid as a ruled table, a form as
// its bands for its current row, a report as its bands with the detail band
// once per row.
void emit_pdf_nested(PdfContext& ctx, const Presentation& nested, double x, double width);

}  // namespace kq::dw
