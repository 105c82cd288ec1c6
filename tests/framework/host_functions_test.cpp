#include <gtest/gtest.h>

#include <set>
#include <thread>

#include "framework/host_functions.h"
#include "support/test_shop.h"

namespace kq::fw {
namespace {

using kq::testing::TestShop;

TEST(HostFunctions, RetuParaMatchesGroupAndCodeWithoutCase) {
  TestShop shop;
  shop.sql("insert into sysi90 (cssxt, ccsdm, ccsz, cgsh) values ('SVC', 'LSYGSGL', '1', '01')");
  shop.sql("insert into sysi90 (cssxt, ccsdm, ccsz, cgsh) values ('SVC', 'LSYGSGL', '0', '02')");
  shop.sql("insert into sysi90 (cssxt, ccsdm, ccsz, cgsh) values ('SYS', 'CGSMC', NULL, '01')");
  EXPECT_EQ(f_retu_para("svc", "lsygsgl"), "1");
  EXPECT_EQ(f_retu_para("Svc", "LsyGsgl"), "1");
  EXPECT_EQ(f_retu_para("SYS", "CGSMC"), std::nullopt);   // stored null
  EXPECT_EQ(f_retu_para("SYS", "NOSUCH"), std::nullopt);  // absent
}

TEST(HostFunctions, ReadsKeepTheOutcomeOfTheWindowsLastStatement) {
  TestShop shop;
  auto& sqlca = shop.session->sqlca;
  sqlca.exec("update svcb20d set lfgbs = 1 where cwtsbh = 'NONE'");
  ASSERT_EQ(sqlca.sqlcode, 100);
  f_retu_para("SYS", "CGSMC");
  f_grmc(std::string("001"));
  f_recorder_exist("svcb20d", "cwtsbh = :bh", {{"bh", "X"}});
  EXPECT_EQ(sqlca.sqlcode, 100);
  sqlca.rollback();
}

TEST(HostFunctions, SqlcaReportsOnlyFailures) {
  TestShop shop;
  auto& sqlca = shop.session->sqlca;
  sqlca.exec("update svcb20d set lfgbs = 1 where cwtsbh = 'NONE'");
  EXPECT_EQ(f_sqlca("不该显示"), 1);  // 100 is no failure
  sqlca.exec("update no_such_table set x = 1");
  EXPECT_EQ(f_sqlca("下传维修项目信息失败！"), 0);
  ASSERT_EQ(shop.ui.shown.size(), 1u);
  EXPECT_EQ(shop.ui.shown[0].text, "下传维修项目信息失败！");
  EXPECT_EQ(shop.ui.shown[0].title, shop.session->g.gs_tsxx);
  sqlca.rollback();
}

TEST(HostFunctions, RecorderExistBindsValuesAndRefusesOddTableNames) {
  TestShop shop;
  shop.sql("insert into svcb20d (cwtsbh, cwxxmdm, cxmmc, cgsh) values ('1001', 'X01', 'it''s', '01')");
  EXPECT_TRUE(f_recorder_exist("svcb20d", "cwtsbh = :bh and cxmmc = :mc", {{"bh", "1001"}, {"mc", "it's"}}));
  EXPECT_FALSE(f_recorder_exist("svcb20d", "cwtsbh = :bh", {{"bh", "1001' or '1'='1"}}));
  EXPECT_FALSE(f_recorder_exist("svcb20d; drop table svcb20d", "1 = 1"));
  EXPECT_FALSE(f_recorder_exist("no_such_view", "1 = 1"));
  EXPECT_TRUE(f_recorder_exist("svcb20d", "cwtsbh = :bh", {{"bh", "1001"}}));
}

TEST(HostFunctions, GrmcBgfsAndAuthorities) {
  TestShop shop;
  shop.sql("insert into sysc03 (cgrdm, cgrmc, cgsh) values ('001', '王收银', '01')");
  shop.sql("insert into sysc03 (cgrdm, cgrmc, cgsh) values ('001', '别家', '02')");
  EXPECT_EQ(f_grmc(std::string("001")), "王收银");
  EXPECT_EQ(f_grmc(std::string("999")), std::nullopt);
  EXPECT_EQ(f_grmc(std::nullopt), std::nullopt);
  EXPECT_EQ(f_bgfs(std::string("NOSUCH")), std::nullopt);
  shop.session->g.authorities = {"CJ", " cp "};
  EXPECT_TRUE(f_retu_czyauth("CJ"));
  EXPECT_TRUE(f_retu_czyauth("CP"));
  EXPECT_FALSE(f_retu_czyauth("CQ"));
}

TEST(HostFunctions, QualityClauseCanBeWordedByTheShop) {
  TestShop shop;
  ASSERT_TRUE(f_qmbs_retu(4));
  EXPECT_EQ(f_qmbs_retu(4)->rfind("3、", 0), 0u);
  shop.sql("insert into sysi90 (cssxt, ccsdm, ccsz, cgsh) values ('SVC', 'CQMBS4', '3、本站自定条款。', '01')");
  EXPECT_EQ(f_qmbs_retu(4), "3、本站自定条款。");
  EXPECT_EQ(f_qmbs_retu(99), std::nullopt);
}

TEST(HostFunctions, LogLineIsCommittedOnItsOwnConnection) {
  TestShop shop;
  auto& sqlca = shop.session->sqlca;
  EXPECT_EQ(f_log_operate("取消结算:测试 ,总金额为 1,234.50 元。"), 1);
  sqlca.rollback();  // the window's rollback must not take the log line with it
  Long n;
  Str text;
  sqlca.exec("select count(1) into :n from kq_operation_log where cgsh = '01' and cczydm = '001'", {{"n", db::out(n)}});
  sqlca.exec("select cnr into :t from kq_operation_log where cgsh = '01'", {{"t", db::out(text)}});
  EXPECT_EQ(n, 1);
  EXPECT_EQ(text, "取消结算:测试 ,总金额为 1,234.50 元。");
}

TEST(HostFunctions, CountersNeverRepeatAcrossWorkstations) {
  TestShop shop;
  EXPECT_EQ(f_retu_djxh("SVC", "NHTH"), "0001");
  EXPECT_EQ(f_retu_djxh("svc", "nhth"), "0002");  // same series whatever the case
  EXPECT_EQ(f_retu_djxh("SVC", "NJYDH"), "0001");
  std::set<std::string> seen;
  std::mutex m;
  auto worker = [&] {
    auto s = shop.open_session("01");
    SessionScope scope(*s);
    for (int i = 0; i < 25; ++i) {
      Str n = f_retu_djxh("SVC", "NJYDH");
      ASSERT_TRUE(n);
      std::lock_guard<std::mutex> lock(m);
      EXPECT_TRUE(seen.insert(*n).second) << "handed out twice: " << *n;
    }
  };
  std::thread a(worker), b(worker);
  a.join();
  b.join();
  EXPECT_EQ(seen.size(), 50u);
  EXPECT_EQ(f_retu_djxh("SVC", "NJYDH"), "0052");
}

}  // namespace
}  // namespace kq::fw
