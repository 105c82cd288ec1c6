#include <gtest/gtest.h>

#include "support/run_process.h"

namespace kq {
namespace {

using kq::testing::run_kq;

TEST(CliUpperJe, ConvertsArgumentsInOrderIncludingNegatives) {
  auto r = run_kq("upper-je 100000 -0.5 -- -100 0.05");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, " 壹拾万整\n负零元伍角\n负 壹佰元整\n零元零伍分\n");
  EXPECT_EQ(r.err, "");
}

TEST(CliUpperJe, ConvertsEachLineOfStandardInput) {
  auto r = run_kq("upper-je", "100000\n  20.07 \n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, " 壹拾万整\n 贰拾元零柒分\n");
}

TEST(CliUpperJe, BadLinesLeaveAnEmptyLineAndFailAtTheEnd) {
  auto r = run_kq("upper-je", "1\nabc\n\n10000000000000\n-0.5\n");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, " 壹元整\n\n\n\n负零元伍角\n");
  EXPECT_NE(r.err.find("line 2: \"abc\" is not an amount of money"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("line 3"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("line 4: 10000000000000 is outside the range"), std::string::npos) << r.err;
}

TEST(CliUpperJe, HelpDescribesTheCommand) {
  auto r = run_kq("--help");
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("upper-je"), std::string::npos);
  auto unknown = run_kq("no-such-command");
  EXPECT_NE(unknown.status, 0);
}

}  // namespace
}  // namespace kq
