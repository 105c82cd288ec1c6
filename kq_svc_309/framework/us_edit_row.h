#pragma once
// The row a list window hands to its edit window (the parameter of the edit
// window's opening): the command, the key of the chosen row, the list's
// retrieval arguments and every column of the row.
#include <map>
#include <string>
#include <vector>

#include "platform/value/value.h"

namespace kq::fw {

struct us_edit_row {
  std::string mode;                       // "add" (a new record) or "edit" (the chosen row)
  std::vector<std::string> key_columns;   // the list's is_primarykey, split at commas
  std::vector<Value> key_values;          // the chosen row's values of key_columns
  std::vector<Value> retrieval_values;    // the arguments the list was retrieved with
  std::map<std::string, Value> row;       // every column of the chosen row, by lower-case name
};

}  // namespace kq::fw
