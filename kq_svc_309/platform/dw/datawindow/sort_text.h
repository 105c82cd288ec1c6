#pragma once
// The text of setsort: keys separated by commas, each an expression (most
// often a column name, or "#n" for the n-th column) followed by A
// (ascending, the default) or D (descending): "djsrq D ,cwtsbh A".
#include <string>
#include <string_view>
#include <vector>

#include "platform/result.h"

namespace kq::dw {

struct SortKey {
  std::string expression;
  bool descending = false;
};

// The keys of a sort text; an empty (or blank) text gives none. Commas inside
// parentheses or quotes do not split keys.
Result<std::vector<SortKey>> parse_sort(std::string_view text);

// The keys of a sort text with their expressions in lower case, as column
// names compare; none when the text does not parse.
std::vector<SortKey> lowered_sort_keys(std::string_view text);

}  // namespace kq::dw
