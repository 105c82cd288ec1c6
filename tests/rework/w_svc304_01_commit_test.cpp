// Every statement of the rework entry's save and delete (labour-hour mode,
// company 02) failed in turn: the step's own message is shown and both
// databases stay exactly as they were.
#include <gtest/gtest.h>

#include "rework/rework_desk.h"
#include "support/case_names.h"
#include "support/database_dump.h"

namespace kq::svc {
namespace {

using testing::ReworkDesk;

struct Failure {
  const char* statement;  // a part of the failing statement's text
  const char* message;    // what the person sees
};
void PrintTo(const Failure& f, std::ostream* os) { *os << '"' << f.statement << "\" fails: " << f.message; }

// A new rework record of 2020000000003/BY001 at station 01, ready to save.
w_svc304_01* new_record(ReworkDesk& desk) {
  w_svc304_01* w = desk.add();
  if (!w) return nullptr;
  desk.pick(*w, "cwtsbh", "2020000000003");
  desk.pick(*w, "cwxxmdm", "BY001");
  desk.pick(*w, "cbzdm", "B01");
  desk.pick(*w, "cgwdm", "01");
  return w;
}

void expect_unchanged(ReworkDesk& desk, const std::string& before, const Failure& f) {
  EXPECT_FALSE(desk.shop.session->sqlca.faults().pending()) << f.statement << " never ran";
  ASSERT_FALSE(desk.shop.ui.texts().empty()) << f.statement << " failed silently";
  EXPECT_EQ(desk.shop.ui.texts().back(), f.message) << f.statement;
  EXPECT_FALSE(desk.shop.session->sqlca.in_transaction()) << f.statement;
  EXPECT_EQ(kq::testing::dump_database(desk.shop.db_path()), before) << f.statement;
}

class ReworkSaveFailure : public ::testing::TestWithParam<Failure> {};

TEST_P(ReworkSaveFailure, FirstSaveShowsTheStepsMessageAndWritesNothing) {
  ReworkDesk desk("02");
  const Failure f = GetParam();
  w_svc304_01* w = new_record(desk);
  ASSERT_NE(w, nullptr);
  const std::string before = kq::testing::dump_database(desk.shop.db_path());
  desk.shop.ui.shown.clear();
  desk.shop.session->sqlca.faults().fail_matching(f.statement, "injected failure");
  EXPECT_EQ(w->ue_cus(1), 0);
  expect_unchanged(desk, before, f);
  // Saved again without the failure, the record goes through whole.
  desk.shop.ui.shown.clear();
  EXPECT_EQ(w->ue_cus(1), 1) << ::testing::PrintToString(desk.shop.ui.texts());
  EXPECT_EQ(desk.rework_jobs("2020000000003", "BY001"), "1");
  EXPECT_EQ(desk.flag("svcb20d", "2020000000003", "BY001"), "1");
}

INSTANTIATE_TEST_SUITE_P(
    EveryStatement, ReworkSaveFailure,
    ::testing::Values(Failure{"from v_svc300_01", "委托书编号不存在!"},
                      Failure{"from svcb20d where cwtsbh = :ls_wtsbh and cwxxmdm", "维修项目在该委托书中不存在!"},
                      Failure{"select cxmmc into :ls_wxxm", "读取委托书修理项目名称失败！"},
                      Failure{"from sysc02", "班组代码不存在!"},
                      Failure{"from v_wtcc01", "读取返修工位信息失败！"},
                      Failure{"from wtci90", "读取工时管理时间单位信息设置失败！"},
                      Failure{"select count ( *) into :li_count from wtcb01c", "下传维修项目信息失败！"},
                      Failure{"insert into wtcb01c", "下传维修项目信息失败！"},
                      Failure{"insert into svcb50", "数据保存失败！"},
                      Failure{"update svcb20d set lfgbs = 1", "修改该委托书的的返工标识失败!"},
                      Failure{"commit", "数据提交失败！"}),
    kq::testing::name_cases<Failure>([](const Failure& f) { return std::string(f.statement); }));

class ReworkResendFailure : public ::testing::TestWithParam<Failure> {};

// A later save of the existing record 1020000000001/KT001 re-sends its job.
TEST_P(ReworkResendFailure, LaterSaveShowsTheStepsMessageAndWritesNothing) {
  ReworkDesk desk("02");
  const Failure f = GetParam();
  w_svc304_01* w = desk.open_record("1020000000001", "KT001");
  ASSERT_NE(w, nullptr);
  desk.set(*w, "nkk", Value(Decimal(10)));
  const std::string before = kq::testing::dump_database(desk.shop.db_path());
  desk.shop.session->sqlca.faults().fail_matching(f.statement, "injected failure");
  EXPECT_EQ(w->ue_cus(1), 0);
  expect_unchanged(desk, before, f);
}

INSTANTIATE_TEST_SUITE_P(EveryStatement, ReworkResendFailure,
                         ::testing::Values(Failure{"update wtcb01c set cwxgwdm", "下传维修项目信息失败！"},
                                           Failure{"update svcb50", "数据保存失败！"}),
                         kq::testing::name_cases<Failure>([](const Failure& f) { return std::string(f.statement); }));

class ReworkDeleteFailure : public ::testing::TestWithParam<Failure> {};

TEST_P(ReworkDeleteFailure, DeleteShowsTheStepsMessageAndRemovesNothing) {
  ReworkDesk desk("02");
  const Failure f = GetParam();
  w_svc304_01* w = desk.open_record("1020000000001", "KT001");
  ASSERT_NE(w, nullptr);
  const std::string before = kq::testing::dump_database(desk.shop.db_path());
  desk.shop.session->sqlca.faults().fail_matching(f.statement, "injected failure");
  desk.shop.ui.answers = {1};
  EXPECT_EQ(w->ue_do_delete(), 0);
  expect_unchanged(desk, before, f);
  EXPECT_EQ(w->dw_edit->rowcount(), 1) << "the record left the window";
}

INSTANTIATE_TEST_SUITE_P(EveryStatement, ReworkDeleteFailure,
                         ::testing::Values(Failure{"update svcb20d set lfgbs = 0", "更新委托书维修项目返工标识失败！"},
                                           Failure{"delete wtcb01c", "删除工时管理项目记录表失败！"},
                                           Failure{"delete from svcb50", "数据保存失败！"},
                                           Failure{"commit", "数据提交失败！"}),
                         kq::testing::name_cases<Failure>([](const Failure& f) { return std::string(f.statement); }));

}  // namespace
}  // namespace kq::svc
