#pragma once
// Parameter of a work window's query (wf_query): the data windows queried
// and the filter each keeps under any condition the person adds.
#include <string>
#include <vector>

#include "platform/ui/datawindow_control.h"

namespace kq::fw {

struct us_sys_query {
  std::vector<ui::DataWindowControl*> qs_dw;
  std::vector<std::string> qs_filter;
};

}  // namespace kq::fw
