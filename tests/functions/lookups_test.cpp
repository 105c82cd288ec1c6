#include <gtest/gtest.h>

#include "functions/f_svc_add_xlxm.h"
#include "functions/f_svc_get_yhmc.h"
#include "functions/f_svc_getid.h"
#include "functions/f_svc_gsgsf.h"
#include "support/test_shop.h"

namespace kq {
namespace {

using kq::testing::TestShop;

class Lookups : public ::testing::Test {
 protected:
  void SetUp() override {
    shop.sql("insert into crmc04 (id, cdph, cpzh, ltybs, cgsh) values (11, 'LSVAA4181E2000001', '京A12345', 0, '01')");
    shop.sql("insert into crmc04 (id, cdph, cpzh, ltybs, cgsh) values (12, 'LSVOLD00000000002', '京B00001', 1, '01')");
    shop.sql("insert into crmc04 (id, cdph, cpzh, ltybs, cgsh) values (13, 'LSVAA4181E2000001', '沪C99999', 0, '02')");
    shop.sql("insert into crmc04 (id, cdph, cpzh, ltybs, cgsh) values (14, 'LSVNEW00000000003', '京B00001', 0, '01')");
    shop.sql("insert into svcc03 (cgsde, lsygsdj, ngsdj, cgsh) values ('01', 1, 88.888888, '01')");
    shop.sql("insert into svcc03 (cgsde, lsygsdj, ngsdj, cgsh) values ('02', 0, 50, '01')");
  }
  TestShop shop;
};

TEST_F(Lookups, VehicleByChassisThenPlateInUseAndOfTheCompany) {
  EXPECT_EQ(f_svc_getid(std::string("LSVAA4181E2000001"), std::string("京B00001")), 11);  // chassis wins
  EXPECT_EQ(f_svc_getid(std::string(""), std::string("京B00001")), 14);  // the stopped record is skipped
  EXPECT_EQ(f_svc_getid(std::string("NOSUCHCHASSIS"), std::string("京A12345")), 11);  // falls through to the plate
  EXPECT_EQ(f_svc_getid(std::string("  "), std::string(" ")), 0);
  EXPECT_EQ(f_svc_getid(std::nullopt, std::nullopt), 0);
  EXPECT_EQ(f_svc_getid(std::string("x' or '1'='1"), std::nullopt), 0);
  EXPECT_TRUE(shop.ui.shown.empty());
}

TEST_F(Lookups, BlankArgumentsDoNotTouchTheDatabase) {
  int64_t before = shop.session->sqlca.statement_count();
  EXPECT_EQ(f_svc_getid(std::string(""), std::string("   ")), 0);
  EXPECT_EQ(shop.session->sqlca.statement_count(), before);
}

TEST_F(Lookups, LabourFeeByRateClass) {
  EXPECT_EQ(f_svc_gsgsf(std::string("01"), *Decimal::parse("1.5")), *Decimal::parse("133.333332"));
  EXPECT_EQ(f_svc_gsgsf(std::string("02"), *Decimal::parse("3")), Decimal(0));
  EXPECT_TRUE(shop.ui.shown.empty());
  EXPECT_EQ(f_svc_gsgsf(std::string("99"), *Decimal::parse("3")), Decimal(0));
  ASSERT_EQ(shop.ui.texts(), std::vector<std::string>{"提取工时单价失败!"});
}

TEST_F(Lookups, VehicleQueryFailureShowsItsMessage) {
  shop.session->sqlca.faults().fail_matching("crmc04", "simulated failure");
  EXPECT_EQ(f_svc_getid(std::string("LSVAA4181E2000001"), std::nullopt), 0);
  EXPECT_EQ(shop.ui.texts(), std::vector<std::string>{"读取当前数据的车辆信息出错!"});
}

TEST_F(Lookups, UserNameAndAddHook) {
  EXPECT_EQ(f_svc_get_yhmc(), "测试员");
  EXPECT_TRUE(f_svc_add_xlxm());
}

}  // namespace
}  // namespace kq
