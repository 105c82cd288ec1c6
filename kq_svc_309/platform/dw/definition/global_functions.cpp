#include "platform/dw/definition/global_functions.h"

namespace kq::dw {

expr::FunctionRegistry& global_functions() {
  static expr::FunctionRegistry registry;
  return registry;
}

}  // namespace kq::dw
