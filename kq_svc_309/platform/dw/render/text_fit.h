#pragma once
// How much of a text can show in a box: before a text is laid out it is cut
// to what its box can hold at all, so that a field of 100,000 characters
// costs no more than a full box (laying out text grows faster than its length).
#include <cstddef>
#include <string_view>

namespace kq::dw {

// The most characters a box `width_pt` × `height_pt` can show in type of
// `font_pt`: characters per line (no glyph is narrower than a tenth of an em)
// times lines (none is lower than the type size). At least one character.
std::size_t max_visible_characters(double width_pt, double height_pt, double font_pt);

// The first max_visible_characters(…) characters of `text` (all of it when
// it is shorter), never splitting a UTF-8 sequence.
std::string_view cut_to_box(std::string_view text, double width_pt, double height_pt, double font_pt);

}  // namespace kq::dw
