#pragma once
// Function calls: built-in scalar functions, global functions of the
// registry, and the row functions currentrow(), rowcount(), getrow().
#include <vector>

#include "platform/dw/expression/builtins.h"
#include "platform/dw/expression/function_registry.h"
#include "platform/dw/expression/node.h"

namespace kq::dw::expr {

// Arity is checked by the caller.
NodePtr make_builtin_call(const Builtin& fn, std::vector<NodePtr> args);
NodePtr make_global_call(const FunctionRegistry::Function& fn, std::vector<NodePtr> args);

enum class RowFunction {
  CurrentRow,  // number of the data window's current row, 0 when none
  RowCount,    // rows in the primary buffer
  GetRow,      // number of the row being evaluated, 0 outside the primary buffer
};
NodePtr make_row_function(RowFunction which);

}  // namespace kq::dw::expr
