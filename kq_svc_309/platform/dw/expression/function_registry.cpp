#include "platform/dw/expression/function_registry.h"

#include "platform/value/text.h"

namespace kq::dw::expr {

void FunctionRegistry::add(std::string name, std::size_t min_args, std::size_t max_args, Type result,
                           Callable call) {
  std::string key = text::lower(name);
  functions_[key] = Function{std::move(name), min_args, max_args, result, std::move(call)};
}

const FunctionRegistry::Function* FunctionRegistry::find(std::string_view name) const {
  auto it = functions_.find(text::lower(name));
  return it == functions_.end() ? nullptr : &it->second;
}

}  // namespace kq::dw::expr
