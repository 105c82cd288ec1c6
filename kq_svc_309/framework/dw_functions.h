#pragma once
// The host application's global functions that data window expressions call
// by name, adapted to the expression engine's calling convention (the
// module registers its own, such as f_svc_upper_je, beside them):
//
//   f_retu_para(group, code)  text of a system parameter; null when absent
//   f_bgfs(bh)                contract mode "0", "1" or "2" of a work order; null when none
//   f_qmbs_retu(n)            clause n of the repair contract's quality guarantee
//
// A null argument gives a null result. The functions that read the database
// run on the session current on the calling thread (fw::session()) and leave
// its sqlca status as it was. kq::module::install() registers them once at
// start-up, into dw::global_functions(), before any definition is loaded.
#include "platform/dw/expression/function_registry.h"

namespace kq::fw {

void register_dw_functions(dw::expr::FunctionRegistry& registry);

// Registers them into dw::global_functions() once per process (later calls do nothing).
void install_dw_functions();

}  // namespace kq::fw
