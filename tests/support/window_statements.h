#pragma once
// The embedded statements the module runs, as it runs them: the windows, the
// global functions and the user objects are driven on copies of the demo shop
// with the statement log of the session's transactions on, and every distinct
// statement text is kept (in the order it first ran) with the host variables
// it was given. Recorded once per test program, on first use.
//
// The runs: the global functions; the cancellation of every settlement the
// list shows, one of them with a commit that fails; the IC card write-back of
// a card settlement; a dispatch; rework records entered, saved and deleted.
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "dispatch/dispatch_desk.h"
#include "framework/demo_fixture.h"
#include "functions/f_svc_getid.h"
#include "functions/f_svc_gsgsf.h"
#include "platform/card/simulator.h"
#include "platform/db/statement_log.h"
#include "platform/value/text.h"
#include "rework/rework_desk.h"
#include "settlement/cancellation_desk.h"

namespace kq::testing {

struct RecordedStatement {
  std::string sql;
  db::LoggedStatement::Way way = db::LoggedStatement::Way::Exec;
  std::set<std::string> inputs;   // host variables given as values, lower case, over every run
  std::set<std::string> outputs;  // given as out()
};

namespace recording {

// The statements of `log`, merged into `out` by text.
inline void keep(const db::StatementLog& log, std::vector<RecordedStatement>& out) {
  for (const db::LoggedStatement& s : log.statements()) {
    RecordedStatement* r = nullptr;
    for (auto& o : out)
      if (o.sql == s.sql) r = &o;
    if (!r) r = &out.emplace_back(RecordedStatement{s.sql, s.way, {}, {}});
    for (const auto& v : s.inputs) r->inputs.insert(text::lower(v));
    for (const auto& v : s.outputs) r->outputs.insert(text::lower(v));
  }
}

// Logs what the shop's session runs while alive.
class Watch {
 public:
  Watch(DemoShop& shop, std::vector<RecordedStatement>& out) : shop_(shop), out_(out) {
    shop_.session->sqlca.set_statement_log(&log_);
    shop_.session->sqlls.set_statement_log(&log_);
  }
  ~Watch() {
    shop_.session->sqlca.set_statement_log(nullptr);
    shop_.session->sqlls.set_statement_log(nullptr);
    keep(log_, out_);
  }

