#pragma once
// The arguments an event carries. Each event reads the fields it takes:
// doubleclicked(xpos, ypos, row, dwo) reads xpos, ypos, row and column (the
// object clicked); ue_key(key, keyflags) reads key and keyflags;
// ue_cus(ai_select) reads number; itemchanged(row, dwo, data) reads row,
// column and data.
#include <string>

namespace kq::ui {

struct Event {
  long row = 0;
  std::string column;  // the data window object (column) the event concerns
  std::string data;    // the typed value of an item
  long number = 0;     // a number argument (ue_cus's command index ...)
  int key = 0;         // key code (13 = Enter)
  int keyflags = 0;    // 1 Shift, 2 Ctrl
  long xpos = 0, ypos = 0;
};

}  // namespace kq::ui
