// The edge cases of the list and form definitions, each against rows written
// for it: which work orders the lists offer, totals over exactly the rows
// listed, joined names of missing master rows, the inspection sheet's agreed
// delivery date and the contract's material line.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "fresh_shop.h"

namespace kq::dw {
namespace {

class DefinitionsLists : public kq::testing::FreshShop {
 protected:
  static std::vector<std::string> numbers(const Presentation& p) {
    auto out = column_texts(p, "cwtsbh");
    std::sort(out.begin(), out.end());
    return out;
  }
  using Numbers = std::vector<std::string>;
};

TEST_F(DefinitionsLists, CancellationListOffersOnlyCancellableSettlementsOfTheRange) {
  order("B010000000001", {{"nhjje", "300"}, {"nhykbcxfje", "120"}});  // cancellable
  order("B010000000002", {{"cwxzt", "'2'"}});                          // credit: cancellable too
  order("B010000000003", {{"npljsxh", "7"}});                          // batch settlement
  order("B010000000004", {{"npzid", "12"}});                           // voucher made
  order("B010000000005", {{"lcwskwb", "1"}});                          // finance completed the receipt
  order("B010000000006", {{"nljsk", "50"}});                           // later receipts
  order("B010000000007", {{"cwxzt", "'0'"}});                          // not settled
  order("B010000000008", {{"djsrq", "'2026-11-30 15:00:00'"}});        // before the range
  order("B010000000009", {{"djsrq", "'2026-12-09 08:00:00'"}});        // after the range
  order("B010000000010", {{"djsrq", "'2026-12-01 00:00:00'"}});        // first day of the range
  auto w = retrieve("d_svc305_01", {"2026/12/08", "2026/12/01"});
  EXPECT_EQ(numbers(*w), (Numbers{"B010000000001", "B010000000002", "B010000000010"}));
  ASSERT_GE(w->rowcount(), 1);
  for (long r = 1; r <= w->rowcount(); ++r) {
    if (text(*w, "cwtsbh", r) != "B010000000001") continue;
    EXPECT_EQ(text(*w, "nxjsk", r), "180.00");  // total less the card payment
    EXPECT_EQ(text(*w, "cwxzt", r), "结清");
    EXPECT_EQ(text(*w, "djsrq", r), "2026/12/08");
  }
}

TEST_F(DefinitionsLists, CancellationFormTakesSettledOrdersOfTheDayWithoutBatchOrVoucher) {
  order("B010000000001");
  order("B010000000002", {{"cwxzt", "'2'"}});
  order("B010000000003", {{"npljsxh", "7"}});
  order("B010000000004", {{"npzid", "12"}});
  order("B010000000005", {{"djsrq", "'2026-12-07 10:00:00'"}});
  auto w = retrieve("d_svc305_01_01", {"2026/12/08"});
  EXPECT_EQ(numbers(*w), (Numbers{"B010000000001"}));
  ASSERT_EQ(w->rowcount(), 1);
  EXPECT_EQ(text(*w, "cwxzt"), "结清");
  EXPECT_EQ(text(*w, "ckhmc"), "王先生");
}

TEST_F(DefinitionsLists, PrintListsExcludeUnsettledOrdersAndTheAbsentDate) {
  order("B010000000001", {{"nhjje", "100.5"}, {"nhjyh", "1"}, {"nysgsf", "40"}, {"nssclf", "60.5"}});
  order("B010000000002", {{"cwxzt", "'2'"}, {"nhjje", "200"}, {"nhjyh", "2"}, {"nysgsf", "80"}, {"nssclf", "120"}});
  order("B010000000003", {{"cwxzt", "'0'"}, {"nhjje", "1000"}});                         // under repair
  order("B010000000004", {{"djsrq", "'1900-01-01 00:00:00'"}, {"nhjje", "1000"}});     // absent date
  insert("svcb22c", {{"cwtsbh", "'B010000000001'"}, {"clb", "'0'"}});
  insert("svcb22c", {{"cwtsbh", "'B010000000002'"}, {"clb", "'1'"}});
  auto w = retrieve("d_svc309_01");
  EXPECT_EQ(numbers(*w), (Numbers{"B010000000001", "B010000000002"}));
  EXPECT_EQ(text(*w, "compute_2"), "300.50");  // 合计金额 over the listed rows only
  EXPECT_EQ(text(*w, "compute_3"), "3.00");
  EXPECT_EQ(text(*w, "compute_4"), "120.00");
  EXPECT_EQ(text(*w, "compute_7"), "180.50");
  for (long r = 1; r <= w->rowcount(); ++r)
    EXPECT_EQ(text(*w, "bs", r), text(*w, "cwtsbh", r) == "B010000000001" ? "*" : "") << r;
  EXPECT_EQ(text(*w, "compute_1"), "记录数:1/2");
}

TEST_F(DefinitionsLists, PrintListOfARangeReadsHistoryWithinTheRange) {
  order("B010000000001");                                                          // current, in range
  order("B010000000002", {{"djsrq", "'2026-10-01 10:00:00'"}}, "svcb20c_h");       // history, in range
  order("B010000000003", {{"djsrq", "'2026-08-31 10:00:00'"}}, "svcb20c_h");       // history, before it
  order("B010000000004", {{"cwxzt", "'0'"}, {"djsrq", "'1900-01-01 00:00:00'"}}, "svcb20c_h");
  insert("svcb22c_h", {{"cwtsbh", "'B010000000002'"}, {"clb", "'0'"}});
  auto w = retrieve("d_svc309_02", {"2026/09/01", "2026/12/08"});
  EXPECT_EQ(numbers(*w), (Numbers{"B010000000001", "B010000000002"}));
  for (long r = 1; r <= w->rowcount(); ++r)
    EXPECT_EQ(text(*w, "bs", r), text(*w, "cwtsbh", r) == "B010000000002" ? "*" : "") << r;
  EXPECT_EQ(retrieve("d_svc309_01")->rowcount(), 1);  // the current list has no history
}

TEST_F(DefinitionsLists, DispatchListNeverOffersPriorArrears) {
  order("B010000000001", {{"cwxzt", "'0'"}, {"djsrq", "'1900-01-01 00:00:00'"}});
  order("B010000000002", {{"cwxzt", "'0'"}, {"lqqbs", "1"}});
  order("B010000000003", {{"cwxzt", "'2'"}, {"lqqbs", "1"}});
  order("B010000000004", {{"cwxzt", "'2'"}, {"lshbs", "1"}});
  auto w = retrieve("d_svc301_01");
  EXPECT_EQ(numbers(*w), (Numbers{"B010000000001", "B010000000004"}));
  for (long r = 1; r <= w->rowcount(); ++r) {
    const bool first = text(*w, "cwtsbh", r) == "B010000000001";
    EXPECT_EQ(text(*w, "cwxzt", r), first ? "在修" : "欠账");
    EXPECT_EQ(w->checked(object(*w, "lshbs"), r), !first);
  }
}

TEST_F(DefinitionsLists, ReworkListsShowEmptyNamesForMissingMasterRows) {
  insert("sysc02", {{"cbmdm", "'T1'"}, {"cbmmc", "'机修一班'"}});
  insert("sysc03", {{"cgrdm", "'101'"}, {"cgrmc", "'赵师傅'"}});
  insert("wtcc01", {{"cwxgwdm", "'01'"}, {"cwxgwmc", "'一号工位'"}});
  insert("wtcc05", {{"cgskzqdm", "'K1'"}, {"cgskzqmc", "'一号控制器'"}});
  const kq::testing::FreshShop::Fields known = {{"cwtsbh", "'B010000000001'"}, {"cwxxmdm", "'I1'"},
                                                 {"cxmmc", "'换机油'"},         {"cbzdm", "'T1'"},
                                                 {"czxrdm", "'101'"},           {"ccxdm", "'M1'"},
                                                 {"cgwdm", "'01'"},             {"cwxgwdm", "'K1'"},
                                                 {"nkk", "10"}};
  const kq::testing::FreshShop::Fields unknown = {{"cwtsbh", "'B010000000002'"}, {"cwxxmdm", "'I2'"},
                                                   {"cxmmc", "'换刹车片'"},       {"cbzdm", "'T9'"},
                                                   {"czxrdm", "'999'"},           {"ccxdm", "'M9'"},
                                                   {"cgwdm", "'99'"},             {"cwxgwdm", "'K9'"},
                                                   {"nkk", "5.5"}};
  insert("svcb50", known);
  insert("svcb50", unknown);
  auto old = known;
  old["cwtsbh"] = "'B010000000003'";
  insert("svcb50_h", old);

  struct Case {
    std::string name;
    std::vector<std::string> names;
    long rows;
    std::string total;
  };
  for (const Case& c : std::vector<Case>{
           {"d_svc304_01", {"cbmmc", "cgrmc", "ccxmc"}, 2, "15.50"},
           {"d_svc304_01_gsgl", {"cbmmc", "cgrmc", "ccxmc", "cwxgwmc", "cgskzqmc"}, 2, "15.50"},
           {"d_svc304_02", {"cbmmc", "cgrmc", "ccxmc"}, 3, "25.50"},
           {"d_svc304_02_gsgl", {"cbmmc", "cgrmc", "ccxmc", "cwxgwmc", "cgskzqmc"}, 3, "25.50"}}) {
    SCOPED_TRACE(c.name);
    auto w = retrieve(c.name);
    ASSERT_EQ(w->rowcount(), c.rows);
    EXPECT_EQ(text(*w, "compute_2"), c.total);  // 扣款 total
    for (long r = 1; r <= w->rowcount(); ++r) {
      const bool missing = text(*w, "cwtsbh", r) == "B010000000002";
      for (const std::string& n : c.names) EXPECT_EQ(text(*w, n, r).empty(), missing) << n << " row " << r;
    }
    for (long r = 1; r <= w->rowcount(); ++r) {
      if (text(*w, "cwtsbh", r) != "B010000000001") continue;
      EXPECT_EQ(text(*w, "cbmmc", r), "机修一班");
      EXPECT_EQ(text(*w, "ccxmc", r), "帕萨特");
    }
  }
}

TEST_F(DefinitionsLists, ReworkFormFindsOneRecordAndProtectsAStartedController) {
  insert("svcb50", {{"cwtsbh", "'B010000000001'"}, {"cwxxmdm", "'I1'"}, {"cxmmc", "'换机油'"}, {"lksbs", "0"}});
  insert("svcb50", {{"cwtsbh", "'B010000000001'"}, {"cwxxmdm", "'I2'"}, {"cxmmc", "'换刹车片'"}, {"lksbs", "1"}});
  insert("svcb50_h", {{"cwtsbh", "'B010000000009'"}, {"cwxxmdm", "'I1'"}, {"cxmmc", "'换机油'"}});
  auto idle = retrieve("d_svc304_01_01_gsgl", {"B010000000001", "I1", "换机油"});
  auto started = retrieve("d_svc304_01_01_gsgl", {"B010000000001", "I2", "换刹车片"});
  ASSERT_EQ(idle->rowcount(), 1);
  ASSERT_EQ(started->rowcount(), 1);
  EXPECT_FALSE(idle->is_protected(object(*idle, "cwxgwdm"), 1));
  EXPECT_TRUE(started->is_protected(object(*started, "cwxgwdm"), 1));
  EXPECT_TRUE(started->checked(object(*started, "lksbs"), 1));
  // The name must match as well.
  EXPECT_EQ(retrieve("d_svc304_01_01", {"B010000000001", "I1", "换刹车片"})->rowcount(), 0);
  // History records only through the _02 forms.
  EXPECT_EQ(retrieve("d_svc304_01_01", {"B010000000009", "I1", "换机油"})->rowcount(), 0);
  EXPECT_EQ(retrieve("d_svc304_01_02", {"B010000000009", "I1", "换机油"})->rowcount(), 1);
  EXPECT_EQ(retrieve("d_svc304_01_02_gsgl", {"B010000000009", "I1", "换机油"})->rowcount(), 1);
}

TEST_F(DefinitionsLists, ReworkListSavesChangesToTheReworkTable) {
  insert("sysc02", {{"cbmdm", "'T1'"}, {"cbmmc", "'机修一班'"}});
  insert("svcb50", {{"cwtsbh", "'B010000000001'"}, {"cwxxmdm", "'I1'"}, {"cxmmc", "'换机油'"}, {"cbzdm", "'T1'"},
                    {"nkk", "10"}});
  auto w = retrieve("d_svc304_01_01", {"B010000000001", "I1", "换机油"});
  ASSERT_EQ(w->rowcount(), 1);
  ASSERT_EQ(w->setitem(1, "nkk", Value(Decimal::parse("12.5").value())), 1);
  ASSERT_EQ(w->update(), 1) << w->last_error();
  shop_.session->sqlca.commit();
  auto again = retrieve("d_svc304_01", {});
  ASSERT_EQ(again->rowcount(), 1);
  EXPECT_EQ(text(*again, "nkk"), "12.50");
  EXPECT_EQ(text(*again, "cbmmc"), "机修一班");
}

// The all-records list names the view as its update table: a change to a
// history record reaches svcb50_h.
TEST_F(DefinitionsLists, AllRecordsListSavesHistoryRecordsThroughTheView) {
  insert("svcb50", {{"cwtsbh", "'B010000000001'"}, {"cwxxmdm", "'I1'"}, {"cxmmc", "'换机油'"}, {"nkk", "10"}});
  insert("svcb50_h", {{"cwtsbh", "'B010000000009'"}, {"cwxxmdm", "'I1'"}, {"cxmmc", "'换机油'"}, {"nkk", "20"}});
  auto w = retrieve("d_svc304_02");
  ASSERT_EQ(w->rowcount(), 2);
  long old_row = text(*w, "cwtsbh", 1) == "B010000000009" ? 1 : 2;
  ASSERT_EQ(w->setitem(old_row, "nkk", Value(Decimal::parse("7").value())), 1);
  ASSERT_EQ(w->update(), 1) << w->last_error();
  shop_.session->sqlca.commit();
  Dec stored;
  shop_.session->sqlca.exec("select nkk into :v from svcb50_h where cwtsbh = 'B010000000009'", {{"v", db::out(stored)}});
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->to_string(), "7");
}

// The rework list deletes through the same view.
TEST_F(DefinitionsLists, AllRecordsListDeletesHistoryRecordsThroughTheView) {
  insert("svcb50", {{"cwtsbh", "'B010000000001'"}, {"cwxxmdm", "'I1'"}, {"cxmmc", "'换机油'"}, {"nkk", "10"}});
  insert("svcb50_h", {{"cwtsbh", "'B010000000009'"}, {"cwxxmdm", "'I1'"}, {"cxmmc", "'换机油'"}, {"nkk", "20"}});
  auto w = retrieve("d_svc304_02");
  ASSERT_EQ(w->rowcount(), 2);
  const long old_row = text(*w, "cwtsbh", 1) == "B010000000009" ? 1 : 2;
  ASSERT_EQ(w->deleterow(old_row), 1);
  ASSERT_EQ(w->update(), 1) << w->last_error();
  shop_.session->sqlca.commit();
  EXPECT_EQ(retrieve("d_svc304_02")->rowcount(), 1);
  EXPECT_EQ(retrieve("d_svc304_01")->rowcount(), 1);
}

TEST_F(DefinitionsLists, InspectionSheetHidesAnAgreedDeliveryNotAfterArrival) {
  struct Case {
    std::string bh, arrival, delivery;
    bool shown;
  };
  const std::vector<Case> cases = {{"B010000000001", "2026-12-07 09:00:00", "2026-12-07 18:00:00", true},
                                   {"B010000000002", "2026-12-07 09:00:00", "2026-12-07 09:00:00", false},
                                   {"B010000000003", "2026-12-07 09:00:00", "2026-12-06 18:00:00", false},
                                   {"B010000000004", "2026-12-07 09:00:00", "1900-01-01 00:00:00", false}};
  for (const Case& c : cases) {
    order(c.bh, {{"dsxrq", "'" + c.arrival + "'"}, {"dydjc", "'" + c.delivery + "'"}});
    order(c.bh, {{"dsxrq", "'" + c.arrival + "'"}, {"dydjc", "'" + c.delivery + "'"}}, "svcb20c_h");
  }
  for (const std::string sheet : {"d_svc310_04", "d_svc310_05"}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(sheet + " " + c.bh);
      auto w = retrieve(sheet, {c.bh});
      ASSERT_GE(w->rowcount(), 1);
      EXPECT_EQ(shown(*w, "dydjc"), c.shown);
      EXPECT_TRUE(shown(*w, "dydjc_t"));
    }
  }
  auto w = retrieve("d_svc310_04", {"B010000000001"});
  EXPECT_EQ(text(*w, "dydjc"), "2026/12/07 18:00:00");
  EXPECT_EQ(text(*w, "v_svc300_01_ccxmc"), "帕萨特");
}

