#pragma once
// A front-desk clerk at 打印工单 on the demo shop (business year 2026, month
// 12), and a second workstation on the same files for the races.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "contracts/w_svc310.h"
#include "framework/demo_fixture.h"
#include "platform/ui/event_dispatch.h"

namespace kq::testing {

inline void set_business_month(fw::Session& s) {
  s.g.gi_dqn = 2026;
  s.g.gi_dqy = 12;
}

class ContractDesk {
 public:
  ContractDesk() { set_business_month(*shop.session); }

  // The window, opened on first use.
  svc::w_svc310& list() {
    if (auto* w = dynamic_cast<svc::w_svc310*>(shop.windows->find("w_svc310"))) return *w;
    auto* w = dynamic_cast<svc::w_svc310*>(shop.windows->open("w_svc310"));
    EXPECT_NE(w, nullptr) << shop.windows->last_error();
    return *w;
  }
  // Makes the work order's row current; false when it is not listed.
  bool pick(const std::string& bh) { return pick_in(list(), bh); }
  static bool pick_in(svc::w_svc310& w, const std::string& bh) {
    for (long r = 1; r <= w.dw_1->rowcount(); ++r)
      if (w.dw_1->getitemstring(r, "cwtsbh") == bh) return w.dw_1->setrow(r) == 1;
    ADD_FAILURE() << bh << " is not listed";
    return false;
  }
  // A menu command as the workstation sends it; its result.
  long command(int index) { return send({.control = "", .event = "ue_cus", .number = index}).result; }
  ui::DispatchResult send(ui::EventRequest event) {
    event.window = list().id();
    return ui::dispatch_event(*shop.windows, event);
  }
  // The current row's value of `column` ("<null>" for null).
  std::string shown(const char* column) {
    svc::w_svc310& w = list();
    return w.dw_1->getitemstring(w.dw_1->getrow(), column).value_or("<null>");
  }
  // The stored value of svcb20c's `column` for a work order, as another workstation sees it.
  std::string stored(const char* column, const std::string& bh) {
    return shop.committed(std::string("select ") + column + " into :v from svcb20c where cwtsbh = '" + bh +
                          "' and cgsh = '01'");
  }
  std::string counter(const char* key) {
    return shop.committed(std::string("select nzhh into :v from kq_counter where cmk = 'SVC' and cjm = '") +
                          key + "' and cgsh = '01'");
  }

  DemoShop shop;
};

// A second workstation: its own session, dialogs and windows. Its events run
// with its session current (`Turn`).
struct OtherWorkstation {
  explicit OtherWorkstation(DemoShop& shop) : session(shop.open_session()) {
    session->ui = &ui;
    set_business_month(*session);
    module::install_windows(registry);
    windows = std::make_unique<ui::WindowManager>(registry);
  }
  struct Turn {
    explicit Turn(OtherWorkstation& o) : scope(*o.session) {}
    fw::SessionScope scope;
  };
  std::unique_ptr<fw::Session> session;
  ui::ScriptedUi ui;
  ui::WindowRegistry registry;
  std::unique_ptr<ui::WindowManager> windows;
};

}  // namespace kq::testing
