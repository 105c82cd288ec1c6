#pragma once
// Shared by the definition tests: the names of the module's data window
// definitions, and the global functions registered once for the process as
// the application does at start-up.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "framework/dw_functions.h"
#include "platform/dw/definition/definition_set.h"
#include "platform/dw/definition/global_functions.h"

namespace kq::testing {

// Every definition the module ships, in the order of its subsystems.
inline const std::vector<std::string>& module_definitions() {
  static const std::vector<std::string> names = {
      "d_svc301_01",
      "d_svc304_01",         "d_svc304_01_gsgl",    "d_svc304_02",         "d_svc304_02_gsgl",
      "d_svc304_01_01",      "d_svc304_01_01_gsgl", "d_svc304_01_02",      "d_svc304_01_02_gsgl",
      "d_svc305_01",         "d_svc305_01_01",
      "d_svc309_01",         "d_svc309_02",
      "d_svc310_01",         "d_svc310_02",         "d_svc310_03",         "d_svc310_03_now",
      "d_svc310_03_01",      "d_svc310_03_01_now",  "d_svc310_04",         "d_svc310_05",
      "d_svc310_04_01",      "d_svc310_05_01",
      "d_svc305_jsd1",       "d_svc305_jsd1_01",    "d_svc305_jsd1_02",
      "d_svc303_01_04",      "d_svc303_01_04_h",    "d_svc303_01_05",      "d_svc300_03_01",
  };
  return names;
}

// The retrieval arguments each definition's window passes, on the demo shop
// of business date `today`; `pick` gives the text a query "select ... into
// :v" finds (work orders, repair items and rework records of the demo).
inline std::map<std::string, std::vector<Value>> demo_arguments(const std::function<std::string(const std::string&)>& pick,
                                                                const char* today) {
  const std::string settled = pick(
      "select top 1 h.cwtsbh into :v from svcb20c h where h.cgsh = '01' and h.cwxzt in ('1','2') "
      "and exists (select 1 from svcb20d d where d.cwtsbh = h.cwtsbh) "
      "and exists (select 1 from spab02c c where c.cdydbh = h.cwtsbh) order by h.cwtsbh");
  const std::string history = pick(
      "select top 1 h.cwtsbh into :v from svcb20c_h h where h.cgsh = '01' "
      "and exists (select 1 from svcb20d_h d where d.cwtsbh = h.cwtsbh) order by h.cwtsbh");
  const std::string settled_on = pick(
      "select top 1 convert(char(10), djsrq, 111) into :v from svcb20c where cgsh = '01' and cwxzt = '1' "
      "and npljsxh = 0 and npzid = 0 order by djsrq desc");
  const std::string rework_bh = pick("select top 1 cwtsbh into :v from svcb50 where cgsh = '01' order by cwtsbh");
  const std::string rework_dm =
      pick("select top 1 cwxxmdm into :v from svcb50 where cgsh = '01' and cwtsbh = '" + rework_bh + "' order by cwxxmdm");
  const std::string rework_mc = pick("select top 1 cxmmc into :v from svcb50 where cgsh = '01' and cwtsbh = '" +
                                     rework_bh + "' and cwxxmdm = '" + rework_dm + "'");
  const std::string old_bh = pick("select top 1 cwtsbh into :v from svcb50_h where cgsh = '01' order by cwtsbh");
  const std::string old_dm = pick("select top 1 cwxxmdm into :v from svcb50_h where cgsh = '01' and cwtsbh = '" +
                                  old_bh + "' order by cwxxmdm");
  const std::string old_mc = pick("select top 1 cxmmc into :v from svcb50_h where cgsh = '01' and cwtsbh = '" + old_bh +
                                  "' and cwxxmdm = '" + old_dm + "'");
  EXPECT_FALSE(settled.empty());
  EXPECT_FALSE(history.empty());
  EXPECT_FALSE(settled_on.empty());
  EXPECT_FALSE(rework_bh.empty());
  EXPECT_FALSE(old_bh.empty());

  return std::map<std::string, std::vector<Value>>{
      {"d_svc301_01", {}},
      {"d_svc300_03_01", {settled}},
      {"d_svc304_01", {}},
      {"d_svc304_01_gsgl", {}},
      {"d_svc304_02", {}},
      {"d_svc304_02_gsgl", {}},
      {"d_svc304_01_01", {rework_bh, rework_dm, rework_mc}},
      {"d_svc304_01_01_gsgl", {rework_bh, rework_dm, rework_mc}},
      {"d_svc304_01_02", {old_bh, old_dm, old_mc}},
      {"d_svc304_01_02_gsgl", {old_bh, old_dm, old_mc}},
      {"d_svc305_01", {today, "2000/01/01"}},
      {"d_svc305_01_01", {settled_on}},
      {"d_svc309_01", {}},
      {"d_svc309_02", {"2000/01/01", today}},
      {"d_svc310_01", {}},
      {"d_svc310_02", {"2000/01/01", today}},
      {"d_svc310_03", {history}},
      {"d_svc310_03_now", {settled}},
      {"d_svc310_03_01", {history}},
      {"d_svc310_03_01_now", {settled}},
      {"d_svc310_04", {settled}},
      {"d_svc310_05", {history}},
      {"d_svc310_04_01", {settled}},
      {"d_svc310_05_01", {history}},
      {"d_svc305_jsd1", {settled, "01"}},
      {"d_svc305_jsd1_01", {settled}},
      {"d_svc305_jsd1_02", {settled}},
      {"d_svc303_01_04", {settled}},
      {"d_svc303_01_04_h", {history}},
      {"d_svc303_01_05", {settled, "01"}},
  };
}

// Registers the host functions into the process-wide registry (once).
inline void register_host_functions() {
  static const bool done = [] {
    fw::register_dw_functions(dw::global_functions());
    return true;
  }();
  (void)done;
}

}  // namespace kq::testing
