#pragma once
// How the objects of a line (or the columns of a table) share its width.
#include <vector>

namespace kq::dw {

// Widths of the parts of a line `available` wide, from their declared widths
// (0 = share what the declared ones leave, in equal parts). Each sharing part
// gets at least `min_share`. When the parts need more than `available`, all of
// them shrink in proportion so that they fill it exactly; when declared parts
// alone need less and none shares, they keep their declared widths. A negative
// declared width counts as 0.
std::vector<double> split_widths(const std::vector<double>& declared, double available,
                                 double min_share);

}  // namespace kq::dw
