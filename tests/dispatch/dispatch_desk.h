#pragma once
// A workshop controller at 派工处理 on the demo shop: the list w_svc301, the
// repair-item window it opens, and the choices made in selection lists by
// the code shown in their first column.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dispatch/w_svc301.h"
#include "framework/demo_fixture.h"
#include "framework/w_svc300_03.h"
#include "platform/ui/event_dispatch.h"

namespace kq::testing {

class DispatchDesk {
 public:
  // The dispatch list, opened on first use.
  svc::w_svc301& list() {
    if (auto* w = dynamic_cast<svc::w_svc301*>(shop.windows->find("w_svc301"))) return *w;
    auto* w = dynamic_cast<svc::w_svc301*>(shop.windows->open("w_svc301"));
    EXPECT_NE(w, nullptr) << shop.windows->last_error();
    return *w;
  }
  // The open repair-item window, or null.
  fw::w_svc300_03* items() { return dynamic_cast<fw::w_svc300_03*>(shop.windows->find("w_svc300_03")); }

  // The row of a work order in the list as filtered; 0 when not shown.
  long row_of(const std::string& bh) {
    svc::w_svc301& w = list();
    for (long r = 1; r <= w.dw_1->rowcount(); ++r)
      if (w.dw_1->getitemstring(r, "cwtsbh") == bh) return r;
    return 0;
  }

  // An event as the workstation sends it to window `w`.
  ui::DispatchResult send(const ui::Window& w, ui::EventRequest event) {
    event.window = w.id();
    return ui::dispatch_event(*shop.windows, event);
  }
  // Double-clicks the work order's row in the list (un-checking 在修 first
  // when it is not in repair); the repair-item window, or null.
  fw::w_svc300_03* dispatch(const std::string& bh) {
    if (row_of(bh) == 0 && list().cbx_1.checked) send(list(), {.control = "cbx_1", .event = "clicked", .checked = false});
    const long row = row_of(bh);
    EXPECT_GT(row, 0) << bh << " is not listed";
    if (row < 1) return nullptr;
    send(list(), {.control = "dw_1", .event = "doubleclicked", .row = row, .column = "cwtsbh"});
    return items();
  }

  // The row of an item in the repair-item window; 0 when not listed.
  long item_row(const std::string& code) {
    fw::w_svc300_03* w = items();
    if (!w) return 0;
    for (long r = 1; r <= w->dw_1->rowcount(); ++r)
      if (w->dw_1->getitemstring(r, "cwxxmdm") == code) return r;
    return 0;
  }
  // Makes the item current and presses `button` (cb_1 team, cb_2 mechanic)
  // twice: once to read the list the window offers, then choosing the row
  // whose first column is `code`. The button's result, or -2 when the code
  // is not offered.
  long choose(const std::string& item, const std::string& button, const std::string& code) {
    fw::w_svc300_03* w = items();
    if (!w) return -2;
    w->dw_1->setrow(item_row(item));
    const size_t lists = shop.ui.selection_lists.size();
    send(*w, {.control = button, .event = "clicked"});
    if (shop.ui.selection_lists.size() == lists) return -2;
    long chosen = 0;
    const auto& rows = shop.ui.selection_lists.back().rows;
    for (size_t i = 0; i < rows.size(); ++i)
      if (!rows[i].empty() && rows[i][0] == code) chosen = static_cast<long>(i) + 1;
    if (chosen == 0) return -2;
    shop.ui.selections.push_back(chosen);
    return send(*w, {.control = button, .event = "clicked"}).result;
  }
  // The codes a selection list offered (its first column).
  static std::vector<std::string> offered(const ui::SelectionList& list) {
    std::vector<std::string> out;
    for (const auto& r : list.rows) out.push_back(r.empty() ? "" : r[0]);
    return out;
  }

  // The committed team and mechanic of an item, "team/mechanic".
  std::string assignment(const std::string& bh, const std::string& item) {
    const std::string where = " from svcb20d where cwtsbh = '" + bh + "' and cwxxmdm = '" + item + "' and cgsh = '01'";
    return shop.committed("select cbzdm into :v" + where) + "/" + shop.committed("select czxrdm into :v" + where);
  }

  DemoShop shop;
};

}  // namespace kq::testing