TEST_F(DefinitionsLists, InspectionItemsShowEmptyTeamWithoutMasterRow) {
  insert("sysc02", {{"cbmdm", "'T1'"}, {"cbmmc", "'机修一班'"}});
  order("B010000000001");
  item("B010000000001", "I1", "0", "100", "0", {{"cbzdm", "'T1'"}});
  item("B010000000001", "I2", "0", "100", "0", {{"cbzdm", "'T9'"}});
  auto w = retrieve("d_svc310_04", {"B010000000001"});
  ASSERT_EQ(w->rowcount(), 1);
  const Presentation* items = nested(*w, "dw_1");
  ASSERT_NE(items, nullptr);
  ASSERT_EQ(items->row_count(), 2);
  std::map<std::string, std::string> team;
  for (long r = 1; r <= items->row_count(); ++r) team[text(*items, "cwxxmdm", r)] = text(*items, "dxl008_cbzmc", r);
  EXPECT_EQ(team["I1"], "机修一班");
  EXPECT_EQ(team["I2"], "");
  EXPECT_EQ(text(*items, "ngs", 1), "1.50");
}

TEST_F(DefinitionsLists, ContractPrintsTheMaterialModeAndItsItems) {
  const std::vector<std::pair<std::string, std::string>> modes = {
      {"0", "不包"}, {"1", "包工料"}, {"2", "包工"}, {"3", ""}};
  int n = 0;
  for (const auto& [mode, shown_text] : modes) {
    const std::string bh = "B01000000000" + std::to_string(++n);
    order(bh, {{"cbgfs", "'" + mode + "'"}, {"chth", "'HT0001'"}});
    item(bh, "I1", "0", "100");
    for (const std::string contract : {"d_svc310_03", "d_svc310_03_now"}) {
      SCOPED_TRACE(contract + " cbgfs=" + mode);
      auto w = retrieve(contract, {bh});
      ASSERT_EQ(w->rowcount(), 1);
      EXPECT_EQ(text(*w, "compute_1"), shown_text);
      EXPECT_FALSE(text(*w, "compute_2").empty());  // the guarantee clause of the host
      EXPECT_EQ(text(*w, "v_svc300_01_chth"), "HT0001");
      EXPECT_EQ(text(*w, "v_svc300_01_ckhmc"), "王先生");
      const Presentation* items = nested(*w, "dw_1");
      ASSERT_NE(items, nullptr);
      EXPECT_EQ(column_texts(*items, "cwxxmdm"), std::vector<std::string>{"I1"});
    }
  }
}

