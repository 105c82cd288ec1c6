#pragma once
#include <initializer_list>
#include <string_view>

#include "platform/db/host_var.h"

namespace kq::fw {

// True when a row of `table` (a table or view name) meets `condition`, a
// where-condition with :placeholders whose values are given in `values`:
//   f_recorder_exist("svcb20d", "cwtsbh = :bh and cwxxmdm = :dm", {{"bh", ls_wtsbh}, {"dm", ls_wxxmdm}})
// Values are bound, never pasted into the text. A table name that is not a
// plain identifier, or a failing query, gives false. sqlca's sqlcode is kept.
bool f_recorder_exist(std::string_view table, std::string_view condition,
                      std::initializer_list<db::HostVar> values = {});

}  // namespace kq::fw
