// The repair-item window w_svc300_03 in dispatch mode, opened from 派工处理
// on the demo shop: the selection lists it offers, what its save writes,
// what it refuses, and that every failure of the save leaves the database
// as it was.
#include <gtest/gtest.h>

#include <set>

#include "dispatch_desk.h"
#include "support/database_dump.h"

namespace kq::fw {
namespace {

using kq::testing::dump_database;
using kq::testing::DispatchDesk;

const std::string kOrder = "1010000000001";

std::string item_text(w_svc300_03& w, long row, const char* column) {
  return w.dw_1->getitemstring(row, column).value_or("<null>");
}

TEST(RepairItemDispatch, ListsTheItemsAndSavesTheChosenTeamAndMechanic) {
  DispatchDesk desk;
  w_svc300_03* w = desk.dispatch(kOrder);
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(w->ib_editable);
  EXPECT_TRUE(w->cb_3.enabled);
  EXPECT_EQ(std::to_string(w->dw_1->rowcount()),
            desk.shop.committed("select count(*) into :v from svcb20d where cwtsbh = '" + kOrder + "' and cgsh = '01'"));
  const long zd = desk.item_row("ZD001");
  ASSERT_GT(zd, 0);
  EXPECT_EQ(item_text(*w, zd, "cbzdm") + "/" + item_text(*w, zd, "czxrdm"), desk.assignment(kOrder, "ZD001"));
  EXPECT_EQ(item_text(*w, zd, "cgrmc"), "杨帆");
  EXPECT_EQ(w->dw_1->describe("cgwdm.visible"), "0");  // company 01 has no labour-hour management

  // The team list: the company's teams in use, nothing else.
  EXPECT_EQ(desk.choose("ZD001", "cb_1", "B02"), 1);
  const ui::SelectionList teams = desk.shop.ui.selection_lists.back();
  EXPECT_EQ(teams.headings, (std::vector<std::string>{"班组代码", "班组名称", "状态", "预计完工时间"}));
  std::set<std::string> offered_teams;
  for (const auto& c : DispatchDesk::offered(teams)) offered_teams.insert(c);
  EXPECT_EQ(offered_teams, (std::set<std::string>{"B01", "B02", "B03", "B04", "B05", "B06"}));  // not B07 (stopped), Q01, C01
  // A new team clears the mechanic of the old one.
  EXPECT_EQ(item_text(*w, zd, "cbzdm") + "/" + item_text(*w, zd, "cbmmc"), "B02/机修二班");
  EXPECT_EQ(item_text(*w, zd, "czxrdm") + "/" + item_text(*w, zd, "cgrmc"), "/");

  // The mechanic list: the chosen team's main mechanics in use.
  EXPECT_EQ(desk.choose("ZD001", "cb_2", "201"), 1);
  EXPECT_EQ(DispatchDesk::offered(desk.shop.ui.selection_lists.back()), std::vector<std::string>{"201"});
  EXPECT_EQ(item_text(*w, zd, "cgrmc"), "钱进");
  // Another item by double-clicking its mechanic: B01 offers 101 and 102, not 103 (category 5) nor 104 (stopped).
  const long by = desk.item_row("BY001");
  desk.shop.ui.selections.push_back(0);
  desk.send(*w, {{"control", "dw_1"}, {"event", "doubleclicked"}, {"row", by}, {"column", "cgrmc"}});
  std::vector<std::string> b01 = DispatchDesk::offered(desk.shop.ui.selection_lists.back());
  std::sort(b01.begin(), b01.end());
  EXPECT_EQ(b01, (std::vector<std::string>{"101", "102"}));
  EXPECT_EQ(desk.choose("BY001", "cb_2", "102"), 1);

  // Nothing is written before the save; the save writes both items and no other row.
  EXPECT_EQ(desk.assignment(kOrder, "ZD001"), "B01/102");
  const std::string other_items = desk.shop.committed(
      "select count(*) into :v from svcb20d where cbzdm = 'B01' and cwtsbh <> '" + kOrder + "'");
  EXPECT_EQ(desk.send(*w, {{"control", "cb_3"}, {"event", "clicked"}})["result"], 1);
  EXPECT_EQ(desk.shop.ui.texts(), std::vector<std::string>{"保存成功！"});
  EXPECT_EQ(desk.assignment(kOrder, "ZD001"), "B02/201");
  EXPECT_EQ(desk.assignment(kOrder, "BY001"), "B01/102");
  EXPECT_EQ(desk.assignment(kOrder, "DQ001"), "B05/501");
  EXPECT_EQ(desk.shop.committed("select count(*) into :v from svcb20d where cbzdm = 'B01' and cwtsbh <> '" + kOrder + "'"),
            other_items);
  EXPECT_EQ(w->dw_1->modifiedcount(), 0);
  EXPECT_EQ(w->wf_save(), 0);  // nothing more to save

  // Reopened from the list: what was saved.
  ui::close(*w);
  w = desk.dispatch(kOrder);
  ASSERT_NE(w, nullptr);
  const long again = desk.item_row("ZD001");
  EXPECT_EQ(item_text(*w, again, "cbmmc") + "/" + item_text(*w, again, "cgrmc"), "机修二班/钱进");
}

TEST(RepairItemDispatch, RefusesWhatCannotBeDispatched) {
  DispatchDesk desk;
  w_svc300_03* w = desk.dispatch(kOrder);
  ASSERT_NE(w, nullptr);
  // Nothing chosen changes nothing.
  desk.shop.ui.selections.push_back(0);
  desk.send(*w, {{"control", "cb_1"}, {"event", "clicked"}});
  EXPECT_EQ(w->dw_1->modifiedcount(), 0);
  // A team without main mechanics, then no team at all.
  ASSERT_EQ(desk.choose("SB001", "cb_1", "B06"), 1);
  desk.send(*w, {{"control", "cb_2"}, {"event", "clicked"}});
  w->dw_1->setitem(w->dw_1->getrow(), "cbzdm", Value(std::string(" ")));
  desk.send(*w, {{"control", "cb_2"}, {"event", "clicked"}});
  EXPECT_EQ(desk.shop.ui.texts(), (std::vector<std::string>{"该班组没有可以派工的主修人！", "请先选择班组！"}));

  // The items are protected: typing into them is refused.
  auto typed = desk.send(*w, {{"control", "dw_1"}, {"event", "itemchanged"}, {"row", 1}, {"column", "cbzdm"}, {"data", "B04"}});
  EXPECT_EQ(typed.value("ok", true), false) << typed.dump();
  EXPECT_NE(item_text(*w, 1, "cbzdm"), "B04");

  // Settled by another workstation before the save: refused, nothing written.
  ASSERT_EQ(desk.choose("SB001", "cb_1", "B04"), 1);
  auto other = desk.shop.open_session();
  other->sqlca.exec("update svcb20c set cwxzt = '1' where cwtsbh = :bh and cgsh = '01'", {{"bh", kOrder}});
  ASSERT_EQ(other->sqlca.commit(), 0);
  const std::string settled = dump_database(desk.shop.db_path());
  EXPECT_EQ(w->wf_save(), 0);
  EXPECT_EQ(desk.shop.ui.texts().back(), "该委托书已不在修，不能派工！");
  EXPECT_EQ(dump_database(desk.shop.db_path()), settled);
  EXPECT_GT(w->dw_1->modifiedcount(), 0);  // the choice stays on screen

  // Reopened for the settled work order: shown, nothing can be changed.
  ui::close(*w);
  w = desk.dispatch(kOrder);
  ASSERT_NE(w, nullptr);
  EXPECT_FALSE(w->ib_editable);
  EXPECT_FALSE(w->cb_1.enabled || w->cb_2.enabled || w->cb_3.enabled);
  EXPECT_GT(w->dw_1->rowcount(), 0);
  const size_t lists = desk.shop.ui.selection_lists.size();
  EXPECT_EQ(w->wf_choose_team(), 0);
  EXPECT_EQ(w->wf_save(), 0);
  EXPECT_EQ(desk.shop.ui.selection_lists.size(), lists);
  ui::close(*w);

  // An item renamed by another workstation since it was listed.
  other->sqlca.exec("update svcb20c set cwxzt = '0' where cwtsbh = :bh and cgsh = '01'", {{"bh", kOrder}});
  ASSERT_EQ(other->sqlca.commit(), 0);
  w = desk.dispatch(kOrder);
  ASSERT_NE(w, nullptr);
  ASSERT_EQ(desk.choose("SB001", "cb_1", "B04"), 1);
  other->sqlca.exec("update svcb20d set cxmmc = '改名' where cwtsbh = :bh and cwxxmdm = 'SB001'", {{"bh", kOrder}});
  ASSERT_EQ(other->sqlca.commit(), 0);
  const std::string renamed = dump_database(desk.shop.db_path());
  EXPECT_EQ(w->wf_save(), 0);
  EXPECT_EQ(desk.shop.ui.texts().back(), "维修项目已被其他用户修改，请关闭后重新派工！");
  EXPECT_EQ(dump_database(desk.shop.db_path()), renamed);
  EXPECT_FALSE(desk.shop.session->sqlca.in_transaction());
}

// ---------------------------------------------------------------- failures

// Two items changed; the save runs one update per item, the status check and
// the commit.
w_svc300_03* two_changes(DispatchDesk& desk) {
  w_svc300_03* w = desk.dispatch(kOrder);
  if (!w) return nullptr;
  EXPECT_EQ(desk.choose("BY001", "cb_1", "B03"), 1);
  EXPECT_EQ(desk.choose("SB001", "cb_1", "B04"), 1);
  EXPECT_EQ(desk.choose("SB001", "cb_2", "401"), 1);
  return w;
}

TEST(RepairItemDispatchFailure, EveryStatementOfTheSaveFailedInTurnChangesNothing) {
  int64_t statements = 0;
  {
    DispatchDesk desk;
    w_svc300_03* w = two_changes(desk);
    ASSERT_NE(w, nullptr);
    const int64_t start = desk.shop.session->sqlca.statement_count();
    ASSERT_EQ(w->wf_save(), 1);
    // The statements of the save itself (the list read again after it excluded).
    statements = desk.shop.session->sqlca.statement_count() - start - 1;
  }
  const std::vector<std::string> messages = {"保存派工信息失败！", "保存派工信息失败！", "读取委托书状态失败！",
                                             "数据提交失败！"};
  ASSERT_EQ(statements, static_cast<int64_t>(messages.size()));
  for (int64_t n = 1; n <= statements; ++n) {
    DispatchDesk desk;
    w_svc300_03* w = two_changes(desk);
    ASSERT_NE(w, nullptr);
    const std::string before = dump_database(desk.shop.db_path());
    desk.shop.ui.shown.clear();
    desk.shop.session->sqlca.faults().fail_nth(n, "injected failure");
    EXPECT_EQ(w->wf_save(), 0) << "statement " << n;
    EXPECT_EQ(desk.shop.ui.texts(), std::vector<std::string>{messages[static_cast<size_t>(n - 1)]}) << "statement " << n;
    EXPECT_FALSE(desk.shop.session->sqlca.in_transaction()) << "statement " << n;
    EXPECT_EQ(dump_database(desk.shop.db_path()), before) << "statement " << n;
    // The choices stay; saving again succeeds.
    EXPECT_EQ(w->dw_1->modifiedcount(), 2) << "statement " << n;
    EXPECT_EQ(w->wf_save(), 1) << "statement " << n;
    EXPECT_EQ(desk.assignment(kOrder, "BY001"), "B03/") << "statement " << n;
    EXPECT_EQ(desk.assignment(kOrder, "SB001"), "B04/401") << "statement " << n;
  }
}

}  // namespace
}  // namespace kq::fw
