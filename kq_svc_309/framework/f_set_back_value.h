#pragma once
#include <initializer_list>
#include <string_view>

#include "platform/db/host_var.h"
#include "platform/dw/datawindow/datawindow.h"

namespace kq::fw {

// The selection list. Reads the rows of `source` (a table or view) that meet
// `where` on sqlca, shows the columns `shown` (comma-separated) under
// `headings` (comma-separated, one per shown column) through the session's
// Ui, and copies the chosen row's values of the columns `taken` into the
// columns `filled` of the current row of `dw`, position by position:
//
//   f_set_back_value(dw_edit, "v_svc300_01", "cwtsbh,ckhmc", "委托书编号,客户名称",
//                    "cwtsbh,ckhmc", "", "", "cgsh = :gs_gsh", "cwtsbh,ckhmc");
//
// `where` takes :placeholders whose values are given in `values` (bound,
// never pasted into the text); :gs_gsh is the current company unless given.
// When no row meets it and `message` is not empty, `message` is shown
// instead of the list. `reserved` is not used.
//
// 1 when a row was chosen and copied; 0 when nothing was chosen (or nothing
// could be); -1 for arguments that do not fit together (names that are not
// plain column or table names, lists of different lengths, no current row)
// or a failed read (shown as a message).
int f_set_back_value(dw::DataWindow& dw, std::string_view source, std::string_view shown, std::string_view headings,
                     std::string_view taken, std::string_view message, std::string_view reserved,
                     std::string_view where, std::string_view filled, std::initializer_list<db::HostVar> values = {});

}  // namespace kq::fw
