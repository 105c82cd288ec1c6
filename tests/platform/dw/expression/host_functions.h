#pragma once
// Stand-ins for the host application's global functions that the module's
// definitions call: f_retu_para (system parameters, null when missing),
// f_bgfs (contract mode of a work order), f_qmbs_retu (warranty text) and the
// module's own f_svc_upper_je.
#include <map>
#include <string>

#include "functions/f_svc_upper_je.h"
#include "platform/dw/expression/function_registry.h"
#include "platform/value/text.h"

namespace kq::dw::expr::testing {

class HostFunctions {
 public:
  HostFunctions() {
    registry.add("f_retu_para", 2, Type::String, [this](std::span<const Value> a) {
      if (a[0].is_null() || a[1].is_null()) return Value::null(Type::String);
      auto it = params.find(text::upper(a[0].str()) + "." + text::upper(a[1].str()));
      return it == params.end() ? Value::null(Type::String) : it->second;
    });
    registry.add("f_bgfs", 1, Type::String, [this](std::span<const Value> a) {
      if (a[0].is_null()) return Value::null(Type::String);
      auto it = contract_mode.find(a[0].str());
      return Value(it == contract_mode.end() ? "0" : it->second);
    });
    registry.add("f_qmbs_retu", 1, Type::String,
                 [](std::span<const Value> a) { return Value("3、质量保证" + a[0].debug_string()); });
    registry.add("f_svc_upper_je", 1, Type::String, [](std::span<const Value> a) {
      auto r = f_svc_upper_je(a[0].as_decimal());
      return r ? Value(*r) : Value::null(Type::String);
    });
  }
  HostFunctions(const HostFunctions&) = delete;
  HostFunctions& operator=(const HostFunctions&) = delete;

  // "GROUP.KEY" (upper case) -> value.
  std::map<std::string, Value> params;
  // work-order number -> cbgfs.
  std::map<std::string, std::string> contract_mode;
  FunctionRegistry registry;
};

}  // namespace kq::dw::expr::testing
