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

// A current and a history work order with repair items and without numbers.
std::string unnumbered(ContractDesk& d, const std::string& h = "") {
  return d.shop.committed("select top 1 cwtsbh into :v from svcb20c" + h +
                          " where cgsh = '01' and isnull(chth, '') = '' and isnull(cjydh, '') = '' and exists "
                          "(select 1 from svcb20d" + h + " i where i.cwtsbh = svcb20c" + h + ".cwtsbh) order by cwtsbh");
}

std::vector<std::string> previewed(ContractDesk& d) {
  std::vector<std::string> out;
  for (const auto& p : d.shop.ui.previews) out.push_back(p.dataobject);
  return out;
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
}

TEST(ContractList, CurrentOrdersFirstThenADateRangeThatNeverNumbers) {
  ContractDesk d;
  w_svc310& w = d.list();
  const std::string current = unnumbered(d), old = unnumbered(d, "_h");
  EXPECT_EQ(w.is_menutext, (std::map<int, std::string>{{1, "全部"}, {2, "合同"}, {3, "检验单"}, {4, "明细"}}));
  EXPECT_EQ(w.dw_1->dataobject(), "d_svc310_01");
  EXPECT_EQ(std::to_string(w.dw_1->rowcount()),
            d.shop.committed("select count(*) into :v from v_svc300_01 where cgsh = '01'"));

  EXPECT_EQ(d.command(1), 0);  // the date dialog cancelled
  EXPECT_EQ(w.dw_1->dataobject(), "d_svc310_01");
  d.shop.ui.dateranges = {std::string("2026/06/01@2026/12/08")};
  EXPECT_EQ(d.command(1), 1);
  EXPECT_EQ(w.dw_1->dataobject(), "d_svc310_02");
  EXPECT_EQ(w.menu().command(1)->text, "当前");
  EXPECT_EQ(w.is_qsrq + "@" + w.is_jzrq, "2026/06/01@2026/12/08");
  const std::string in_range =
      "select count(*) into :v from v_svc300_01_all where cgsh = '01' and "
      "convert(char(10), dsxrq, 111) between '2026/06/01' and '2026/12/08'";
  EXPECT_EQ(std::to_string(w.dw_1->rowcount()), d.shop.committed(in_range));

  // Neither a current nor a history work order is numbered here.
  const std::string contracts = d.counter("NHTH"), sheets = d.counter("NJYDH");
  ASSERT_TRUE(d.pick(current));
  EXPECT_EQ(d.command(2), 1);
  EXPECT_EQ(d.command(3), 1);
  ASSERT_TRUE(d.pick(old));
  EXPECT_EQ(d.command(2), 1);
  EXPECT_EQ(previewed(d), (std::vector<std::string>{"d_svc310_03", "d_svc310_05", "d_svc310_03"}));
  const std::string plate = d.shop.committed("select cpzh into :v from v_svc300_01_all where cwtsbh = '" + old + "'");
  EXPECT_NE(d.shop.ui.previews.back().html.find(plate), std::string::npos) << "the history contract shows " << plate;
  EXPECT_EQ(d.stored("chth", current) + d.stored("cjydh", current) + d.shown("chth"), "");
  EXPECT_EQ(d.counter("NHTH") + "/" + d.counter("NJYDH"), contracts + "/" + sheets);

  // Refresh keeps the range; 当前 goes back.
  d.shop.session->sqlca.exec("update svcb20c_h set chth = 'H1' where cwtsbh = :bh", {{"bh", old}});
  ASSERT_EQ(d.shop.session->sqlca.commit(), 0);
  d.send({.control = "", .event = "ue_refresh"});
  ASSERT_TRUE(d.pick(old));
  EXPECT_EQ(d.shown("chth"), "H1");
  EXPECT_EQ(d.command(1), 1);
  EXPECT_EQ(w.dw_1->dataobject(), "d_svc310_01");
  EXPECT_EQ(w.is_menutext[1], "全部");

  // An empty list: every command, the switch included, does nothing.
  w.dw_1->reset();
  d.shop.ui.dateranges = {std::string("2026/06/01@2026/12/08")};
  for (int c : {1, 2, 3, 4}) EXPECT_EQ(w.ue_cus(c), 0) << "command " << c;
  EXPECT_EQ(d.shop.ui.dateranges.size(), 1u);
  EXPECT_EQ(d.shop.ui.previews.size(), 3u);
  EXPECT_TRUE(d.shop.ui.shown.empty()) << d.shop.ui.texts().at(0);
}