TEST_F(DefinitionsLists, WorkOrderListsMarkPriorArrearsAndTakeArrivalRange) {
  order("B010000000001", {{"lqqbs", "1"}, {"dsxrq", "'2026-12-01 09:00:00'"}});
  order("B010000000002", {{"cwxzt", "'0'"}, {"dsxrq", "'2026-11-01 09:00:00'"}});
  order("B010000000003", {{"dsxrq", "'2026-10-01 09:00:00'"}}, "svcb20c_h");
  auto current = retrieve("d_svc310_01");
  EXPECT_EQ(numbers(*current), (Numbers{"B010000000001", "B010000000002"}));
  for (long r = 1; r <= current->rowcount(); ++r) {
    const bool arrears = text(*current, "cwtsbh", r) == "B010000000001";
    EXPECT_EQ(text(*current, "lqqbs", r), arrears ? "前欠" : "");
    EXPECT_EQ(text(*current, "cwxzt", r), arrears ? "结清" : "未结");
  }
  auto range = retrieve("d_svc310_02", {"2026/10/01", "2026/11/30"});
  EXPECT_EQ(numbers(*range), (Numbers{"B010000000002", "B010000000003"}));
}

TEST_F(DefinitionsLists, ExitPassFollowsCurrentOrHistory) {
  order("B010000000001", {{"cwxzt", "'2'"}});
  order("B010000000002", {}, "svcb20c_h");
  auto current = retrieve("d_svc303_01_04", {"B010000000001"});
  ASSERT_EQ(current->rowcount(), 1);
  EXPECT_EQ(text(*current, "cpzh"), "京A12345");
  EXPECT_EQ(text(*current, "ccxmc"), "帕萨特");
  EXPECT_EQ(text(*current, "cwxzt"), "欠账");
  EXPECT_EQ(retrieve("d_svc303_01_04", {"B010000000002"})->rowcount(), 0);
  EXPECT_EQ(retrieve("d_svc303_01_04_h", {"B010000000002"})->rowcount(), 1);
}

}  // namespace
}  // namespace kq::dw