 private:
  DemoShop& shop_;
  std::vector<RecordedStatement>& out_;
  db::StatementLog log_;
};

inline void functions(std::vector<RecordedStatement>& out) {
  DemoShop shop;
  Watch watch(shop, out);
  f_svc_getid(Str("NO-SUCH-CHASSIS"), Str());
  f_svc_getid(Str(), Str("NO-SUCH-PLATE"));
  f_svc_gsgsf(Str("NO-SUCH"), Dec(Decimal(1)));
}

// Every listed settlement cancelled to "未结", the card of a card settlement
// entered (the demo's settlements cover each kind of work order number, free
// and charged, card and cash); the first card settlement's commit fails.
inline void cancellations(std::vector<RecordedStatement>& out) {
  svc::testing::CancellationDesk desk;
  Watch watch(desk.shop, out);
  std::vector<std::string> orders;
  svc::w_svc305& list = desk.list();
  for (long r = 1; r <= list.dw_display->rowcount(); ++r)
    orders.push_back(list.dw_display->getitemstring(r, "cwtsbh").value_or(""));
  ASSERT_FALSE(orders.empty());
  bool commit_failed = false;
  for (const std::string& bh : orders) {
    if (!desk.listed(bh)) continue;
    svc::w_svc305_01* w = desk.open(bh);
    if (!w) continue;
    const std::string card = w->dw_edit->getitemstring(w->dw_edit->getrow(), "chykh").value_or("");
    svc::testing::CancellationDesk::enter(*w, "0", "客户要求重新结算", text::trim(card));
    if (!commit_failed && !card.empty()) {
      desk.shop.session->sqlca.faults().fail_matching("commit", "injected failure");
      commit_failed = true;
    }
    desk.shop.ui.answers = {1};  // the cashier confirms
    w->ue_cus(1);
    desk.shop.session->sqlca.faults().clear();
    desk.shop.windows->close(*w);
  }
}

// The IC card write-back of the card settlement 1010000000006, the reader
// simulated.
inline void card_write_back(std::vector<RecordedStatement>& out) {
  svc::testing::CancellationDesk desk({"CJ", "CP"});
  db::Transaction& sqlca = desk.shop.session->sqlca;
  for (auto [key, value] : {std::pair{"LVIPAZ", "1"}, std::pair{"LCLUAZ", "0"}})
    sqlca.exec("update sysi90 set ccsz = :v where cssxt = 'sys' and ccsdm = :k and cgsh = '01'",
               {{"v", value}, {"k", key}});
  sqlca.commit();
  card::Card c;  // the card that paid the settlement, as it was written then
  c.present = true;
  c.number = "8801000001";
  c.valid = "1";
  c.password = "880101";
  c.points = "1350";
  c.scoring_code = "01";
  c.service = {"3", "2860.00", "450.00", "420", "1010000000006", "2026/12/08", "1200.00", "200.00", "150", "0", "", ""};
  auto sim = card::Simulator::start(c);
  ASSERT_TRUE(sim) << sim.error();
  std::ofstream(desk.shop.dir() / "pb.ini") << "[database]\nickcom=" << (*sim)->path() << "\n[ports]\nCOM1="
                                            << (*sim)->path() << "\n";
  Watch watch(desk.shop, out);
  svc::w_svc305_01* w = desk.open("1010000000006");
  ASSERT_NE(w, nullptr);
  w->dw_edit->setitem(w->dw_edit->getrow(), "cwxzt", Value("0"));
  EXPECT_EQ(w->wf_hyk_read(), 1) << ::testing::PrintToString(desk.shop.ui.texts());
  svc::CancellationRequest request;  // as validation hands it over
  request.is_wtsbh = "1010000000006";
  EXPECT_EQ(w->wf_card_exe(1, request), 1) << ::testing::PrintToString(desk.shop.ui.texts());
  desk.shop.windows->close(*w);
}

// The dispatch of the first work order listed: its repair items, a team and
// a mechanic chosen from the lists offered.
inline void dispatch(std::vector<RecordedStatement>& out) {
  DispatchDesk desk;
  Watch watch(desk.shop, out);
  svc::w_svc301& list = desk.list();
  ASSERT_GT(list.dw_1->rowcount(), 0);
  const std::string bh = list.dw_1->getitemstring(1, "cwtsbh").value_or("");
  fw::w_svc300_03* items = desk.dispatch(bh);
  ASSERT_NE(items, nullptr) << bh;
  ASSERT_GT(items->dw_1->rowcount(), 0) << bh;
  const std::string item = items->dw_1->getitemstring(1, "cwxxmdm").value_or("");
  for (const char* button : {"cb_1", "cb_2"}) {
    const size_t lists = desk.shop.ui.selection_lists.size();
    desk.send(*items, {.control = button, .event = "clicked"});
    if (desk.shop.ui.selection_lists.size() == lists) continue;
    const auto& rows = desk.shop.ui.selection_lists.back().rows;
    const std::string first = rows.empty() || rows[0].empty() ? "" : rows[0][0];
    if (!first.empty()) desk.choose(item, button, first);
  }
}

// In both modes (company 01 without and 02 with labour-hour terminals): a
// new rework record chosen from every selection list and saved, an existing
// one saved again and deleted; the list's delete of a history record.
inline void rework(std::vector<RecordedStatement>& out) {
  for (const char* company : {"01", "02"}) {
    svc::testing::ReworkDesk desk(company);
    Watch watch(desk.shop, out);
    svc::w_svc304_01* w = desk.add();
    ASSERT_NE(w, nullptr) << company;
    for (auto [column, choice] : {std::pair{"cwtsbh", "2020000000003"}, {"cwxxmdm", "BY001"}, {"cbzdm", "B01"},
                                  {"czxrdm", ""}, {"cgwdm", "01"}})
      desk.pick(*w, column, choice);
    w->ue_cus(1);
    desk.shop.windows->close(*w);
    if ((w = desk.open_record("1020000000001", "KT001"))) {
      desk.set(*w, "nkk", Value(Decimal(10)));
      w->ue_cus(1);
      desk.shop.ui.answers = {1};
      w->ue_do_delete();
      desk.shop.windows->close(*w);
    }
    if (svc::w_svc304* list = desk.list(); list && list->is_open()) {
      for (long r = 1; r <= list->dw_display->rowcount(); ++r)
        if (list->dw_display->getitemstring(r, "cwtsbh") == "1010000000041") list->dw_display->setrow(r);
      desk.shop.ui.answers = {1};
      list->ue_do_delete();
    }
  }
}

}  // namespace recording

// The distinct statements of all the runs above.
inline const std::vector<RecordedStatement>& window_statements() {
  static const std::vector<RecordedStatement> all = [] {
    std::vector<RecordedStatement> out;
    recording::functions(out);
    recording::cancellations(out);
    recording::dispatch(out);
    recording::rework(out);
    recording::card_write_back(out);
    return out;
  }();
  return all;
}

}  // namespace kq::testing
