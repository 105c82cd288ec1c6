#pragma once
// The computed fields of one data window, compiled together so that a field
// whose value depends on itself, directly or through other fields, is
// rejected when the definition is loaded rather than looping at evaluation.
// (A visibility or other property expression of a field may read the field's
// own value; those expressions are not field values and are compiled alone.)
#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "platform/dw/expression/expression.h"
#include "platform/result.h"

namespace kq::dw::expr {

struct ComputedFieldText {
  std::string name;        // as the resolver knows it
  std::string expression;  // its value expression
};

// Compiles field j's expression (fields[j] is computed field number j of the
// resolver). Errors name the field: "compute_3: unknown name 'x' at position 4",
// or the cycle: "computed fields depend on themselves: a -> b -> a".
Result<std::vector<Expression>> compile_computed_fields(std::span<const ComputedFieldText> fields,
                                                        const Resolver& resolver);

// The cycle check alone: reads[j] lists the fields that field j reads.
Result<void> check_computed_cycles(std::span<const std::vector<std::size_t>> reads,
                                   std::span<const std::string> names);

}  // namespace kq::dw::expr
