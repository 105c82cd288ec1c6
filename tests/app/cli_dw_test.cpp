#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "support/cli_demo_shop.h"

namespace kq {
namespace {

using kq::testing::read_file;
using kq::testing::run_kq;

class CliDw : public kq::testing::CliDemoShop {};

TEST_F(CliDw, JsonRowsCarryColumnsAndComputedFieldsWithTheirTypes) {
  auto r = run_kq("dw d_svc305_01 2026/12/08 2026/12/08" + at() + " --format json");
  ASSERT_EQ(r.status, 0) << r.err;
  auto rows = nlohmann::json::parse(r.out);
  ASSERT_TRUE(rows.is_array());
  ASSERT_FALSE(rows.empty());
  const auto& first = rows[0];
  EXPECT_TRUE(first["nhjje"].is_number()) << first.dump();
  EXPECT_TRUE(first["cwtsbh"].is_string());
  EXPECT_EQ(first["djsrq"].get<std::string>().substr(0, 10), "2026/12/08");
  EXPECT_EQ(first["compute_1"], "记录数:1/" + std::to_string(rows.size()));
  for (const auto& row : rows) EXPECT_TRUE(row["cwxzt"] == "1" || row["cwxzt"] == "2") << row.dump();
}

TEST_F(CliDw, CsvHasAHeadingLineAndOneLinePerRow) {
  auto json = nlohmann::json::parse(run_kq("dw d_svc309_01" + at()).out);
  auto r = run_kq("dw d_svc309_01" + at() + " --format csv");
  ASSERT_EQ(r.status, 0) << r.err;
  size_t lines = 0;
  for (char c : r.out) lines += c == '\n';
  EXPECT_EQ(lines, json.size() + 1);
  EXPECT_EQ(r.out.rfind("bs,cwtsbh,", 0), 0u) << r.out.substr(0, 80);
}

// The rows are written one by one: the whole is still one JSON document laid
// out as nlohmann::json::dump(2) lays it out, an empty list included, and the
// totals over all rows (computed once) agree with the rows.
TEST_F(CliDw, StreamedRowsFormOneIndentedDocumentWithTotalsOfAllRows) {
  auto r = run_kq("dw d_svc309_02 2026/01/01 2026/12/31" + at() + " --format json");
  ASSERT_EQ(r.status, 0) << r.err;
  auto rows = nlohmann::ordered_json::parse(r.out);
  ASSERT_GT(rows.size(), 1u);
  EXPECT_EQ(r.out, rows.dump(2) + "\n");
  long long cents = 0;  // the amounts to the cent, as whole numbers
  for (const auto& row : rows) cents += std::llround(row["nhjje"].get<double>() * 100);
  for (const auto& row : rows) {
    ASSERT_TRUE(row["compute_2"].is_number()) << row.dump();
    EXPECT_EQ(std::llround(row["compute_2"].get<double>() * 100), cents) << "sum(nhjje for all) on " << row["cwtsbh"];
  }

  auto none = run_kq("dw d_svc309_02 1999/01/01 1999/01/01" + at() + " --format json");
  ASSERT_EQ(none.status, 0) << none.err;
  EXPECT_EQ(none.out, "[]\n");
  auto csv = run_kq("dw d_svc309_02 1999/01/01 1999/01/01" + at() + " --format csv");
  EXPECT_EQ(csv.out.find("\r\n"), csv.out.size() - 2) << "the heading line alone: " << csv.out;
}

TEST_F(CliDw, SlipPrintsAsPdfAndHtml) {
  std::string pdf = (dir_ / "slip.pdf").string();
  auto r = run_kq("dw d_svc305_jsd1 1010000000005 01" + at() + " --format pdf --out " + pdf);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(read_file(pdf).rfind("%PDF", 0), 0u);
  auto html = run_kq("dw d_svc305_jsd1 1010000000005 01" + at() + " --format html");
  ASSERT_EQ(html.status, 0) << html.err;
  EXPECT_NE(html.out.find("结算单"), std::string::npos);
  EXPECT_NE(html.out.find("1010000000005"), std::string::npos);
}

TEST_F(CliDw, WrongArgumentsAndUnknownNamesFailClearly) {
  auto few = run_kq("dw d_svc305_jsd1 1010000000005" + at());
  EXPECT_EQ(few.status, 2);
  EXPECT_NE(few.err.find("takes 2 argument(s): bh, ls_gsh"), std::string::npos) << few.err;
  auto unknown = run_kq("dw d_nothing" + at());
  EXPECT_NE(unknown.status, 0);
  EXPECT_NE(unknown.err.find("d_nothing"), std::string::npos) << unknown.err;
  auto format = run_kq("dw d_svc309_01" + at() + " --format xml");
  EXPECT_EQ(format.status, 2);
}

}  // namespace
}  // namespace kq
