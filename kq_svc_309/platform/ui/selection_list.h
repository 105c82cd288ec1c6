#pragma once
// The selection list: a modal list of rows of a table or view from which the
// person picks one (or none).
#include <string>
#include <vector>

namespace kq::ui {

struct SelectionList {
  std::string title;                          // caption of the dialog
  std::vector<std::string> columns;           // column names shown, in order
  std::vector<std::string> headings;          // one heading per shown column
  std::vector<std::vector<std::string>> rows;  // display texts, one per shown column
  std::string message;                        // a note shown above the list ("" = none)
  friend bool operator==(const SelectionList&, const SelectionList&) = default;
};

}  // namespace kq::ui
