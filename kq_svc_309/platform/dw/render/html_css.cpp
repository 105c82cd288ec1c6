#include "platform/dw/render/html_css.h"

#include <charconv>
#include <cmath>

namespace kq::dw {

namespace {

std::string number(double v) {
  if (!std::isfinite(v)) v = 0;
  char buf[64];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, std::round(v * 100) / 100,
                                 std::chars_format::fixed, 2);
  if (ec != std::errc()) return "0";
  std::string s(buf, end);
  while (!s.empty() && s.back() == '0') s.pop_back();
  if (!s.empty() && s.back() == '.') s.pop_back();
  if (s == "-0") s = "0";
  return s;
}

}  // namespace

std::string css_mm(double mm) { return number(mm) + "mm"; }

std::string css_pt(double pt) { return number(pt) + "pt"; }

const char* align_class(Align align) {
  switch (align) {
    case Align::Center: return "kq-center";
    case Align::Right: return "kq-right";
    case Align::Left: break;
  }
  return "kq-left";
}

std::string flex_for_width(double width_mm) {
  if (width_mm > 0) return "flex:0 1 " + css_mm(width_mm);
  return "flex:1 1 0";
}

}  // namespace kq::dw