TEST(ContractList, FirstContractAndSheetAreNumberedOnceThenReused) {
  ContractDesk d;
  d.shop.session->g.gb_net = true;
  w_svc310& w = d.list();
  const std::string bh = unnumbered(d);
  ASSERT_TRUE(d.pick(bh));
  auto next = [&](const char* key, long step) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%04ld", std::stol(d.counter(key)) + step);
    return std::string(buf);
  };
  const std::string contract = "012612" + next("NHTH", 1), sheet = "012612" + next("NJYDH", 1);

  EXPECT_EQ(d.command(2), 1);
  EXPECT_EQ(d.command(2), 1);
  EXPECT_EQ(d.command(3), 1);
  EXPECT_EQ(d.command(3), 1);
  EXPECT_EQ(d.stored("chth", bh) + " " + d.stored("cjydh", bh), contract + " " + sheet);
  EXPECT_EQ(d.shown("chth") + " " + d.shown("cjydh"), contract + " " + sheet);
  EXPECT_EQ(previewed(d), (std::vector<std::string>{"d_svc310_03_now", "d_svc310_03", "d_svc310_04", "d_svc310_04"}));
  EXPECT_NE(d.shop.ui.previews[0].html.find(contract), std::string::npos) << "the contract shows its number";
  EXPECT_NE(d.shop.ui.previews[2].html.find(sheet), std::string::npos) << "the sheet shows its number";
  EXPECT_EQ("012612" + next("NHTH", 0), contract) << "the second call made no number";
  EXPECT_EQ(w.idw_preview, &w.dw_1);
  EXPECT_FALSE(d.shop.session->sqlls.in_transaction());

  // A blank-only number counts as none.
  d.shop.session->sqlca.exec("update svcb20c set chth = '   ' where cwtsbh = :bh and cgsh = '01'", {{"bh", bh}});
  ASSERT_EQ(d.shop.session->sqlca.commit(), 0);
  d.send({.control = "", .event = "ue_refresh"});
  ASSERT_TRUE(d.pick(bh));
  EXPECT_EQ(d.command(2), 1);
  EXPECT_EQ(d.stored("chth", bh), "012612" + next("NHTH", 0));

  // The tool bar's preview shows the list, under the window's print title.
  d.send({.control = "", .event = "ue_preview"});
  EXPECT_EQ(d.shop.ui.previews.back().dataobject, "d_svc310_01");
  EXPECT_EQ(d.shop.ui.previews.back().title, "委托书打印工单");
  EXPECT_TRUE(d.shop.ui.shown.empty()) << d.shop.ui.texts().at(0);
}

TEST(ContractList, DetailsListTheItemsOfCurrentAndHistoryOrdersReadOnly) {
  ContractDesk d;
  w_svc310& w = d.list();
  const std::string current = unnumbered(d), old = unnumbered(d, "_h");
  auto details = [&] { return dynamic_cast<fw::w_svc302_03*>(d.shop.windows->find("w_svc302_03")); };
  auto count = [&](const char* table, const std::string& bh) {
    return d.shop.committed(std::string("select count(*) into :v from ") + table + " where cwtsbh = '" + bh + "'");
  };

  ASSERT_TRUE(d.pick(current));
  d.send({.control = "dw_1", .event = "ue_keydown", .key = 13});
  ASSERT_NE(details(), nullptr);
  EXPECT_EQ(details()->parent(), &w);
  EXPECT_EQ(details()->is_wtsbh + "/" + std::to_string(details()->il_lb), current + "/1");
  EXPECT_EQ(std::to_string(details()->dw_1->rowcount()), count("svcb20d", current));
  EXPECT_TRUE(details()->dw_1->readonly());
  ui::close(*details());

  d.shop.ui.dateranges = {std::string("2026/01/01@2026/12/08")};
  ASSERT_EQ(d.command(1), 1);
  ASSERT_TRUE(d.pick(old));
  d.send({.control = "dw_1", .event = "doubleclicked", .row = w.dw_1->getrow(), .column = "cwtsbh"});
  ASSERT_NE(details(), nullptr);
  EXPECT_EQ(std::to_string(details()->dw_1->rowcount()), count("svcb20d_h", old));
  EXPECT_GT(details()->dw_1->rowcount(), 0);
  ui::close(*details());

  // A blank work-order number: nothing opens, nothing is numbered.
  w.dw_1->setitem(w.dw_1->getrow(), "cwtsbh", Value(std::string("  ")));
  for (int c : {2, 3, 4}) EXPECT_EQ(w.ue_cus(c), 0) << "command " << c;
  EXPECT_EQ(details(), nullptr);
  EXPECT_TRUE(d.shop.ui.previews.empty());
}

}  // namespace
}  // namespace kq::svc
