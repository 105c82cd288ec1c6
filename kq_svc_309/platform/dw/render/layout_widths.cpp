#include "platform/dw/render/layout_widths.h"

#include <algorithm>

namespace kq::dw {

std::vector<double> split_widths(const std::vector<double>& declared, double available,
                                 double min_share) {
  std::vector<double> widths(declared.size(), 0.0);
  if (declared.empty()) return widths;
  available = std::max(available, 0.0);
  double fixed = 0;
  int sharing = 0;
  for (double d : declared) {
    if (d > 0) fixed += d;
    else ++sharing;
  }
  double share = 0;
  if (sharing > 0) share = std::max((available - fixed) / sharing, std::max(min_share, 0.0));
  double total = 0;
  for (size_t i = 0; i < declared.size(); ++i) {
    widths[i] = declared[i] > 0 ? declared[i] : share;
    total += widths[i];
  }
  if (total > available && total > 0) {
    double scale = available / total;
    for (double& w : widths) w *= scale;
  }
  return widths;
}

}  // namespace kq::dw
