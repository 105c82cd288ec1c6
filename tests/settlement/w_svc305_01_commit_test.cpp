// The cancellation commit (ue_do_commit of w_svc305_01) on the demo shop:
// what a cancellation writes in both databases, what it leaves alone, and
// that every failure leaves both databases exactly as they were.
#include <gtest/gtest.h>

#include <set>

#include "platform/dw/datawindow/datawindow.h"
#include "platform/value/format.h"
#include "settlement/cancellation_desk.h"
#include "support/case_names.h"
#include "support/database_dump.h"

namespace kq::svc {
namespace {

using testing::CancellationDesk;
using kq::testing::dump_database;

std::string where_wo(const std::string& bh) { return " where cwtsbh = '" + bh + "' and cgsh = '01'"; }

// The card settlement 1010000000006 of company 01 (club installed, club
// database written too, finance installed): card 8801000001 paid 200.00 of
// stored value, points on it and on the second card 8801000002.
// On each backend (parameter).
class CancellationCommitOnBackend : public ::testing::TestWithParam<std::string> {};

TEST_P(CancellationCommitOnBackend, CardSettlementReversesEverythingInBothDatabases) {
  if (GetParam() == "postgresql") KQ_NEED_SERVER();
  CancellationDesk desk({"CJ", "CP", "CQ"}, true, GetParam());
  const std::string bh = "1010000000006";
  struct Card { Decimal dh, dj, lj, balance, club_dh, club_balance; };
  auto card = [&](int id) {
    const std::string k = std::to_string(id);
    return Card{desk.number("select ndhjf into :v from club01c where id = " + k),
                desk.number("select ndjjf into :v from club01c where id = " + k),
                desk.number("select nljjf into :v from club01c where id = " + k),
                desk.number("select nknye into :v from club01c where id = " + k),
                desk.number("select ndhjf into :v from kq_club..club01c where id = " + k),
                desk.number("select nknye into :v from kq_club..club01c where id = " + k)};
  };
  auto booked = [&](int id, const char* column) {
    return desk.number(std::string("select ") + column + " into :v from club08 where nkid = " + std::to_string(id) +
                       " and cdyywdh = '" + bh + "' and cywfl = 'SVC'");
  };
  const Card main = card(1), second = card(2);
  const Decimal main_dh = booked(1, "nbcdhjf"), main_dj = booked(1, "nbcdjjf"), main_lj = booked(1, "nbcljjf");
  const Decimal second_dh = booked(2, "nbcdhjf");
  EXPECT_EQ(main_dh, Decimal(150));
  EXPECT_EQ(second_dh, Decimal(50));
  const std::string vehicle = desk.text("select id into :v from svcb20c" + where_wo(bh));
  const Decimal visits = desk.number("select nwxcslj into :v from crmc04 where id = " + vehicle);
  const Decimal hours = desk.number("select ngs into :v from crmc04 where id = " + vehicle);
  const Decimal spent = desk.number("select nljje into :v from crmc04 where id = " + vehicle);
  const Decimal wo_hours = desk.number("select ngs into :v from svcb20c" + where_wo(bh));
  const Decimal total = desk.number("select nhjje into :v from svcb20c" + where_wo(bh));
  const Decimal undiscounted_labour = desk.number("select nysgsf into :v from svcb20c" + where_wo(bh));

  EXPECT_EQ(desk.cancel(bh, "0", "客户要求重新结算", "8801000001"), 1);
  EXPECT_EQ(desk.told(), std::vector<std::string>{"取消结算成功！"});

  // The header is unsettled, its settlement and invoice fields reset.
  EXPECT_EQ(desk.text("select cwxzt into :v from svcb20c" + where_wo(bh)), "0");
  EXPECT_EQ(desk.text("select convert(char(10), djsrq, 111) into :v from svcb20c" + where_wo(bh)), "1900/01/01");
  EXPECT_EQ(desk.text("select cskxf into :v from svcb20c" + where_wo(bh)), "0");
  EXPECT_EQ(desk.number("select nhykbcxfje into :v from svcb20c" + where_wo(bh)), Decimal(0));
  EXPECT_EQ(desk.number("select nhjje into :v from svcb20c" + where_wo(bh)), Decimal(0));
  EXPECT_EQ(desk.number("select nyhhgsf into :v from svcb20c" + where_wo(bh)), undiscounted_labour);
  // Company 01's prices include tax: the charge is the undiscounted one.
  EXPECT_EQ(desk.number("select nssgsf into :v from svcb20c" + where_wo(bh)), undiscounted_labour);
  EXPECT_EQ(desk.text("select count(*) into :v from sysb13 where cbs = '3' and cdydjh = '" + bh + "'"), "0");

  // Points off both cards, stored value back, logs gone: locally and in the club database.
  const Card main_after = card(1);
  EXPECT_EQ(main_after.dh, main.dh - main_dh);
  EXPECT_EQ(main_after.dj, main.dj - main_dj);
  EXPECT_EQ(main_after.lj, main.lj - main_lj);
  EXPECT_EQ(main_after.club_dh, main.club_dh - main_dh);
  EXPECT_EQ(main_after.balance, main.balance + Decimal(200));
  EXPECT_EQ(main_after.club_balance, main.club_balance + Decimal(200));
  EXPECT_EQ(desk.number("select ndhjf into :v from club01c where id = 2"), second.dh - second_dh);
  EXPECT_EQ(desk.number("select ndhjf into :v from kq_club..club01c where id = 2"), second.club_dh - second_dh);
  for (const char* t : {"club08", "kq_club..club08", "club07", "kq_club..club07"})
    EXPECT_EQ(desk.text(std::string("select count(*) into :v from ") + t + " where cdyywdh = '" + bh + "'"), "0") << t;

  // Customer statistics: one visit, its hours and its amount fewer.
  EXPECT_EQ(desk.number("select nwxcslj into :v from crmc04 where id = " + vehicle), visits - Decimal(1));
  EXPECT_EQ(desk.number("select ngs into :v from crmc04 where id = " + vehicle), hours - wo_hours);
  EXPECT_EQ(desk.number("select nljje into :v from crmc04 where id = " + vehicle), spent - total);

  // Finance was told; the slip is archived with its blob; one log line.
  EXPECT_EQ(desk.text("select count(*) into :v from kq_finance_call where cwtsbh = '" + bh + "'"), "1");
  EXPECT_EQ(desk.text("select cjszt into :v from svcb61" + where_wo(bh)), "1");
  EXPECT_EQ(desk.text("select cbz into :v from svcb61" + where_wo(bh)), "客户要求重新结算");
  EXPECT_EQ(desk.text("select cczymc into :v from svcb61" + where_wo(bh)), "王建国");
  EXPECT_EQ(desk.number("select nhjje into :v from svcb61" + where_wo(bh)), total);
  EXPECT_EQ(desk.text("select cnr into :v from kq_operation_log where cgsh = '01'"),
            "取消结算:将 1010000000006 的委托书由 结清 改为 未结 ,总金额为 " + format::number(total, "#,###.00") +
                " 元。 会员卡号： 8801000001 ;原因说明：客户要求重新结算");

  // The list no longer offers it.
  EXPECT_FALSE(desk.listed(bh));
  // The progress indicator was shown and removed.
  ASSERT_FALSE(desk.shop.ui.progress_shown.empty());
  EXPECT_EQ(desk.shop.ui.progress_shown.front().text, "正在取消结算，请稍候...");
}

INSTANTIATE_TEST_SUITE_P(Backends, CancellationCommitOnBackend, ::testing::Values("sqlite", "postgresql"),
                         [](const auto& info) { return info.param; });

TEST(CancellationCommit, ArchivedSlipIsTheSlipOfItsOwnWorkOrder) {
  // Two cancellations within the same second: each archive row keeps its own slip.
  DateTime::set_clock([] { return *DateTime::parse("2026/12/08 15:30:00"); });
  CancellationDesk desk;
  EXPECT_EQ(desk.cancel("1010000000005"), 1);
  EXPECT_EQ(desk.cancel("1010000000007", "0", "重新结算", "8801000003"), 1);
  DateTime::set_clock(nullptr);

  for (const char* bh : {"1010000000005", "1010000000007"}) {
    std::optional<Blob> blob;
    desk.shop.session->sqlca.exec("selectblob cblob into :b from svcb61 where cwtsbh = :bh",
                                  {{"bh", bh}, {"b", db::out(blob)}});
    ASSERT_EQ(desk.shop.session->sqlca.sqlcode, 0) << bh;
    ASSERT_TRUE(blob.has_value()) << bh;
    dw::DataWindow slip;
    ASSERT_EQ(slip.from_state_blob(*blob), 1) << bh;
    EXPECT_EQ(slip.getitemstring(1, "cwtsbh"), bh);
  }
}

TEST(CancellationCommit, UnchangedStatusWritesNothing) {
  CancellationDesk desk;
  const std::string before = dump_database(desk.shop.db_path());
  EXPECT_EQ(desk.cancel("1010000000005", "1"), 1);
  EXPECT_EQ(dump_database(desk.shop.db_path()), before);
  EXPECT_TRUE(desk.listed("1010000000005"));
  EXPECT_TRUE(desk.shop.ui.shown.empty());
}

TEST(CancellationCommit, CreditWithInvoiceReversesStatisticsAndReleasesNothingElse) {
  CancellationDesk desk;
  const std::string bh = "2010000000008";  // category 2, on credit, invoice type 1
  const std::string vehicle = desk.text("select id into :v from svcb20c" + where_wo(bh));
  const Decimal services = desk.number("select nbycs into :v from crmc04 where id = " + vehicle);
  const Decimal visits = desk.number("select nwxcslj into :v from crmc04 where id = " + vehicle);
  EXPECT_EQ(desk.cancel(bh), 1);
  EXPECT_EQ(desk.number("select nbycs into :v from crmc04 where id = " + vehicle), services - Decimal(1));
  EXPECT_EQ(desk.number("select nwxcslj into :v from crmc04 where id = " + vehicle), visits - Decimal(1));
  EXPECT_EQ(desk.text("select cfplxdm into :v from svcb20c" + where_wo(bh)), "");
  EXPECT_NE(desk.text("select cnr into :v from kq_operation_log where cgsh = '01'").find("由 欠账 改为 未结"), std::string::npos);
}

TEST(CancellationCommit, CreditWithoutInvoiceKeepsStatistics) {
  CancellationDesk desk;
  const std::string bh = "1010000000009";
  const std::string vehicle = desk.text("select id into :v from svcb20c" + where_wo(bh));
  const std::string stats = "select nwxcslj || '/' || ngs || '/' || nljje into :v from crmc04 where id = " + vehicle;
  const std::string before = desk.text(stats);
  EXPECT_EQ(desk.cancel(bh), 1);
  EXPECT_EQ(desk.text("select cwxzt into :v from svcb20c" + where_wo(bh)), "0");
  EXPECT_EQ(desk.text(stats), before);
}

TEST(CancellationCommit, FreeFirstServiceTakesBackAFreeVisitAndAService) {
  CancellationDesk desk;
  const std::string bh = "0010000000010";
  const std::string vehicle = desk.text("select id into :v from svcb20c" + where_wo(bh));
  const Decimal free_visits = desk.number("select nmfwxcs into :v from crmc04 where id = " + vehicle);
  const Decimal services = desk.number("select nbycs into :v from crmc04 where id = " + vehicle);
  const Decimal visits = desk.number("select nwxcslj into :v from crmc04 where id = " + vehicle);
  EXPECT_EQ(desk.cancel(bh), 1);
  EXPECT_EQ(desk.number("select nmfwxcs into :v from crmc04 where id = " + vehicle), free_visits - Decimal(1));
  EXPECT_EQ(desk.number("select nbycs into :v from crmc04 where id = " + vehicle), services - Decimal(1));
  EXPECT_EQ(desk.number("select nwxcslj into :v from crmc04 where id = " + vehicle), visits);
}

TEST(CancellationCommit, ClaimWorkOrderReleasesItsAccount) {
  CancellationDesk desk;
  EXPECT_EQ(desk.text("select czt into :v from svcb11d2 where czhdm = 'ZH01000014'"), "1");
  EXPECT_EQ(desk.cancel("Z010000000014"), 1);
  EXPECT_EQ(desk.text("select czt into :v from svcb11d2 where czhdm = 'ZH01000014'"), "8");
}

TEST(CancellationCommit, TwoWorkstationsCannotCancelTheSameSettlementTwice) {
  CancellationDesk first;
  // The second workstation: another session and window manager on the same files.
  auto second_session = first.shop.open_session();
  ui::ScriptedUi second_ui;
  second_session->ui = &second_ui;
  second_session->g.authorities = {"CJ", "CP", "CQ"};
  second_session->g.gi_cwaz = 1;
  second_session->g.gs_startfile = first.shop.dir().string();
  ui::WindowManager second_windows(first.shop.registry);

  const std::string bh = "1010000000006";
  w_svc305_01* mine = first.open(bh);
  ASSERT_NE(mine, nullptr);
  w_svc305_01* theirs = nullptr;
  {
    fw::SessionScope scope(*second_session);
    auto* list = dynamic_cast<w_svc305*>(second_windows.open("w_svc305"));
    ASSERT_NE(list, nullptr);
    long row = 0;
    for (long r = 1; r <= list->dw_display->rowcount(); ++r)
      if (list->dw_display->getitemstring(r, "cwtsbh") == bh) row = r;
    ASSERT_GT(row, 0);
    list->dw_display->setrow(row);
    list->dw_display_doubleclicked(0, 0, row, "cwtsbh");
    theirs = dynamic_cast<w_svc305_01*>(second_windows.find("w_svc305_01"));
    ASSERT_NE(theirs, nullptr);
  }
  CancellationDesk::enter(*mine, "0", "重复取消测试", "8801000001");
  EXPECT_EQ(first.save(*mine), 1);
  const std::string after_first = dump_database(first.shop.db_path());

  // The second window, on the row as it was read, saves again: nothing changes.
  fw::SessionScope scope(*second_session);
  CancellationDesk::enter(*theirs, "0", "重复取消测试", "8801000001");
  second_ui.answers.push_back(1);
  theirs->ue_cus(1);
  EXPECT_EQ(CancellationDesk::told_by(second_ui), std::vector<std::string>{"更改结算状态失败!"});
  EXPECT_FALSE(second_session->sqlca.in_transaction());
  EXPECT_EQ(dump_database(first.shop.db_path()), after_first);
}

// ---------------------------------------------------------------- failures

struct Failure {
  const char* statement;  // a part of the statement's text that fails
  const char* message;    // what the cashier sees
};
void PrintTo(const Failure& f, std::ostream* os) { *os << '"' << f.statement << "\" fails: " << f.message; }

class CancellationCommitFailure : public ::testing::TestWithParam<Failure> {};

// Each statement of the card settlement's cancellation, failed in turn.
TEST_P(CancellationCommitFailure, ShowsTheStepsMessageAndChangesNothing) {
  CancellationDesk desk;
  const Failure f = GetParam();
  w_svc305_01* w = desk.open("1010000000006");
  ASSERT_NE(w, nullptr);
  CancellationDesk::enter(*w, "0", "客户要求重新结算", "8801000001");
  const std::string before = dump_database(desk.shop.db_path());
  desk.shop.session->sqlca.faults().fail_matching(f.statement, "injected failure");
  EXPECT_EQ(desk.save(*w), 1);  // the command ran; the cancellation did not
  EXPECT_FALSE(desk.shop.session->sqlca.faults().pending()) << f.statement << " never ran";
  EXPECT_EQ(desk.told(), std::vector<std::string>{f.message});
  EXPECT_NE(desk.shop.windows->find("w_svc305_01"), nullptr) << "the window stays open to save again";
  EXPECT_FALSE(desk.shop.session->sqlca.in_transaction());
  EXPECT_EQ(dump_database(desk.shop.db_path()), before) << f.statement;
  EXPECT_TRUE(desk.listed("1010000000006"));
}

INSTANTIATE_TEST_SUITE_P(
    EveryStatement, CancellationCommitFailure,
    ::testing::Values(
        Failure{"select top 1 nhjje", "读取委托书合计金额失败"},
        Failure{"update svcb20c set cwxzt", "更改结算状态失败!"},
        Failure{"delete from sysb13", "更新累计收款信息表失败!"},
        Failure{"select id into :ll_kid from club01c", "获取卡id信息失败！"},
        Failure{"from club08 where nkid = :ll_kid", "获取积分信息失败！"},
        Failure{"update club01c set ndhjf", "更新会员卡积分信息失败！"},
        Failure{"update kq_club..club01c set ndhjf", "更新会员卡积分信息失败！"},
        Failure{"select nkid into :ll_zkid", "获取主辅卡信息失败！"},
        Failure{"from club08 where nkid = :ll_zkid", "获取积分信息失败！"},
        Failure{"update club01c set ndhjf = ndhjf - :ldc_dh , ndjjf = ndjjf - :ldc_dj , nljjf = nljjf - :ldc_lj where id = :ll_zkid",
                "更新会员卡积分信息失败！"},
        Failure{"update kq_club..club01c set ndhjf = ndhjf - :ldc_dh , ndjjf = ndjjf - :ldc_dj , nljjf = nljjf - :ldc_lj where id = :ll_zkid",
                "更新会员俱乐部会员卡积分信息失败！"},
        Failure{"delete club08", "删除积分日志失败！"},
        Failure{"delete kq_club..club08", "删除会员俱乐部积分日志失败！"},
        Failure{"update club01c set nknye", "更新会员卡余额信息失败！"},
        Failure{"update kq_club..club01c set nknye", "更新中间库会员卡余额信息失败！"},
        Failure{"delete club07", "删除储值日志失败！"},
        Failure{"delete kq_club..club07", "删除中间库储值日志失败！"},
        Failure{"update svcb20c set cskxf = '0'", "更新刷卡消费标识失败！"},
        Failure{"update crmc04", "更新该委托书的客户档案失败!"},
        Failure{"select npzid", "读取委托书财务信息失败！"},
        Failure{"insert into kq_finance_call", "财务取消结算失败！"},
        Failure{"update svcb20c set cfph", "更新该委托书的客户档案失败！"},
        Failure{"commit", "数据提交失败！"}),
    kq::testing::name_cases<Failure>([](const Failure& f) { return std::string(f.statement); }));

// Every statement the cancellation runs, failed in turn by its position:
// either the cancellation stops with a message and both databases are as
// before, or (a failure the cancellation may pass over: the archive, a
// parameter read) it completes. On each backend (parameter).
class CancellationCommitSweep : public ::testing::TestWithParam<std::string> {};

TEST_P(CancellationCommitSweep, EveryStatementFailedInTurnLeavesNoHalfCancellation) {
  if (GetParam() == "postgresql") KQ_NEED_SERVER();
  int64_t statements = 0;
  {
    CancellationDesk desk({"CJ", "CP", "CQ"}, true, GetParam());
    w_svc305_01* w = desk.open("1010000000006");
    ASSERT_NE(w, nullptr);
    CancellationDesk::enter(*w, "0", "客户要求重新结算", "8801000001");
    const int64_t start = desk.shop.session->sqlca.statement_count();
    ASSERT_EQ(desk.save(*w), 1);
    statements = desk.shop.session->sqlca.statement_count() - start;
  }
  ASSERT_GT(statements, 20);
  int stopped = 0;
  for (int64_t n = 1; n <= statements; ++n) {
    CancellationDesk desk({"CJ", "CP", "CQ"}, true, GetParam());
    w_svc305_01* w = desk.open("1010000000006");
    ASSERT_NE(w, nullptr);
    CancellationDesk::enter(*w, "0", "客户要求重新结算", "8801000001");
    const std::string before = desk.shop.dump();
    desk.shop.session->sqlca.faults().fail_nth(n, "injected failure");
    desk.save(*w);
    EXPECT_FALSE(desk.shop.session->sqlca.in_transaction()) << "statement " << n;
    const std::string status = desk.text("select cwxzt into :v from svcb20c where cwtsbh = '1010000000006'");
    if (status == "1") {
      ++stopped;
      EXPECT_EQ(desk.shop.dump(), before) << "statement " << n;
      EXPECT_FALSE(desk.told().empty()) << "statement " << n << " failed silently";
    } else {
      // Completed: everything reversed, as without the failure.
      EXPECT_EQ(status, "0") << "statement " << n;
      EXPECT_EQ(desk.text("select count(*) into :v from club08 where cdyywdh = '1010000000006'"), "0");
      EXPECT_EQ(desk.text("select count(*) into :v from kq_operation_log where cgsh = '01'"), "1");
    }
  }
  EXPECT_GT(stopped, 15);
}

INSTANTIATE_TEST_SUITE_P(Backends, CancellationCommitSweep, ::testing::Values("sqlite", "postgresql"),
                         [](const auto& info) { return info.param; });

}  // namespace
}  // namespace kq::svc

