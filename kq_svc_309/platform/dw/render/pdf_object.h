#pragma once
// One placed object in a cell of a printed line or table: the height its
// content needs at a width, and the drawing of it. Measuring and drawing run
// through the same function so that they cannot disagree.
#include "platform/dw/render/layout_line.h"
#include "platform/dw/render/pdf_context.h"

namespace kq::dw {

struct PdfBox {
  double x = 0, y = 0, width = 0, height = 0;
};

enum class PdfCellMode { Measure, Draw };

// The height the object needs in a cell box.width wide (padding included;
// 0 for a hidden object). In Draw mode it is also drawn inside `box`, its
// content at the top of the box, or vertically centred when `centred`. A
// nested report is kept in one piece here (a line that holds nothing else
// flows instead; see pdf_band.h). Borders are the caller's.
double pdf_object(PdfContext& ctx, const Presentation& p, const PlacedObject& o, const PdfBox& box,
                  PdfCellMode mode, bool centred = false);

// The text style of an object of definition `def`.
PdfTextStyle pdf_text_style(const Definition& def, const ObjectDef& object);

}  // namespace kq::dw
