// dw --server: a data window retrieved from a shop on a database server gives
// the rows the same shop gives from its file; the server is named as db
// --server names it, never with a password.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "support/cli_demo_shop.h"
#include "support/server_database.h"

namespace kq {
namespace {

using kq::testing::run_kq;
using kq::testing::shell_quote;

// The demo of the same business date in a file (the suite's) and on a
// database of the test cluster, both built by `db demo`.
class CliDwServer : public kq::testing::CliDemoShop {
 protected:
  void SetUp() override {
    KQ_NEED_SERVER();
    if (!server_) {
      server_ = std::make_unique<kq::testing::ServerDatabase>();
      auto r = run_kq("db demo --today 2026/12/08 --server " + shell_quote(server_->conninfo()));
      ASSERT_EQ(r.status, 0) << r.err;
    }
  }
  static void TearDownTestSuite() {
    server_.reset();
    CliDemoShop::TearDownTestSuite();
  }
  static std::string on_server() { return " --server " + shell_quote(server_->conninfo()) + " --company 01"; }

  static inline std::unique_ptr<kq::testing::ServerDatabase> server_;
};

// The rows of a JSON answer, each as its text, sorted: the order of rows
// with equal sort keys is the backend's.
std::vector<std::string> rows_of(const std::string& out) {
  std::vector<std::string> rows;
  for (const auto& row : nlohmann::ordered_json::parse(out)) rows.push_back(row.dump());
  std::sort(rows.begin(), rows.end());
  return rows;
}

TEST_F(CliDwServer, ListsByDayAndSlipsAnswerFromTheServerAsFromTheFile) {
  // The lists by day (a range of days, one day, and the day's work orders
  // by number) and a settlement slip.
  for (const std::string call : {"d_svc309_02 2026/11/01 2026/12/08", "d_svc305_01 2026/12/08 2026/12/08",
                                 "d_svc305_jsd1 1010000000005 01"}) {
    SCOPED_TRACE(call);
    auto file = run_kq("dw " + call + at() + " --format json");
    auto server = run_kq("dw " + call + on_server() + " --format json");
    ASSERT_EQ(file.status, 0) << file.err;
    ASSERT_EQ(server.status, 0) << server.err;
    const auto expected = rows_of(file.out);
    EXPECT_FALSE(expected.empty()) << "the demo has rows for " << call;
    EXPECT_EQ(rows_of(server.out), expected);
  }
  auto csv = run_kq("dw d_svc309_02 2026/11/01 2026/12/08" + on_server() + " --format csv");
  ASSERT_EQ(csv.status, 0) << csv.err;
  EXPECT_EQ(csv.out.rfind("bs,cwtsbh,", 0), 0u) << csv.out.substr(0, 80);
}

TEST_F(CliDwServer, APasswordInTheAddressOrTwoPlacesOrNoneAreRefused) {
  auto password = run_kq("dw d_svc309_02 2026/11/01 2026/12/08 --server 'postgresql://kq:s3cret@/shop' --company 01");
  EXPECT_EQ(password.status, 1);
  EXPECT_NE(password.err.find("carries a password"), std::string::npos) << password.err;
  EXPECT_EQ(password.err.find("s3cret"), std::string::npos) << "the password is repeated: " << password.err;
  auto key_value = run_kq("dw d_svc309_02 2026/11/01 2026/12/08 --server 'host=/tmp password=s3cret' --company 01");
  EXPECT_EQ(key_value.status, 1);
  EXPECT_EQ(key_value.err.find("s3cret"), std::string::npos) << key_value.err;

  auto both = run_kq("dw d_svc309_02 2026/11/01 2026/12/08" + at() + " --server " + shell_quote(server_->conninfo()));
  EXPECT_EQ(both.status, 1);
  EXPECT_NE(both.err.find("give either --db PATH or --server ADDRESS"), std::string::npos) << both.err;
  auto none = run_kq("dw d_svc309_02 2026/11/01 2026/12/08 --company 01");
  EXPECT_EQ(none.status, 1);
  EXPECT_NE(none.err.find("give either --db PATH or --server ADDRESS"), std::string::npos) << none.err;
}

}  // namespace
}  // namespace kq
