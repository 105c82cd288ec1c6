// The repair-item window w_svc300_03 in dispatch mode, opened from 派工处理
// on the demo shop: the selection lists it offers, what its save writes,
// what it refuses, and that every failure of the save leaves the database
// as it was.
#include <gtest/gtest.h>

#include <algorithm>

#include "dispatch_desk.h"
#include "support/database_dump.h"

namespace kq::fw {
namespace {

using kq::testing::dump_database;
using kq::testing::DispatchDesk;

const std::string kOrder = "1010000000001";

// "code/name" of the team or mechanic of an item row.
std::string shown(w_svc300_03& w, long row, const char* code, const char* name) {
  return w.dw_1->getitemstring(row, code).value_or("<null>") + "/" + w.dw_1->getitemstring(row, name).value_or("<null>");
}

std::vector<std::string> sorted(std::vector<std::string> v) {
  std::sort(v.begin(), v.end());
  return v;
}

TEST(RepairItemDispatch, OffersActiveTeamsAndTheirMechanicsAndSavesTheChoice) {
  DispatchDesk desk;
  w_svc300_03* w = desk.dispatch(kOrder);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(std::to_string(w->dw_1->rowcount()),
            desk.shop.committed("select count(*) into :v from svcb20d where cwtsbh = '" + kOrder + "' and cgsh = '01'"));
  const long zd = desk.item_row("ZD001");
  EXPECT_EQ(shown(*w, zd, "cbzdm", "czxrdm"), desk.assignment(kOrder, "ZD001"));
  EXPECT_EQ(w->dw_1->describe("cgwdm.visible"), "0");  // company 01 has no labour-hour management

  // Teams in use only (not B07, stopped, nor the departments Q01, C01); a new team clears the mechanic.
  EXPECT_EQ(desk.choose("ZD001", "cb_1", "B02"), 1);
  EXPECT_EQ(sorted(DispatchDesk::offered(desk.shop.ui.selection_lists.back())),
            (std::vector<std::string>{"B01", "B02", "B03", "B04", "B05", "B06"}));
  EXPECT_EQ(shown(*w, zd, "cbzdm", "cbmmc"), "B02/机修二班");
  EXPECT_EQ(shown(*w, zd, "czxrdm", "cgrmc"), "/");
  EXPECT_EQ(desk.choose("ZD001", "cb_2", "201"), 1);
  EXPECT_EQ(shown(*w, zd, "czxrdm", "cgrmc"), "201/钱进");
  // A double-click on the mechanic: B01 offers 101 and 102, not 103 (a worker) nor 104 (stopped).
  desk.send(*w, {.control = "dw_1", .event = "doubleclicked", .row = desk.item_row("BY001"), .column = "cgrmc"});
  EXPECT_EQ(sorted(DispatchDesk::offered(desk.shop.ui.selection_lists.back())), (std::vector<std::string>{"101", "102"}));
  EXPECT_EQ(desk.choose("BY001", "cb_2", "102"), 1);

  // Nothing is written before the save; the save writes these two items and nothing else.
  EXPECT_EQ(desk.assignment(kOrder, "ZD001"), "B01/102");
  const std::string before = dump_database(desk.shop.db_path());
  EXPECT_EQ(desk.send(*w, {.control = "cb_3", .event = "clicked"}).result, 1);
  EXPECT_EQ(desk.shop.ui.texts(), std::vector<std::string>{"保存成功！"});
  EXPECT_EQ(desk.assignment(kOrder, "ZD001"), "B02/201");
  EXPECT_EQ(desk.assignment(kOrder, "BY001"), "B01/102");
  desk.shop.session->sqlca.exec("update svcb20d set cbzdm = 'B01', czxrdm = case cwxxmdm when 'ZD001' then '102' "
                                "else '101' end where cwtsbh = :bh and cwxxmdm in ('ZD001', 'BY001')",
                                {{"bh", kOrder}});
  desk.shop.session->sqlca.commit();
  EXPECT_EQ(dump_database(desk.shop.db_path()), before);
  EXPECT_EQ(w->wf_save(), 0);  // nothing more to save

  // Reopened from the list: what was saved (restored just now to the demo's).
  ui::close(*w);
  w = desk.dispatch(kOrder);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(shown(*w, desk.item_row("ZD001"), "cbmmc", "cgrmc"), "机修一班/杨帆");

  // With labour-hour management the station shows too.
  ui::close(*w);
  desk.shop.session->sqlca.exec("update sysi90 set ccsz = '1' where ccsdm = 'lsygsgl' and cgsh = '01'");
  desk.shop.session->sqlca.commit();
  w = desk.dispatch(kOrder);
  ASSERT_NE(w, nullptr);
  EXPECT_NE(w->dw_1->describe("cgwdm.visible"), "0");
  EXPECT_EQ(shown(*w, desk.item_row("BY001"), "cgwdm", "cwxgwmc"), "01/一号工位");
}

TEST(RepairItemDispatch, RefusesWhatCannotBeDispatched) {
  DispatchDesk desk;
  w_svc300_03* w = desk.dispatch(kOrder);
  ASSERT_NE(w, nullptr);
  // A team without main mechanics, then no team; typing into an item.
  ASSERT_EQ(desk.choose("SB001", "cb_1", "B06"), 1);
  desk.send(*w, {.control = "cb_2", .event = "clicked"});
  w->dw_1->setitem(w->dw_1->getrow(), "cbzdm", Value(std::string(" ")));
  desk.send(*w, {.control = "cb_2", .event = "clicked"});
  EXPECT_EQ(desk.shop.ui.texts(), (std::vector<std::string>{"该班组没有可以派工的主修人！", "请先选择班组！"}));
  auto typed = desk.send(*w, {.control = "dw_1", .event = "itemchanged", .row = 1, .column = "cbzdm", .data = "B04"});
  EXPECT_FALSE(typed.ok) << "typed data refused: " << typed.error;

  // Settled, or the item renamed, by another workstation before the save: refused, nothing written.
  auto other = desk.shop.open_session();
  for (const char* change : {"update svcb20c set cwxzt = '1' where cwtsbh = :bh",
                             "update svcb20d set cxmmc = '改名' where cwtsbh = :bh and cwxxmdm = 'SB001'"}) {
    ASSERT_EQ(desk.choose("SB001", "cb_1", "B04"), 1);
    other->sqlca.exec("update svcb20c set cwxzt = '0' where cwtsbh = :bh", {{"bh", kOrder}});
    other->sqlca.exec(change, {{"bh", kOrder}});
    ASSERT_EQ(other->sqlca.commit(), 0);
    const std::string before = dump_database(desk.shop.db_path());
    EXPECT_EQ(w->wf_save(), 0);
    EXPECT_EQ(dump_database(desk.shop.db_path()), before) << change;
    EXPECT_GT(w->dw_1->modifiedcount(), 0);  // the choice stays on screen
  }
  EXPECT_EQ(desk.shop.ui.texts().size(), 4u);
  EXPECT_EQ(desk.shop.ui.texts()[2], "该委托书已不在修，不能派工！");
  EXPECT_EQ(desk.shop.ui.texts()[3], "维修项目已被其他用户修改，请关闭后重新派工！");

  // A work order no longer in repair is shown, and nothing can be changed.
  other->sqlca.exec("update svcb20c set cwxzt = '2' where cwtsbh = :bh", {{"bh", kOrder}});
  ASSERT_EQ(other->sqlca.commit(), 0);
  ui::close(*w);
  w = desk.dispatch(kOrder);
  ASSERT_NE(w, nullptr);
  EXPECT_GT(w->dw_1->rowcount(), 0);
  EXPECT_FALSE(w->ib_editable || w->cb_1.enabled || w->cb_2.enabled || w->cb_3.enabled);
  const size_t lists = desk.shop.ui.selection_lists.size();
  EXPECT_EQ(w->wf_choose_team() + w->wf_choose_mechanic() + w->wf_save(), 0);
  EXPECT_EQ(desk.shop.ui.selection_lists.size(), lists);
}

// Every statement of a save of two items (one update each, the status
// check, the commit) failed in turn: its message, the database unchanged,
// the choices kept, and the next save succeeds.
TEST(RepairItemDispatchFailure, EveryStatementOfTheSaveFailedInTurnChangesNothing) {
  const std::vector<std::string> messages = {"保存派工信息失败！", "保存派工信息失败！", "读取委托书状态失败！",
                                             "数据提交失败！"};
  for (int64_t n = 1; n <= static_cast<int64_t>(messages.size()) + 1; ++n) {
    SCOPED_TRACE("statement " + std::to_string(n));
    DispatchDesk desk;
    w_svc300_03* w = desk.dispatch(kOrder);
    ASSERT_NE(w, nullptr);
    ASSERT_EQ(desk.choose("BY001", "cb_1", "B03"), 1);
    ASSERT_EQ(desk.choose("SB001", "cb_1", "B04"), 1);
    ASSERT_EQ(desk.choose("SB001", "cb_2", "401"), 1);
    const std::string before = dump_database(desk.shop.db_path());
    desk.shop.ui.shown.clear();
    desk.shop.session->sqlca.faults().fail_nth(n, "injected failure");
    const long saved = w->wf_save();
    if (n > static_cast<int64_t>(messages.size())) {  // past the save: the list read again
      EXPECT_EQ(saved, 1);
      break;
    }
    EXPECT_EQ(saved, 0);
    EXPECT_EQ(desk.shop.ui.texts(), std::vector<std::string>{messages[static_cast<size_t>(n - 1)]});
    EXPECT_FALSE(desk.shop.session->sqlca.in_transaction());
    EXPECT_EQ(dump_database(desk.shop.db_path()), before);
    EXPECT_EQ(w->dw_1->modifiedcount(), 2);
    EXPECT_EQ(w->wf_save(), 1);
    EXPECT_EQ(desk.assignment(kOrder, "BY001") + " " + desk.assignment(kOrder, "SB001"), "B03/ B04/401");
  }
}

}  // namespace
}  // namespace kq::fw
