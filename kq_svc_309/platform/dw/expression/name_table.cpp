#include "platform/dw/expression/name_table.h"

#include "platform/value/text.h"

namespace kq::dw::expr {

std::size_t NameTable::add(std::string_view name, Binding::Kind kind, Type type, std::size_t& counter) {
  std::size_t index = counter++;
  names_.emplace(text::lower(name), Binding{kind, index, type});
  return index;
}

std::size_t NameTable::add_column(std::string_view name, Type type) {
  return add(name, Binding::Kind::Column, type, columns_);
}

std::size_t NameTable::add_computed(std::string_view name, Type type) {
  return add(name, Binding::Kind::Computed, type, computed_);
}

std::size_t NameTable::add_argument(std::string_view name, Type type) {
  return add(name, Binding::Kind::Argument, type, arguments_);
}

std::optional<Binding> NameTable::resolve(std::string_view name) const {
  auto it = names_.find(text::lower(name));
  if (it == names_.end()) return std::nullopt;
  return it->second;
}

}  // namespace kq::dw::expr
