#pragma once
// The texts of modify and describe.
//
// modify: assignments separated by blanks, each "object.property = value";
// the value is quoted with ' or " (inside, ~ escapes the next character:
// ~' ~" ~~, and ~t ~r ~n are tab, CR, LF) or runs to the next blank:
//   cgwdm_t.text = '*返修工位'  DataWindow.Grid.ColumnMove=No
// describe: "object.property" references separated by blanks.
// Object and property names come back lower case; "DataWindow.Grid.ColumnMove"
// is object "datawindow", property "grid.columnmove".
#include <string>
#include <string_view>
#include <vector>

#include "platform/result.h"

namespace kq::dw {

struct PropertyRef {
  std::string object;
  std::string property;
};

struct PropertyAssignment {
  PropertyRef target;
  std::string value;
  bool quoted = false;
};

Result<std::vector<PropertyAssignment>> parse_modify(std::string_view text);
Result<std::vector<PropertyRef>> parse_describe(std::string_view text);

}  // namespace kq::dw
