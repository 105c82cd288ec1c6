// 打印结算单 (w_svc309) on the demo shop: the two lists with their filter and
// sort, the options read at opening, the cbx_3 rule, heading sorts, and what
// the slip and the exit pass commands show.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "print_desk.h"

namespace kq::svc {
namespace {

using testing::PrintDesk;

// Each pair of neighbouring rows keeps "djsrq D ,cwtsbh A".
void expect_latest_settlement_first(PrintDesk& desk) {
  w_svc309& w = desk.window();
  for (long r = 1; r < w.dw_1->rowcount(); ++r) {
    const DateTime a = *w.dw_1->getitemdatetime(r, "djsrq"), b = *w.dw_1->getitemdatetime(r + 1, "djsrq");
    const std::string na = *w.dw_1->getitemstring(r, "cwtsbh"), nb = *w.dw_1->getitemstring(r + 1, "cwtsbh");
    EXPECT_TRUE(a > b || (a == b && na < nb)) << "rows " << r << " " << na << " " << a.to_string() << " and " << nb
                                               << " " << b.to_string();
  }
}

TEST(PrintList, OpensOnTheCurrentSettlementsWithTheShopsDefaultsAndFilters) {
  PrintDesk desk;
  w_svc309& w = desk.window();
  EXPECT_EQ(w.is_menutext[1], "全部");
  EXPECT_EQ(w.is_menutext[2], "打印结算单");
  EXPECT_EQ(w.is_menutext[3], "打印出门证");
  EXPECT_EQ(w.dw_1->dataobject(), "d_svc309_01");
  EXPECT_EQ(w.em_1.text, desk.shop.committed("select ndyfs into :v from sysb12 where cdydjlb = '14' and cgsh = '01'"));
  EXPECT_EQ(w.cbx_2.checked, desk.shop.committed("select ccsz into :v from sysi90 where ccsdm = 'LJSDXSSE' and cgsh = '01'") == "1");
  EXPECT_TRUE(w.cbx_4.enabled && w.cbx_4.checked);  // the club module is installed in company 01
  EXPECT_FALSE(w.cbx_1.checked);
  EXPECT_TRUE(w.rb_2.checked);
  EXPECT_EQ(w.dw_1.ois_outfilter, " (cwxzt = '1' or (cwxzt = '2' and lqqbs = 0) ) and (1 = 1) ");

  // Settled and owing orders without earlier arrears, latest settlement first.
  EXPECT_EQ(std::to_string(w.dw_1->rowcount()),
            desk.shop.committed("select count(*) into :v from svcb20c where cgsh = '01' and (cwxzt = '1' or (cwxzt = "
                                "'2' and lqqbs = 0)) and convert(char(10), djsrq, 111) <> '1900/01/01'"));
  expect_latest_settlement_first(desk);
  ASSERT_GT(w.dw_1->getrow(), 0);
  EXPECT_TRUE(w.dw_1->isselected(w.dw_1->getrow()));

  // 包含前欠 shows the owing orders of earlier arrears as well.
  const std::string arrears = desk.shop.committed(
      "select top 1 cwtsbh into :v from svcb20c where cgsh = '01' and cwxzt = '2' and lqqbs <> 0 "
      "and convert(char(10), djsrq, 111) <> '1900/01/01'");
  ASSERT_NE(arrears, "<none>");
  EXPECT_EQ(desk.row_of(arrears), 0);
  desk.click("cbx_1", true);
  EXPECT_GT(desk.row_of(arrears), 0);
  expect_latest_settlement_first(desk);

  // I: only the orders marked "*"; O: all again, each time in the same order.
  const auto all = desk.column("cwtsbh");
  desk.click("rb_1", true);
  EXPECT_FALSE(w.rb_2.checked);
  const auto marked = desk.column("bs");
  EXPECT_FALSE(marked.empty());
  EXPECT_EQ(std::set<std::string>(marked.begin(), marked.end()), std::set<std::string>{"*"});
  EXPECT_EQ(w.dw_1.ois_outfilter, " (1 = 1 ) and (bs = '*') ");
  desk.click("rb_2", true);
  EXPECT_EQ(desk.column("cwtsbh"), all);
  EXPECT_TRUE(desk.shop.ui.shown.empty()) << desk.shop.ui.shown.front().text;
}

TEST(PrintList, DefaultCopiesFromTheShopOrOneOrNoneAndAFailedReadIsSaid) {
  {
    PrintDesk desk;
    desk.shop.session->sqlca.exec("update sysb12 set ndyfs = null where cdydjlb = '14' and cgsh = '01'");
    ASSERT_EQ(desk.shop.session->sqlca.commit(), 0);
    EXPECT_EQ(desk.window().em_1.text, "1");
    // The spin edit takes 1 to 9, whatever the browser sends.
    auto typed = [&desk](const char* text) { return desk.send({.control = "em_1", .event = "modified", .text = text}); };
    for (const char* refused : {"12", "0", "-1", "x", ""}) {
      const ui::DispatchResult r = typed(refused);
      EXPECT_FALSE(r.ok) << "copies \"" << refused << "\" were taken";
      EXPECT_EQ(r.error, "打印份数须为 1 到 9 之间的整数") << refused;
    }
    EXPECT_EQ(desk.window().em_1.text, "1");
    EXPECT_TRUE(typed(" 9").ok);
    EXPECT_EQ(desk.window().copies(), 9);
  }
  {
    PrintDesk desk;
    desk.shop.session->sqlca.exec("delete from sysb12 where cdydjlb = '14' and cgsh = '01'");
    ASSERT_EQ(desk.shop.session->sqlca.commit(), 0);
    EXPECT_EQ(desk.window().em_1.text, "0");
    EXPECT_EQ(desk.window().copies(), 1);  // a copy is printed all the same
    EXPECT_TRUE(desk.send({.control = "em_1", .event = "modified", .text = "0"}).ok) << "the shown 0 sent back";
  }
  {
    PrintDesk desk;
    desk.shop.session->sqlca.exec("drop table sysb12");
    ASSERT_EQ(desk.shop.session->sqlca.commit(), 0);
    w_svc309& w = desk.window();
    EXPECT_EQ(desk.shop.ui.texts(), std::vector<std::string>{"读取当前委托书的默认打印份数失败!"});
    EXPECT_GT(w.dw_1->rowcount(), 0);  // the window opens all the same
  }
}

TEST(PrintList, DateRangeListHistoryExitPassRefreshAndBack) {
  PrintDesk desk;
  w_svc309& w = desk.window();
  const long current_rows = w.dw_1->rowcount();

  desk.shop.ui.dateranges.push_back(std::nullopt);  // cancelled
  desk.command(1);
  EXPECT_EQ(w.is_menutext[1], "全部");
  EXPECT_EQ(w.dw_1->dataobject(), "d_svc309_01");
  EXPECT_EQ(w.dw_1->rowcount(), current_rows);

  desk.shop.ui.dateranges.push_back("2026/01/01@2026/12/31");
  desk.command(1);
  EXPECT_EQ(w.is_menutext[1], "当前");
  EXPECT_EQ(w.dw_1->dataobject(), "d_svc309_02");
  EXPECT_EQ(w.is_qsrq, "2026/01/01");
  EXPECT_EQ(w.is_jzrq, "2026/12/31");
  expect_latest_settlement_first(desk);
  const std::string history = desk.shop.committed(
      "select top 1 cwtsbh into :v from svcb20c_h where cgsh = '01' and cwxzt = '1' "
      "and convert(char(10), djsrq, 111) between '2026/01/01' and '2026/12/31'");
  ASSERT_NE(history, "<none>");
  const long row = desk.row_of(history);
  ASSERT_GT(row, 0) << history << " is not in the date-range list";

  // The exit pass of a history order comes from the history object.
  desk.send({.control = "dw_1", .event = "clicked", .row = row, .column = "cwtsbh"});
  desk.command(3);
  ASSERT_EQ(desk.shop.ui.previews.size(), 1u);
  const ui::Preview& pass = desk.shop.ui.previews.back();
  EXPECT_EQ(pass.dataobject, "d_svc303_01_04_h");
  EXPECT_NE(pass.html.find(history), std::string::npos) << "the exit pass does not show " << history;
  EXPECT_EQ(pass.copies, 0);
  EXPECT_EQ(w.idw_preview, &w.dw_1);

  // A refresh retrieves the same range and keeps the I filter.
  desk.click("rb_1", true);
  const auto marked = desk.column("cwtsbh");
  desk.send({.event = "ue_refresh"});
  EXPECT_EQ(desk.column("cwtsbh"), marked);
  EXPECT_EQ(w.dw_1.ois_outfilter, " (cwxzt = '1' or (cwxzt = '2' and lqqbs = 0) ) and (bs = '*') ");

  desk.command(1);
  EXPECT_EQ(w.is_menutext[1], "全部");
  EXPECT_EQ(w.dw_1->dataobject(), "d_svc309_01");
  EXPECT_EQ(desk.row_of(history), 0);
  desk.command(3);
  EXPECT_EQ(desk.shop.ui.previews.back().dataobject, "d_svc303_01_04");
}

TEST(PrintList, InsuranceOrdersSetTheDiscountBoxAndHeadingsSortOneOrSeveralColumns) {
  PrintDesk desk;
  w_svc309& w = desk.window();
  desk.click("cbx_1", true);
  std::vector<long> insurance, other;
  const auto numbers = desk.column("cwtsbh");
  for (size_t i = 0; i < numbers.size(); ++i) (numbers[i][0] == 'A' ? insurance : other).push_back(long(i + 1));
  ASSERT_GE(insurance.size(), 2u) << "the demo needs two settled insurance orders";
  ASSERT_FALSE(other.empty());
  auto move_to = [&](long row) { desk.send({.control = "dw_1", .event = "clicked", .row = row, .column = "cwtsbh"}); };

  move_to(insurance[0]);
  EXPECT_TRUE(w.cbx_3.enabled && w.cbx_3.checked);
  desk.click("cbx_3", false);
  move_to(insurance[1]);
  EXPECT_TRUE(w.cbx_3.enabled);
  EXPECT_FALSE(w.cbx_3.checked) << "the person's choice is kept from one insurance order to the next";
  move_to(other[0]);
  EXPECT_FALSE(w.cbx_3.enabled || w.cbx_3.checked);

  // A heading click sorts by its column, then moves to row 1.
  move_to(other[0] == 1 ? 2 : other[0]);
  desk.send({.control = "dw_1", .event = "clicked", .row = 0, .column = "nhjje"});
  EXPECT_EQ(w.dw_1.ois_sort, "nhjje A");
  EXPECT_EQ(w.dw_1->getrow(), 1);
  auto amounts = [&] {
    std::vector<Decimal> out;
    for (long r = 1; r <= w.dw_1->rowcount(); ++r) out.push_back(w.dw_1->getitemdecimal(r, "nhjje").value_or(Decimal()));
    return out;
  };
  auto a = amounts();
  EXPECT_TRUE(std::is_sorted(a.begin(), a.end()));
  desk.send({.control = "dw_1", .event = "clicked", .row = 0, .column = "nhjje_t"});
  EXPECT_EQ(w.dw_1.ois_sort, "nhjje D");
  // With Ctrl the heading is one more key.
  desk.send({.control = "dw_1", .event = "clicked", .row = 0, .column = "cpzh", .keyflags = 2});
  EXPECT_EQ(w.dw_1.ois_sort, "nhjje D ,cpzh A");
  // A click on a row sorts nothing.
  desk.send({.control = "dw_1", .event = "clicked", .row = 2, .column = "cpzh"});
  EXPECT_EQ(w.dw_1.ois_sort, "nhjje D ,cpzh A");
  EXPECT_EQ(w.dw_1->getrow(), 2);

  // The query command and a right-click go back to row 1.
  desk.send({.event = "ue_query"});
  EXPECT_EQ(w.dw_1->getrow(), 1);
  move_to(3);
  desk.send({.control = "dw_1", .event = "rbuttondown", .row = 3, .column = "cpzh"});
  EXPECT_EQ(w.dw_1->getrow(), 1);
}

}  // namespace
}  // namespace kq::svc
