#pragma once
// A cashier's desk for cancellation tests: the demo shop (company 01,
// business date 2026/12/08) with the list w_svc305 open, from which the
// cancellation window w_svc305_01 is opened for a work order the way a
// double-click opens it.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "framework/demo_fixture.h"
#include "platform/ui/event_dispatch.h"
#include "settlement/w_svc305.h"
#include "settlement/w_svc305_01.h"

namespace kq::svc::testing {

using kq::testing::DemoShop;

class CancellationDesk {
 public:
  explicit CancellationDesk(std::vector<std::string> authorities = {"CJ", "CP", "CQ"}, bool finance = true,
                            std::string backend = "sqlite")
      : shop(std::move(authorities), std::move(backend)) {
    shop.session->g.gi_cwaz = finance ? 1 : 0;
    shop.session->g.gs_startfile = shop.dir().string();
  }
  // A desk on the copy of the demo shop in `folder`, which outlives it.
  struct OnCopy {
    explicit OnCopy() = default;
  };
  CancellationDesk(OnCopy, const std::filesystem::path& folder) : shop(folder, {"CJ", "CP", "CQ"}) {
    shop.session->g.gi_cwaz = 1;
    shop.session->g.gs_startfile = shop.dir().string();
  }

  w_svc305& list() {
    if (auto* w = dynamic_cast<w_svc305*>(shop.windows->find("w_svc305"))) return *w;
    auto* w = dynamic_cast<w_svc305*>(shop.windows->open("w_svc305"));
    EXPECT_NE(w, nullptr) << shop.windows->last_error();
    return *w;
  }

  // The list's row of work order `bh`; 0 when it is not listed.
  long row_of(const std::string& bh) {
    w_svc305& w = list();
    for (long r = 1; r <= w.dw_display->rowcount(); ++r)
      if (w.dw_display->getitemstring(r, "cwtsbh") == bh) return r;
    return 0;
  }
  bool listed(const std::string& bh) { return row_of(bh) > 0; }

  // Double-clicks the work order in the list; the cancellation window, or null.
  w_svc305_01* open(const std::string& bh) {
    w_svc305& w = list();
    const long row = row_of(bh);
    EXPECT_GT(row, 0) << bh << " is not listed";
    if (row < 1) return nullptr;
    ui::dispatch_event(*shop.windows,
                       {.window = w.id(), .control = "dw_display", .event = "doubleclicked", .row = row, .column = "cwtsbh"});
    auto* edit = dynamic_cast<w_svc305_01*>(shop.windows->find("w_svc305_01"));
    EXPECT_NE(edit, nullptr) << "w_svc305_01 did not open for " << bh;
    return edit;
  }

  // What a cashier enters: the new status, the reason and the card number
  // read (as wf_hyk_read leaves it in sle_1).
  static void enter(w_svc305_01& w, const std::string& status, const std::string& reason, const std::string& card) {
    w.dw_edit->setitem(w.dw_edit->getrow(), "cwxzt", status);
    w.mle_1.text = reason;
    w.sle_1.text = card;
  }

  // Saves (ue_cus(1)) answering 是 to the question of what will change. The
  // window closes itself after a committed cancellation: `w` is gone then.
  long save(w_svc305_01& w) {
    shop.ui.answers.push_back(1);
    const long result = w.ue_cus(1);
    shop.ui.answers.clear();
    return result;
  }

  // Opens, enters and saves; the result of the save, -1 when the window did
  // not open.
  long cancel(const std::string& bh, const std::string& status = "0", const std::string& reason = "客户要求重新结算",
              const std::string& card = "") {
    w_svc305_01* w = open(bh);
    if (!w) return -1;
    enter(*w, status, reason, card);
    return save(*w);
  }

  // The messages told at this desk, and the questions asked (是/否).
  std::vector<std::string> told() const { return told_by(shop.ui); }
  std::vector<std::string> asked() const { return asked_by(shop.ui); }
  static std::vector<std::string> told_by(const ui::ScriptedUi& ui) { return texts(ui, false); }
  static std::vector<std::string> asked_by(const ui::ScriptedUi& ui) { return texts(ui, true); }

  // A number or text of the committed data ("<none>" when no row).
  std::string text(const std::string& sql) { return shop.committed(sql); }
  Decimal number(const std::string& sql) {
    auto d = Decimal::parse(shop.committed(sql));
    EXPECT_TRUE(d.has_value()) << sql << " gave " << shop.committed(sql);
    return d.value_or(Decimal(-999999));
  }

  DemoShop shop;

 private:
  static std::vector<std::string> texts(const ui::ScriptedUi& ui, bool questions) {
    std::vector<std::string> out;
    for (const auto& m : ui.shown)
      if ((m.buttons == ui::Buttons::YesNo) == questions) out.push_back(m.text);
    return out;
  }
};

}  // namespace kq::svc::testing
