#pragma once
// The host application's print service for settlement slips. A window
// creates one instance per print, calls uf_print_jsd once and destroys it.
//
// uf_print_jsd(ab_all, ab_print, adw_jsd, as_xstp, ai_kind, ai_hyxx, ai_xsse,
//              adw_source, as_wtsbh, adw_cmz, ai_11, as_12, ai_qz):
//   ab_all      accepted; the slip is the same for the I and O lists
//   ab_print    true: the slip is printed at once (ii_copies copies);
//               false: it is only prepared in adw_jsd for a preview
//   adw_jsd     receives the slip d_svc305_jsd1 of as_wtsbh
//   as_xstp     receives the modify text the slip is shown with
//   ai_kind     accepted (1: settlement slip)
//   ai_hyxx     1: the membership card of the work order is printed in the
//               slip's title line (no card: nothing added)
//   ai_xsse     1: the fees print without tax and the 税金 line shows
//   adw_source  accepted (the same data window as adw_jsd)
//   as_wtsbh    the work-order number
//   adw_cmz     accepted (the exit pass is printed by the window itself)
//   ai_11, as_12 accepted
//   ai_qz       1: an owing slip: the guarantor 担保人 prints; 0: hidden
// 1 when the slip was prepared (and printed); -1 when the work order has no
// slip (the data window is then empty, nothing printed).
#include <string>

#include "platform/ui/datawindow_control.h"

namespace kq::fw {

class uo_svc_print {
 public:
  int ii_copies = 1;  // copies printed when ab_print is true (1 to 9)

  int uf_print_jsd(bool ab_all, bool ab_print, ui::DataWindowControl& adw_jsd, std::string& as_xstp, int ai_kind,
                   int ai_hyxx, int ai_xsse, ui::DataWindowControl& adw_source, const std::string& as_wtsbh,
                   ui::DataWindowControl& adw_cmz, int ai_11, const std::string& as_12, int ai_qz);
};

}  // namespace kq::fw
