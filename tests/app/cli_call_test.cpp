#include <gtest/gtest.h>

#include <filesystem>

#include "support/cli_demo_shop.h"

namespace kq {
namespace {

using kq::testing::run_kq;

class CliCall : public kq::testing::CliDemoShop {};

TEST_F(CliCall, VehicleIdByChassisOrPlate) {
  auto unknown = run_kq("call f_svc_getid NO_SUCH_CHASSIS \"\"" + at());
  EXPECT_EQ(unknown.status, 0) << unknown.err;
  EXPECT_EQ(unknown.out, "0\n");
  auto blank = run_kq("call f_svc_getid \"\" \"\"" + at());
  EXPECT_EQ(blank.out, "0\n");
  // A quote in the argument is data, not SQL.
  auto hostile = run_kq("call f_svc_getid \"x' or '1'='1\" \"\"" + at());
  EXPECT_EQ(hostile.out, "0\n");
  EXPECT_EQ(hostile.err, "");
}

TEST_F(CliCall, UnknownRateClassShowsTheMessageOnStandardError) {
  auto r = run_kq("call f_svc_gsgsf ZZ 2.5" + at());
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "0\n");
  EXPECT_NE(r.err.find("提取工时单价失败!"), std::string::npos) << r.err;
}

TEST_F(CliCall, WrongCallsAndMissingDatabaseFailClearly) {
  auto unknown = run_kq("call f_nothing" + at());
  EXPECT_EQ(unknown.status, 2);
  EXPECT_NE(unknown.err.find("f_svc_getid"), std::string::npos);
  auto arity = run_kq("call f_svc_getid onlyone" + at());
  EXPECT_EQ(arity.status, 2);
  auto missing = run_kq("call f_svc_getid a b --db " + (dir_ / "none.db").string() + " --company 01");
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("does not exist"), std::string::npos) << missing.err;
  EXPECT_FALSE(std::filesystem::exists(dir_ / "none.db"));  // never created behind the user's back
  auto capitals = run_kq("call f_svc_upper_je 100000");
  EXPECT_EQ(capitals.out, " 壹拾万整\n");
}

}  // namespace
}  // namespace kq
