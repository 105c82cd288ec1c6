#pragma once
// A Resolver built from lists of names: the columns, computed fields and
// retrieval arguments of a data window definition, numbered in the order added.
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "platform/dw/expression/binding.h"

namespace kq::dw::expr {

class NameTable : public Resolver {
 public:
  explicit NameTable(const FunctionRegistry* functions = nullptr) : functions_(functions) {}

  // Each adds the next slot of its kind and returns its index. A name added
  // twice (in any kind, ignoring case) keeps its first binding.
  std::size_t add_column(std::string_view name, Type type = Type::Any);
  std::size_t add_computed(std::string_view name, Type type = Type::Any);
  std::size_t add_argument(std::string_view name, Type type = Type::Any);

  std::size_t column_count() const { return columns_; }
  std::size_t computed_count() const { return computed_; }
  std::size_t argument_count() const { return arguments_; }

  std::optional<Binding> resolve(std::string_view name) const override;
  const FunctionRegistry* functions() const override { return functions_; }

 private:
  std::size_t add(std::string_view name, Binding::Kind kind, Type type, std::size_t& counter);

  const FunctionRegistry* functions_;
  std::map<std::string, Binding, std::less<>> names_;  // keyed by lower-case name
  std::size_t columns_ = 0, computed_ = 0, arguments_ = 0;
};

}  // namespace kq::dw::expr
