#pragma once
// The names that expressions of one definition may use, numbered as the data
// window stores them: columns by their position in the select list, computed
// fields by their position in Definition::computes(), retrieval arguments in
// declared order.
#include <string>
#include <vector>

#include "platform/dw/definition/definition.h"
#include "platform/dw/expression/name_table.h"

namespace kq::dw {

expr::NameTable expression_names(const Definition& def, const expr::FunctionRegistry* functions);

// Every global function that an expression text calls, by name (lower case)
// with the numbers of arguments it is called with; built-in and row functions
// are not listed. An empty result for a text that does not parse.
struct GlobalCall {
  std::string name;
  std::size_t min_args = 0, max_args = 0;
};
void collect_global_calls(std::string_view expression, std::vector<GlobalCall>& into);

// The expression texts of a definition: computed fields, visibility and
// protect expressions, nested report arguments.
std::vector<std::string> expression_texts(const Definition& def);

}  // namespace kq::dw
