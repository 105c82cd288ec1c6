#pragma once
// The stylesheet the HTML renderer's class names refer to.
#include <string_view>

namespace kq::dw {

// CSS for grids (kq-grid), forms (kq-form) and print previews (kq-page):
// Chinese text in "WenQuanYi Micro Hei" (then sans-serif), grid rows of the
// fixed height set by the table's --kq-row-height, report widths in mm.
std::string_view html_stylesheet();

}  // namespace kq::dw
