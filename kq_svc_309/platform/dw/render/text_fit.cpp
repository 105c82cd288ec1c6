#include "platform/dw/render/text_fit.h"

#include <algorithm>
#include <cmath>

#include "platform/value/text.h"

namespace kq::dw {

namespace {
constexpr double kNarrowestGlyphEm = 0.1;
constexpr double kLowestLineEm = 1.0;
}  // namespace

std::size_t max_visible_characters(double width_pt, double height_pt, double font_pt) {
  const double em = font_pt > 0 ? font_pt : 10;
  const double per_line = std::floor(std::max(width_pt, 0.0) / (em * kNarrowestGlyphEm));
  const double lines = std::floor(std::max(height_pt, 0.0) / (em * kLowestLineEm));
  return static_cast<std::size_t>(std::max(1.0, per_line) * std::max(1.0, lines));
}

std::string_view cut_to_box(std::string_view text, double width_pt, double height_pt, double font_pt) {
  const std::size_t limit = max_visible_characters(width_pt, height_pt, font_pt);
  if (text.size() <= limit) return text;  // fewer bytes than the limit: fewer characters too
  return text.substr(0, text::byte_offset(text, limit));
}

}  // namespace kq::dw
