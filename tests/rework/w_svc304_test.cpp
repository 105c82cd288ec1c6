// The rework list w_svc304 on the demo shop: its two lists, the insert
// command, the refusal with labour-hour management, and the delete with the
// rework flag cleared where the work order lives.
#include <gtest/gtest.h>

#include "rework/rework_desk.h"
#include "support/case_names.h"
#include "support/database_dump.h"

namespace kq::svc {
namespace {

using testing::ReworkDesk;

long row_of(w_svc304& w, const std::string& bh) {
  for (long r = 1; r <= w.dw_display->rowcount(); ++r)
    if (w.dw_display->getitemstring(r, "cwtsbh") == bh) return r;
  return 0;
}

TEST(ReworkList, SwitchesBetweenCurrentAndAllAndInsertReturnsToCurrent) {
  ReworkDesk desk;
  w_svc304* w = desk.list();
  ASSERT_NE(w, nullptr) << desk.shop.windows->last_error();
  EXPECT_EQ(w->dw_display->dataobject(), "d_svc304_01");
  EXPECT_EQ(w->is_menutext[1], "全部");
  EXPECT_EQ(w->is_primarykey, "cwtsbh,cwxxmdm");
  EXPECT_EQ(w->is_last_colname_add, "czxr");
  EXPECT_TRUE(w->dw_display->readonly());
  EXPECT_GT(row_of(*w, "1010000000005"), 0);
  EXPECT_EQ(row_of(*w, "2010000000042"), 0) << "a history record in the current list";

  w->ue_cus(1);
  EXPECT_EQ(w->dw_display->dataobject(), "d_svc304_02");
  EXPECT_EQ(w->is_menutext[1], "当前");
  EXPECT_EQ(w->menu().name, "m_sys_14");
  EXPECT_GT(row_of(*w, "2010000000042"), 0) << "the all list lacks the history record";
  EXPECT_TRUE(w->dw_display->readonly());

  w->ue_cus(1);
  EXPECT_EQ(w->dw_display->dataobject(), "d_svc304_01");
  EXPECT_EQ(w->is_menutext[1], "全部");
  EXPECT_EQ(w->menu().name, "m_maintain_single");

  // From the all list, insert goes back to the current list and opens a new record.
  w->ue_cus(1);
  ASSERT_EQ(w->ue_do_insert(), 1);
  EXPECT_EQ(w->dw_display->dataobject(), "d_svc304_01");
  EXPECT_EQ(w->is_menutext[1], "全部");
  w_svc304_01* e = desk.entry();
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->dw_edit->dataobject(), "d_svc304_01_01");
  const long row = e->dw_edit->getrow();
  ASSERT_EQ(row, 1);
  EXPECT_EQ(e->dw_edit->getitemstring(row, "cczydm"), "001");
  EXPECT_EQ(e->dw_edit->getitemstring(row, "cgsh"), "01");
  EXPECT_EQ(e->dw_edit->getitemdatetime(row, "dfxrq")->date(), desk.shop.session->g.gd_xtrq.date());
}

TEST(ReworkList, EntryFormFollowsTheListAndTheTerminalParameter) {
  ReworkDesk desk;
  w_svc304* w = desk.list();
  ASSERT_NE(w, nullptr);
  w->ue_cus(1);  // all records
  w->dw_display->setrow(row_of(*w, "2010000000042"));
  ASSERT_EQ(w->ue_do_change(), 1);
  EXPECT_EQ(desk.entry()->dw_edit->dataobject(), "d_svc304_01_02");
  EXPECT_EQ(desk.entry()->menu().name, "m_sys_14");
  EXPECT_EQ(desk.entry()->dw_edit->getitemstring(1, "cwtsbh"), "2010000000042");
  // That form is not saved: deleting there is refused whole.
  desk.shop.ui.answers = {1};
  EXPECT_EQ(desk.entry()->ue_do_delete(), 0);
  EXPECT_EQ(desk.shop.ui.texts().back(), "数据保存失败！");
  EXPECT_EQ(desk.text("select count(*) into :v from svcb50_h where cwtsbh = '2010000000042'"), "1");

  // Terminals switched on after the list opened: the labour-hour forms.
  desk.shop.session->sqlca.exec("update sysi90 set ccsz = '1' where ccsdm = 'lsygsgl' and cgsh = '01'");
  desk.shop.session->sqlca.commit();
  w->ue_do_change();
  EXPECT_EQ(desk.entry()->dw_edit->dataobject(), "d_svc304_01_02_gsgl");
  w->ue_cus(1);  // current records
  w->dw_display->setrow(row_of(*w, "1010000000005"));
  w->ue_do_change();
  EXPECT_EQ(desk.entry()->dw_edit->dataobject(), "d_svc304_01_01_gsgl");
  // lxmzdgw is "0" in company 01: the labels stay.
  EXPECT_EQ(desk.entry()->dw_edit->describe("cgwdm_t.text"), "返修工位");
}

TEST(ReworkList, RefusesToRunWithLabourHourManagement) {
  ReworkDesk desk("02");
  w_svc304* w = desk.list();
  EXPECT_EQ(desk.shop.ui.texts(), std::vector<std::string>{"系统使用工时管理，不能使用该功能！"});
  EXPECT_TRUE(w == nullptr || !w->is_open());
  EXPECT_EQ(desk.shop.windows->find("w_svc304"), nullptr);
}

TEST(ReworkList, DeleteClearsTheFlagInTheCurrentOrHistoryItems) {
  ReworkDesk desk;
  w_svc304* w = desk.list();
  ASSERT_NE(w, nullptr);

  // Declined: nothing changes.
  w->dw_display->setrow(row_of(*w, "1010000000005"));
  desk.shop.ui.answers = {2};
  EXPECT_EQ(w->ue_do_delete(), 0);
  EXPECT_EQ(desk.flag("svcb20d", "1010000000005", "ZD002"), "1");

  // A current work order: svcb20d.
  desk.shop.ui.answers = {1};
  EXPECT_EQ(w->ue_do_delete(), 1);
  EXPECT_EQ(desk.flag("svcb20d", "1010000000005", "ZD002"), "0");
  EXPECT_EQ(desk.text("select count(*) into :v from svcb50 where cwtsbh = '1010000000005'"), "0");
  EXPECT_EQ(row_of(*w, "1010000000005"), 0);

  // A current record of a work order in history: svcb20d_h.
  EXPECT_EQ(desk.flag("svcb20d_h", "1010000000041", "ZD001"), "1");
  w->dw_display->setrow(row_of(*w, "1010000000041"));
  desk.shop.ui.answers = {1};
  EXPECT_EQ(w->ue_do_delete(), 1);
  EXPECT_EQ(desk.flag("svcb20d_h", "1010000000041", "ZD001"), "0");

  // A history record from the all list.
  w->ue_cus(1);
  const std::string item = desk.text("select cwxxmdm into :v from svcb50_h where cwtsbh = '2010000000042'");
  w->dw_display->setrow(row_of(*w, "2010000000042"));
  desk.shop.ui.answers = {1};
  EXPECT_EQ(w->ue_do_delete(), 1) << ::testing::PrintToString(desk.shop.ui.texts());
  EXPECT_EQ(desk.text("select count(*) into :v from svcb50_h where cwtsbh = '2010000000042'"), "0");
  EXPECT_EQ(desk.flag("svcb20d_h", "2010000000042", item), "0");
  EXPECT_FALSE(desk.shop.session->sqlca.in_transaction());

  // Every record gone: the empty list's message.
  desk.shop.session->sqlca.exec("delete from svcb50 where cgsh = '01'");
  desk.shop.session->sqlca.exec("delete from svcb50_h where cgsh = '01'");
  desk.shop.session->sqlca.commit();
  w->ue_refresh();
  desk.shop.ui.shown.clear();
  EXPECT_EQ(w->ue_do_delete(), 0);
  EXPECT_EQ(desk.shop.ui.texts(), std::vector<std::string>{"没有要删除的行！"});
}

struct DeleteFailure {
  const char* statement;
  const char* message;
};
void PrintTo(const DeleteFailure& f, std::ostream* os) { *os << '"' << f.statement << "\" fails: " << f.message; }

class ReworkListDeleteFailure : public ::testing::TestWithParam<DeleteFailure> {};

// Each statement of the list's delete of a history work order's record, failed in turn.
TEST_P(ReworkListDeleteFailure, ShowsTheStepsMessageAndChangesNothing) {
  ReworkDesk desk;
  const DeleteFailure f = GetParam();
  w_svc304* w = desk.list();
  ASSERT_NE(w, nullptr);
  w->dw_display->setrow(row_of(*w, "1010000000041"));
  const std::string before = kq::testing::dump_database(desk.shop.db_path());
  desk.shop.session->sqlca.faults().fail_matching(f.statement, "injected failure");
  desk.shop.ui.answers = {1};
  EXPECT_EQ(w->ue_do_delete(), 0);
  EXPECT_FALSE(desk.shop.session->sqlca.faults().pending()) << f.statement << " never ran";
  EXPECT_EQ(desk.shop.ui.texts().back(), f.message);
  EXPECT_FALSE(desk.shop.session->sqlca.in_transaction());
  EXPECT_EQ(kq::testing::dump_database(desk.shop.db_path()), before) << f.statement;
  EXPECT_GT(row_of(*w, "1010000000041"), 0) << "the record left the list";
}

INSTANTIATE_TEST_SUITE_P(EveryStatement, ReworkListDeleteFailure,
                         ::testing::Values(DeleteFailure{"update svcb20d set lfgbs", "更新委托书维修项目返工标识失败！"},
                                           DeleteFailure{"update svcb20d_h set lfgbs", "更新委托书维修项目返工标识失败！"},
                                           DeleteFailure{"delete from svcb50", "数据保存失败！"},
                                           DeleteFailure{"commit", "数据提交失败！"}),
                         kq::testing::name_cases<DeleteFailure>([](const DeleteFailure& f) { return std::string(f.statement); }));

}  // namespace
}  // namespace kq::svc
