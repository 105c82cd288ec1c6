#pragma once
// Shared by the definition tests: the names of the module's data window
// definitions, and the global functions registered once for the process as
// the application does at start-up.
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

// Registers the host functions into the process-wide registry (once).
inline void register_host_functions() {
  static const bool done = [] {
    fw::register_dw_functions(dw::global_functions());
    return true;
  }();
  (void)done;
}

}  // namespace kq::testing
