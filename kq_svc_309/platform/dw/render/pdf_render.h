#pragma once
// The PDF renderer: a data window on paper (printing, archives). Pages come
// from the definition (A4 portrait unless it says otherwise) less the margins.
// A grid prints as a list: on every page its title, the heading line of the
// options (range, operator, print time) and "第 x 页 / 共 y 页" at the foot;
// a ruled table whose headings repeat on every page, then its footer lines on
// the last page. A list wider than a portrait page prints landscape (and is
// fitted to the width when it is wider still). A form prints its bands for the
// current row, a report its header band at the top of every page, the detail
// band once per row, the summary band after the last row and the footer band
// at the foot of every page (after the summary instead when it would take
// more than a third of the page). Texts, formats and code tables are the
// Presentation's.
#include <string>

#include "platform/dw/render/pdf_options.h"
#include "platform/dw/render/presentation.h"
#include "platform/result.h"

namespace kq::dw {

// The PDF document's bytes, or an error (a page too small for its margins,
// an output failure of Cairo).
Result<std::string> render_pdf(const Presentation& p, const PdfOptions& options = {});

}  // namespace kq::dw
