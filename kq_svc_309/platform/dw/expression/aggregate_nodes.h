#pragma once
// Aggregates over every row of the primary buffer: sum, count, max, min, avg,
// written "sum(x for all)" or "sum(x)" (the same). The argument is evaluated
// once per row; null values are skipped. The context remembers the result
// until the rows change (RowContext::remembered), so an aggregate shown on
// every row costs one pass over the rows, not one per row.
//
// sum:   0 when there is no value (Long 0 for a Long argument, else Decimal 0).
// count: number of rows whose value is not null.
// max, min: the largest or smallest value; null when there is none.
// avg:   Decimal mean of the values; null when there is none.
#include "platform/dw/expression/node.h"

namespace kq::dw::expr {

enum class AggregateKind { Sum, Count, Max, Min, Avg };

NodePtr make_aggregate(AggregateKind kind, NodePtr arg);

}  // namespace kq::dw::expr