namespace kq::svc {
namespace {

// The save asks what it will change before anything is written, and says
// that it happened; the window then closes and the refreshed list is in
// front with the focus. A window saved again on a row that is no longer
// settled changes nothing (TwoWorkstationsCannotCancelTheSameSettlementTwice).
TEST(CancellationCommit, AskedBeforeAndToldAfter) {
  CancellationDesk desk;
  const std::string bh = "1010000000006";
  w_svc305_01* w = desk.open(bh);
  ASSERT_NE(w, nullptr);
  CancellationDesk::enter(*w, "0", "客户要求重新结算", "8801000001");
  const std::string before = dump_database(desk.shop.db_path());
  const std::string amount =
      format::number(desk.number("select nhjje into :v from svcb20c" + where_wo(bh)), "###,##0.00");
  const std::vector<std::string> question{"确定将委托书 " + bh + " 的结算状态由 结清 改为 未结 ？金额 " + amount + " 元。"};

  // 否: nothing is written, nothing more is said, the window stays.
  desk.shop.ui.answers.push_back(2);
  EXPECT_EQ(w->ue_cus(1), 0);
  EXPECT_EQ(desk.asked(), question);
  ASSERT_EQ(desk.shop.ui.shown.size(), 1u);
  EXPECT_EQ(desk.shop.ui.shown[0].default_button, 2) << "否 is the default of an irreversible save";
  EXPECT_TRUE(desk.shop.ui.progress_shown.empty());
  EXPECT_EQ(dump_database(desk.shop.db_path()), before);
  EXPECT_EQ(desk.shop.windows->find("w_svc305_01"), w);

  // 是: cancelled, told, closed; the list in front without the work order.
  desk.shop.ui.shown.clear();
  EXPECT_EQ(desk.save(*w), 1);
  EXPECT_EQ(desk.asked(), question);
  EXPECT_EQ(desk.told(), std::vector<std::string>{"取消结算成功！"});
  EXPECT_EQ(desk.text("select cwxzt into :v from svcb20c" + where_wo(bh)), "0");
  EXPECT_EQ(desk.shop.windows->find("w_svc305_01"), nullptr);
  w_svc305& list = desk.list();
  EXPECT_EQ(desk.shop.windows->active(), &list);
  EXPECT_EQ(list.focus(), "dw_display");
  EXPECT_FALSE(desk.listed(bh));

  // An unchanged status asks nothing and tells nothing.
  desk.shop.ui.shown.clear();
  EXPECT_EQ(desk.cancel("1010000000005", "1"), 1);
  EXPECT_TRUE(desk.shop.ui.shown.empty()) << ::testing::PrintToString(desk.shop.ui.texts());
  EXPECT_NE(desk.shop.windows->find("w_svc305_01"), nullptr);
}

}  // namespace
}  // namespace kq::svc
