#pragma once
// The printed page of a definition.
#include "platform/dw/definition/definition.h"
#include "platform/dw/render/presentation.h"

namespace kq::dw {

struct PageSize {
  double width_mm = 210;
  double height_mm = 297;
};

// The page as declared (A4 when a side is not positive), or the given sizes
// where positive; landscape turns a page that is higher than wide. A page
// declared wider than high (continuous paper) stays as declared.
PageSize page_size(const Definition& def, double width_mm = 0, double height_mm = 0);

// The page `p` prints on with `margin_mm` on every side: page_size(), turned
// to landscape for a list (grid) whose columns want more than the body of a
// portrait page. Landscape keeps the type readable; a list wider than that
// too is fitted to the width (see pdf_grid.h).
PageSize printed_page(const Presentation& p, double margin_mm, double width_mm = 0, double height_mm = 0);

}  // namespace kq::dw
