#pragma once
// A definition compiled for one data window: its names, its computed fields
// and the property expressions of its objects (visibility, protection,
// nested report arguments), each bound once against the definition's
// columns, computed fields and arguments and the data window's functions.
// Each compiled expression knows the columns it reads directly, so that
// evaluation fetches only those items of a row.
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/dw/datawindow/function_memo.h"
#include "platform/dw/definition/definition.h"
#include "platform/dw/expression/expression.h"
#include "platform/dw/expression/name_table.h"
#include "platform/result.h"

namespace kq::dw {

// Column slots, sorted, each once.
using ColumnSet = std::vector<uint32_t>;

struct Compiled {
  expr::Expression expression;
  ColumnSet columns;  // read directly (in aggregates too), not through computed fields
};

struct ObjectExpressions {
  std::optional<Compiled> visible;
  std::optional<Compiled> protect;
  std::vector<Compiled> arguments;  // Report: its retrieval arguments
  int computed = -1;                // Compute: its field number
};

class BoundDefinition {
 public:
  // Compiles everything; an error names the object and the expression's problem.
  static Result<std::shared_ptr<const BoundDefinition>> bind(DefinitionPtr def, std::shared_ptr<FunctionMemo> functions);

  const Definition& definition() const { return *def_; }
  const DefinitionPtr& definition_ptr() const { return def_; }
  FunctionMemo& functions() const { return *functions_; }
  const std::shared_ptr<FunctionMemo>& functions_ptr() const { return functions_; }

  // Compiles another text (a filter, a sort key, a modified visibility)
  // against the same names; functions it calls are declared first.
  Result<Compiled> compile(std::string_view text) const;

  const std::vector<Compiled>& computed() const { return computed_; }
  // The expressions of an object of this definition; nullptr for any other.
  const ObjectExpressions* object(const ObjectDef& o) const {
    auto it = objects_.find(&o);
    return it == objects_.end() ? nullptr : &it->second;
  }
  // Column slot of a column name (any case); -1 when none.
  int column(std::string_view name) const;

 private:
  BoundDefinition(DefinitionPtr def, std::shared_ptr<FunctionMemo> functions);

  DefinitionPtr def_;
  std::shared_ptr<FunctionMemo> functions_;
  expr::NameTable names_;
  std::vector<Compiled> computed_;
  std::unordered_map<const ObjectDef*, ObjectExpressions> objects_;
  std::unordered_map<std::string, int> columns_;  // lower-case name -> slot
};

}  // namespace kq::dw
