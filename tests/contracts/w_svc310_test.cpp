// The contract window w_svc310 on the demo shop: its two lists, numbering
// and previews of contracts and inspection sheets, and the details.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "contract_desk.h"
#include "contracts/document_number.h"
#include "framework/w_svc302_03.h"

namespace kq::svc {
namespace {

using testing::ContractDesk;

// A current work order without contract or inspection-sheet number, one
// with both, and a history one, as the demo shop has them.
std::string unnumbered(ContractDesk& d) {
  return d.shop.committed(
      "select top 1 cwtsbh into :v from svcb20c where cgsh = '01' and isnull(chth, '') = '' and isnull(cjydh, '') = '' "
      "and exists (select 1 from svcb20d where svcb20d.cwtsbh = svcb20c.cwtsbh) order by cwtsbh");
}
std::string numbered(ContractDesk& d) {
  return d.shop.committed("select top 1 cwtsbh into :v from svcb20c where cgsh = '01' and chth <> '' and cjydh <> ''");
}
std::string history(ContractDesk& d) {
  return d.shop.committed(
      "select top 1 cwtsbh into :v from svcb20c_h where cgsh = '01' and isnull(chth, '') = '' and isnull(cjydh, '') = '' "
      "and exists (select 1 from svcb20d_h where svcb20d_h.cwtsbh = svcb20c_h.cwtsbh) order by cwtsbh");
}

TEST(ContractNumber, PrefixIsCompanyAndYearOrYearThenMonth) {
  fw::Globals g;
  g.gs_gsh = "01";
  g.gi_dqn = 2010;
  g.gi_dqy = 4;
  g.gb_net = true;
  EXPECT_EQ(document_number_prefix(g), "011004");
  g.gb_net = false;
  EXPECT_EQ(document_number_prefix(g), "201004");
  g.gi_dqy = 12;
  EXPECT_EQ(document_number_prefix(g), "201012");
}

TEST(ContractList, CurrentOrdersFirstThenADateRangeWithHistory) {
  ContractDesk d;
  w_svc310& w = d.list();
  EXPECT_EQ(w.is_menutext, (std::map<int, std::string>{{1, "全部"}, {2, "合同"}, {3, "检验单"}, {4, "明细"}}));
  EXPECT_EQ(w.dw_1->dataobject(), "d_svc310_01");
  EXPECT_TRUE(w.ib_refresh_enabled);
  EXPECT_EQ(std::to_string(w.dw_1->rowcount()),
            d.shop.committed("select count(*) into :v from v_svc300_01 where cgsh = '01'"));
  EXPECT_GE(w.dw_1->getrow(), 1);

  // A cancelled date dialog keeps the current list.
  EXPECT_EQ(d.command(1), 0);
  EXPECT_EQ(w.dw_1->dataobject(), "d_svc310_01");
  EXPECT_EQ(w.is_menutext[1], "全部");

  d.shop.ui.dateranges = {std::string("2026/06/01@2026/12/08")};
  EXPECT_EQ(d.command(1), 1);
  EXPECT_EQ(w.dw_1->dataobject(), "d_svc310_02");
  EXPECT_EQ(w.is_menutext[1], "当前");
  EXPECT_EQ(w.menu().command(1)->text, "当前");
  EXPECT_EQ(w.is_qsrq, "2026/06/01");
  EXPECT_EQ(w.is_jzrq, "2026/12/08");
  const std::string in_range =
      "select count(*) into :v from v_svc300_01_all where cgsh = '01' and "
      "convert(char(10), dsxrq, 111) between '2026/06/01' and '2026/12/08'";
  EXPECT_EQ(std::to_string(w.dw_1->rowcount()), d.shop.committed(in_range));
  const std::string old = history(d);
  ASSERT_TRUE(d.pick(old));

  // Refresh keeps the range and sees another workstation's new number.
  d.shop.session->sqlca.exec("update svcb20c_h set chth = 'H1' where cwtsbh = :bh", {{"bh", old}});
  ASSERT_EQ(d.shop.session->sqlca.commit(), 0);
  d.send({{"control", ""}, {"event", "ue_refresh"}});
  EXPECT_EQ(w.dw_1->dataobject(), "d_svc310_02");
  EXPECT_EQ(std::to_string(w.dw_1->rowcount()), d.shop.committed(in_range));
  ASSERT_TRUE(d.pick(old));
  EXPECT_EQ(d.shown("chth"), "H1");

  EXPECT_EQ(d.command(1), 1);
  EXPECT_EQ(w.dw_1->dataobject(), "d_svc310_01");
  EXPECT_EQ(w.is_menutext[1], "全部");

  // An empty list: every command, the switch included, does nothing.
  d.shop.ui.dateranges = {std::string("1990/01/01@1990/01/02")};
  EXPECT_EQ(d.command(1), 1);
  w.dw_1->reset();
  d.shop.ui.dateranges = {std::string("2026/06/01@2026/12/08")};
  for (int c : {1, 2, 3, 4}) EXPECT_EQ(w.ue_cus(c), 0) << "command " << c;
  EXPECT_EQ(w.dw_1->dataobject(), "d_svc310_02");
  EXPECT_EQ(d.shop.ui.dateranges.size(), 1u);
  EXPECT_TRUE(d.shop.ui.previews.empty());
  EXPECT_TRUE(d.shop.ui.shown.empty()) << d.shop.ui.texts().at(0);
}

TEST(ContractList, FirstContractAndSheetAreNumberedOnceThenReused) {
  ContractDesk d;
  d.shop.session->g.gb_net = true;
  w_svc310& w = d.list();
  const std::string bh = unnumbered(d);
  ASSERT_NE(bh, "<none>");
  ASSERT_TRUE(d.pick(bh));
  const long contracts = std::stol(d.counter("NHTH")), sheets = std::stol(d.counter("NJYDH"));
  char next_contract[8], next_sheet[8];
  std::snprintf(next_contract, sizeof next_contract, "%04ld", contracts + 1);
  std::snprintf(next_sheet, sizeof next_sheet, "%04ld", sheets + 1);

  EXPECT_EQ(d.command(2), 1);
  const std::string contract = std::string("012612") + next_contract;
  EXPECT_EQ(d.stored("chth", bh), contract);
  EXPECT_EQ(d.shown("chth"), contract);
  ASSERT_EQ(d.shop.ui.previews.size(), 1u);
  EXPECT_EQ(d.shop.ui.previews[0].dataobject, "d_svc310_03_now");
  EXPECT_NE(d.shop.ui.previews[0].html.find(contract), std::string::npos) << "the contract shows its number";
  EXPECT_NE(d.shop.ui.previews[0].html.find("汽车维修合同"), std::string::npos);
  EXPECT_EQ(w.idw_preview, &w.dw_1);
  EXPECT_FALSE(d.shop.session->sqlls.in_transaction());

  EXPECT_EQ(d.command(2), 1);  // reused: read with history
  EXPECT_EQ(d.stored("chth", bh), contract);
  EXPECT_EQ(d.counter("NHTH"), std::to_string(contracts + 1));
  EXPECT_EQ(d.shop.ui.previews.at(1).dataobject, "d_svc310_03");

  EXPECT_EQ(d.command(3), 1);
  const std::string sheet = std::string("012612") + next_sheet;
  EXPECT_EQ(d.stored("cjydh", bh), sheet);
  EXPECT_EQ(d.shown("cjydh"), sheet);
  EXPECT_EQ(d.shop.ui.previews.at(2).dataobject, "d_svc310_04");
  EXPECT_NE(d.shop.ui.previews[2].html.find(sheet), std::string::npos);
  EXPECT_EQ(d.command(3), 1);  // reused: still the current sheet
  EXPECT_EQ(d.shop.ui.previews.at(3).dataobject, "d_svc310_04");
  EXPECT_EQ(d.counter("NJYDH"), std::to_string(sheets + 1));

  // A blank-only number counts as none; without gb_net the year leads.
  d.shop.session->g.gb_net = false;
  d.shop.session->sqlca.exec("update svcb20c set chth = '   ' where cwtsbh = :bh and cgsh = '01'", {{"bh", bh}});
  ASSERT_EQ(d.shop.session->sqlca.commit(), 0);
  d.send({{"control", ""}, {"event", "ue_refresh"}});
  ASSERT_TRUE(d.pick(bh));
  EXPECT_EQ(d.command(2), 1);
  std::snprintf(next_contract, sizeof next_contract, "%04ld", contracts + 2);
  EXPECT_EQ(d.stored("chth", bh), std::string("202612") + next_contract);
  EXPECT_EQ(d.shop.ui.previews.at(4).dataobject, "d_svc310_03_now");

  // The tool bar's preview shows the list again, under the window's print title.
  d.send({{"control", ""}, {"event", "ue_preview"}});
  EXPECT_EQ(d.shop.ui.previews.at(5).dataobject, "d_svc310_01");
  EXPECT_EQ(d.shop.ui.previews.at(5).title, "委托书打印工单");
  EXPECT_EQ(d.shop.ui.previews.at(5).window, "w_svc310");
  EXPECT_TRUE(d.shop.ui.shown.empty()) << d.shop.ui.texts().at(0);
}

TEST(ContractList, FullListPreviewsWithHistoryAndNeverNumbers) {
  ContractDesk d;
  w_svc310& w = d.list();
  const std::string current = unnumbered(d), old = history(d);
  const std::string contracts = d.counter("NHTH"), sheets = d.counter("NJYDH");
  d.shop.ui.dateranges = {std::string("2026/01/01@2026/12/08")};
  ASSERT_EQ(d.command(1), 1);

  ASSERT_TRUE(d.pick(current));
  EXPECT_EQ(d.command(3), 1);
  EXPECT_EQ(d.command(2), 1);
  EXPECT_EQ(d.stored("cjydh", current), d.shop.committed("select cjydh into :v from v_svc300_01 where cwtsbh = '" + current + "'"));
  EXPECT_EQ(d.stored("chth", current), d.shop.committed("select chth into :v from v_svc300_01 where cwtsbh = '" + current + "'"));
  EXPECT_EQ(d.shown("chth"), "");

  ASSERT_TRUE(d.pick(old));
  EXPECT_EQ(d.command(3), 1);
  std::vector<std::string> shown;
  for (const auto& p : d.shop.ui.previews) shown.push_back(p.dataobject);
  EXPECT_EQ(shown, (std::vector<std::string>{"d_svc310_05", "d_svc310_03", "d_svc310_05"}));
  EXPECT_NE(d.shop.ui.previews.back().html.find(old), std::string::npos) << "history sheet shows its work order";
  EXPECT_EQ(d.counter("NHTH"), contracts);
  EXPECT_EQ(d.counter("NJYDH"), sheets);
  EXPECT_EQ(w.idw_preview, &w.dw_1);
}

TEST(ContractList, DetailsListTheItemsOfCurrentAndHistoryOrdersReadOnly) {
  ContractDesk d;
  w_svc310& w = d.list();
  const std::string current = unnumbered(d), old = history(d);
  auto details = [&] { return dynamic_cast<fw::w_svc302_03*>(d.shop.windows->find("w_svc302_03")); };
  auto items = [&](const char* table, const std::string& bh) {
    return d.shop.committed(std::string("select count(*) into :v from ") + table +
                            " where cwtsbh = '" + bh + "' and cgsh = '01'");
  };

  ASSERT_TRUE(d.pick(current));
  EXPECT_EQ(d.command(4), 1);
  ASSERT_NE(details(), nullptr);
  EXPECT_EQ(details()->parent(), &w);
  EXPECT_EQ(details()->is_wtsbh, current);
  EXPECT_EQ(details()->il_lb, 1);
  EXPECT_EQ(std::to_string(details()->dw_1->rowcount()), items("svcb20d", current));
  EXPECT_GT(details()->dw_1->rowcount(), 0);
  EXPECT_TRUE(details()->dw_1->readonly());
  ui::close(*details());

  // Enter, and a double-click in the full list for a history work order.
  d.send({{"control", "dw_1"}, {"event", "ue_keydown"}, {"key", 13}});
  ASSERT_NE(details(), nullptr);
  ui::close(*details());
  d.shop.ui.dateranges = {std::string("2026/01/01@2026/12/08")};
  ASSERT_EQ(d.command(1), 1);
  ASSERT_TRUE(d.pick(old));
  d.send({{"control", "dw_1"}, {"event", "doubleclicked"}, {"row", w.dw_1->getrow()}, {"column", "cwtsbh"}});
  ASSERT_NE(details(), nullptr);
  EXPECT_EQ(details()->is_wtsbh, old);
  EXPECT_EQ(std::to_string(details()->dw_1->rowcount()), items("svcb20d_h", old));
  EXPECT_GT(details()->dw_1->rowcount(), 0);
  ui::close(*details());

  // A blank work-order number opens nothing.
  w.dw_1->setitem(w.dw_1->getrow(), "cwtsbh", Value(std::string("  ")));
  EXPECT_EQ(w.wf_double_enter(), 0);
  for (int c : {2, 3, 4}) EXPECT_EQ(w.ue_cus(c), 0) << "command " << c;
  EXPECT_EQ(details(), nullptr);
  EXPECT_TRUE(d.shop.ui.shown.empty()) << d.shop.ui.texts().at(0);
}

}  // namespace
}  // namespace kq::svc
