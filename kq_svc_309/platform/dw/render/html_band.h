#pragma once
// Bands of forms and print previews in the browser: each band row a flex line
// (<div class="kq-line">) of objects left to right, widths in CSS mm (0 =
// share the rest). A hidden object keeps its place and shows nothing; a line
// whose objects are all hidden is left out. Nested reports are written inline.
#include <string>

#include "platform/dw/render/html_options.h"
#include "platform/dw/render/layout_line.h"
#include "platform/dw/render/presentation.h"

namespace kq::dw {

struct HtmlBandContext {
  const HtmlOptions* options = nullptr;
  // A form on screen: fields carry data-column and data-row, fields of
  // editable columns are marked kq-edit, check boxes and radio choices are
  // live inputs. Otherwise (print preview) everything is read-only.
  bool interactive = false;
  // Nesting depth of the data window being written; nested reports deeper
  // than kMaxNesting are left out (a definition nesting itself ends there).
  int depth = 0;
  static constexpr int kMaxNesting = 8;
};

// Appends one resolved line.
void append_html_line(std::string& out, const Presentation& p, const PlacedLine& line,
                      const HtmlBandContext& ctx);

// Appends a band resolved for `row` as <div class="kq-band {css_class}">.
// Nothing is written for a band without rows.
void append_html_band(std::string& out, const Presentation& p, const BandDef& band, long row,
                      const char* css_class, const HtmlBandContext& ctx);

// Appends the bands of a form or report: header, summary and footer resolved
// for `at` (the band row), the detail band once for `at` in a form (none
// when `at` is 0) and once per row otherwise.
void append_html_bands(std::string& out, const Presentation& p, long at, const HtmlBandContext& ctx);

// Appends a nested data window inline: a grid as a ruled table of its
// headings, rows and footer; a form or report as its bands (the detail band
// once per row).
void append_html_nested(std::string& out, const Presentation& nested, const HtmlBandContext& ctx);

}  // namespace kq::dw
