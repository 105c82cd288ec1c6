#include "framework/f_select_current_row.h"

namespace kq::fw {

int f_select_current_row(dw::DataWindow& dw) {
  if (dw.rowcount() < 1) return -1;
  long row = dw.getrow();
  if (row < 1) row = 1;
  dw.selectrow(0, false);
  dw.selectrow(row, true);
  dw.scrolltorow(row);
  return 1;
}

}  // namespace kq::fw
