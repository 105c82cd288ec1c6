#include "framework/dw_functions.h"

#include <mutex>

#include "platform/dw/definition/global_functions.h"

#include "framework/f_bgfs.h"
#include "framework/f_qmbs_retu.h"
#include "framework/f_retu_para.h"

namespace kq::fw {

using dw::expr::FunctionRegistry;

namespace {

Value text_or_null(const Str& s) { return s ? Value(*s) : Value::null(Type::String); }

}  // namespace

void register_dw_functions(FunctionRegistry& registry) {
  registry.add("f_retu_para", 2, Type::String, [](std::span<const Value> a) {
    auto group = a[0].as_string();
    auto code = a[1].as_string();
    if (!group || !code) return Value::null(Type::String);
    Str value = f_retu_para(*group, *code);
    // An absent switch counts as "0": switches are the parameters whose code
    // begins with "L" (LBXXSJE, LJSYH, LQTLL ...). Texts such as the company
    // name stay null, so that nothing prints for them.
    if (!value && !code->empty() && (code->front() == 'L' || code->front() == 'l')) return Value(std::string("0"));
    return text_or_null(value);
  });
  registry.add("f_bgfs", 1, Type::String, [](std::span<const Value> a) {
    auto bh = a[0].as_string();
    if (!bh) return Value::null(Type::String);
    return text_or_null(f_bgfs(*bh));
  });
  registry.add("f_qmbs_retu", 1, Type::String, [](std::span<const Value> a) {
    auto clause = a[0].as_long();
    if (!clause) return Value::null(Type::String);
    return text_or_null(f_qmbs_retu(static_cast<long>(*clause)));
  });
}

void install_dw_functions() {
  static std::once_flag once;
  std::call_once(once, [] { register_dw_functions(dw::global_functions()); });
}

}  // namespace kq::fw
