#pragma once
// Global functions callable from expressions by name (f_retu_para, f_bgfs,
// f_svc_upper_je ...). A session registers them once; compiled expressions
// keep a pointer to the entry, so the registry must outlive them.
#include <cstddef>
#include <functional>
#include <map>
#include <span>
#include <string>
#include <string_view>

#include "platform/value/value.h"

namespace kq::dw::expr {

class FunctionRegistry {
 public:
  // Receives the evaluated arguments (nulls included) and returns the result.
  using Callable = std::function<Value(std::span<const Value> args)>;

  struct Function {
    std::string name;        // as registered
    std::size_t min_args = 0;
    std::size_t max_args = 0;
    Type result = Type::Any;  // declared result type, used by compile-time checks
    Callable call;
  };

  // Adds or replaces `name` (case-insensitive), taking between min_args and
  // max_args arguments.
  void add(std::string name, std::size_t min_args, std::size_t max_args, Type result, Callable call);
  // Same with a fixed number of arguments.
  void add(std::string name, std::size_t arity, Type result, Callable call) {
    add(std::move(name), arity, arity, result, std::move(call));
  }

  // The function called `name` (ASCII case ignored), or nullptr.
  const Function* find(std::string_view name) const;

 private:
  std::map<std::string, Function, std::less<>> functions_;  // keyed by lower-case name
};

}  // namespace kq::dw::expr
