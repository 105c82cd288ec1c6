#pragma once
// Small pieces of CSS the HTML renderer writes inline.
#include <string>

#include "platform/dw/definition/definition.h"

namespace kq::dw {

// A length in millimetres as CSS: "20mm", "12.5mm" (two places at most, no
// locale).
std::string css_mm(double mm);
// A type size in points as CSS: "10pt".
std::string css_pt(double pt);
// The class of an alignment: "kq-left", "kq-center", "kq-right".
const char* align_class(Align align);
// The flex of an object on a line: its declared width (shrinking in
// proportion when the line is too narrow), or an equal share of the rest.
std::string flex_for_width(double width_mm);

}  // namespace kq::dw
