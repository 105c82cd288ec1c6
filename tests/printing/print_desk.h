#pragma once
// A cashier at 打印结算单 on the demo shop: the window w_svc309, events as the
// workstation sends them, and the rows of its list.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/demo_fixture.h"
#include "platform/ui/event_dispatch.h"
#include "printing/w_svc309.h"

namespace kq::testing {

class PrintDesk {
 public:
  explicit PrintDesk(std::vector<std::string> authorities = {"CJ", "CP", "CQ"}) : shop(std::move(authorities)) {}

  // The window, opened on first use.
  svc::w_svc309& window() {
    if (auto* w = dynamic_cast<svc::w_svc309*>(shop.windows->find("w_svc309"))) return *w;
    auto* w = dynamic_cast<svc::w_svc309*>(shop.windows->open("w_svc309"));
    EXPECT_NE(w, nullptr) << shop.windows->last_error();
    return *w;
  }

  ui::DispatchResult send(ui::EventRequest event) {
    event.window = window().id();
    return ui::dispatch_event(*shop.windows, event);
  }
  void click(const std::string& control, bool checked) {
    send({.control = control, .event = "clicked", .checked = checked});
  }
  void command(long index) { send({.event = "ue_cus", .number = index}); }

  // A column of the list as filtered and sorted, "<null>" for null.
  std::vector<std::string> column(const char* name) {
    std::vector<std::string> out;
    svc::w_svc309& w = window();
    for (long r = 1; r <= w.dw_1->rowcount(); ++r) out.push_back(w.dw_1->getitemstring(r, name).value_or("<null>"));
    return out;
  }
  // The row of a work order in the list; 0 when not shown.
  long row_of(const std::string& bh) {
    const auto numbers = column("cwtsbh");
    for (size_t i = 0; i < numbers.size(); ++i)
      if (numbers[i] == bh) return static_cast<long>(i + 1);
    return 0;
  }

  DemoShop shop;
};

}  // namespace kq::testing
