#pragma once
// The process-wide registry of global functions that data window expressions
// may call (f_retu_para, f_bgfs, f_svc_upper_je ...). The application
// registers them once at start-up, before any session loads a definition or
// opens a data window; from then on it is only read, so sessions share it
// without locking. Definitions are validated against it when they load, and
// a data window calls through it unless its owner hands it another registry.
#include "platform/dw/expression/function_registry.h"

namespace kq::dw {

expr::FunctionRegistry& global_functions();

}  // namespace kq::dw
