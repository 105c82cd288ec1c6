#pragma once
// Which module statements the query-plan tests read, and which tables they
// may not read whole: the statements that restrict work orders by a day or by
// a work-order number, and the tables that grow with the work orders.
#include <regex>
#include <set>
#include <string>

namespace kq::testing {

// Tables that grow with the work orders (headers, items, materials, receipts,
// card movements and their history); a plan may read any other table whole.
inline const std::set<std::string>& growing_tables() {
  static const std::set<std::string> all = {"svcb20c", "svcb20c_h", "svcb20d",  "svcb20d_h", "svcb25",  "svcb22c",
                                            "svcb22c_h", "svcb50",  "svcb50_h", "wtcb01c",   "svcb61",  "spab02c",
                                            "spab02d",  "sysb13",   "club07",   "club08",    "club01d", "kq_finance_call"};
  return all;
}

// The statement restricts work orders by a day or by a given work-order number.
inline bool restricts_by_day_or_number(const std::string& tsql) {
  static const std::regex day(R"(convert\s*\(\s*n?(var)?char\s*\(\s*10\s*\)\s*,\s*[\w.]+\s*,\s*111\s*\)\s*(=|>|<(?!>)|between))",
                              std::regex::icase);
  static const std::regex number(R"(\bcwtsbh\s*=\s*:)", std::regex::icase);
  return std::regex_search(tsql, day) || std::regex_search(tsql, number);
}

// Statements that read a growing table by the company alone by their own
// wording, whatever the indexes: the rework pick list leaves out the items of
// every rework record of the company ("not in (select cwxxmdm from svcb50
// where cgsh = ...)").
inline const std::set<std::string> kExempt = {"w_svc304_01.pick_item_gsgl"};

}  // namespace kq::testing
