#pragma once
// Binding of names: what a data window tells the compiler about the names an
// expression may use.
#include <cstddef>
#include <optional>
#include <string_view>

#include "platform/value/value.h"

namespace kq::dw::expr {

class FunctionRegistry;

// What a name stands for, and where its value is found at evaluation time.
struct Binding {
  enum class Kind { Column, Computed, Argument };
  Kind kind = Kind::Column;
  std::size_t index = 0;  // column slot, computed field number or argument number (from 0)
  Type type = Type::Any;  // declared type; Any when not known
};

// Resolves names while an expression is compiled (never while it runs).
class Resolver {
 public:
  virtual ~Resolver() = default;
  // The binding of `name`, ignoring ASCII case; nullopt for an unknown name.
  virtual std::optional<Binding> resolve(std::string_view name) const = 0;
  // Global functions callable by name; nullptr when there are none.
  virtual const FunctionRegistry* functions() const = 0;
};

}  // namespace kq::dw::expr
