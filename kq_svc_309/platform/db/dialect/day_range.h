#pragma once
// Day comparisons as ranges on the bare column (see DayRangeRules in
// sql_rewrite.h). Used by the column walk of sql_rewrite.cpp, which knows the
// tables each expression sees.
#include <functional>
#include <optional>
#include <string_view>

#include "platform/db/dialect/catalog.h"
#include "platform/db/dialect/sql_rewrite.h"
#include "platform/db/dialect/sql_tree.h"
#include "platform/result.h"

namespace kq::db::sql {

// The column a name ("col" or "qualifier.col") stands for where it is used.
using ColumnLookup = std::function<std::optional<ColumnInfo>(std::string_view ref)>;

// Rewrites each day comparison found directly in seq[b, e) (not in its
// groups): "convert(char(10), col, 111) op day" with op one of = >= > <= <
// or BETWEEN day AND day, col a DateTime column, day a host variable, a
// string literal or convert(char(10), either, 111), standing at the start of
// a condition (first, or after WHERE, ON, HAVING, WHEN, AND, OR) and
// followed by nothing or by a keyword. It becomes
// "(col >= lower and col < upper and <the comparison as it was>)", the bounds
// as `rules` write them. Everything else stays. The end of the range moves
// by what was added; it is returned.
size_t rewrite_day_comparisons(Statement& st, Nodes& seq, size_t b, size_t e, const ColumnLookup& column,
                               const DayRangeRules& rules);

}  // namespace kq::db::sql
