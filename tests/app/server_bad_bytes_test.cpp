// Text in the database that is not UTF-8 (a customer name migrated from a
// legacy encoding) reaches the browser with replacement characters instead
// of failing the request that shows it.
#include <sqlite3.h>

#include <mutex>

#include "server/module_host.h"
#include "server_harness.h"

namespace kq::testing {
namespace {

using nlohmann::json;

const std::string kReplacement = "\xEF\xBF\xBD";

class ServerBadBytes : public ServerTest {
 protected:
  static void SetUpTestSuite() {
    ServerTest::SetUpTestSuite();
    // 张三 in GBK, in front of every customer name of company 01.
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(db_.c_str(), &db), SQLITE_OK);
    char* error = nullptr;
    int rc = sqlite3_exec(db, "UPDATE crmc01 SET ckhmc = CAST(X'D5C5C8FD' AS TEXT) || ckhmc WHERE cgsh = '01'", nullptr,
                          nullptr, &error);
    const std::string message = error ? error : "";
    sqlite3_free(error);
    sqlite3_close(db);
    ASSERT_EQ(rc, SQLITE_OK) << message;
  }

  void SetUp() override {
    sessions_ = std::make_unique<server::SessionRegistry>(std::chrono::minutes(30), [this] { return now_; });
    server::Api::Options options;
    options.db_path = db_;
    options.make_host = server::make_module_host;
    options.clock = [this] { return now_; };
    api_ = std::make_unique<server::Api>(options, *sessions_);
  }
};

TEST_F(ServerBadBytes, TheCancellationListShowsReplacementCharactersInJsonAndPdf) {
  Reply r = post("/api/signin", {{"company", "01"}, {"operator", "001"}, {"password", "kq01001"}, {"date", "2026/12/08"}});
  ASSERT_EQ(r.status, 200) << r.raw;
  const std::string token = r.body["token"];
  Reply opened = post("/api/windows", {{"class", "w_svc305"}}, token);
  ASSERT_EQ(opened.status, 200) << opened.raw.substr(0, 300);
  ASSERT_FALSE(opened.body["windows"].empty()) << opened.raw.substr(0, 300);
  const int list = opened.body["windows"][0]["id"];
  const std::string base = "/api/windows/" + std::to_string(list) + "/controls/dw_display/";

  Reply items = call("GET", base + "items", "", token, {{"first", "1"}, {"count", "1000"}});
  ASSERT_EQ(items.status, 200) << items.raw.substr(0, 300);
  ASSERT_FALSE(items.body["rows"].empty()) << items.raw.substr(0, 300);
  for (const json& row : items.body["rows"]) {
    const std::string name = row["items"].value("ckhmc", "");
    EXPECT_EQ(name.rfind(kReplacement, 0), 0u) << "customer name " << row["items"].dump();
  }
  Reply rows = call("GET", base + "rows", "", token, {{"first", "1"}, {"count", "50"}});
  EXPECT_EQ(rows.status, 200) << rows.raw.substr(0, 300);
  EXPECT_NE(rows.raw.find(kReplacement), std::string::npos) << rows.raw.substr(0, 300);

  Reply pdf = call("GET", base + "pdf", "", token);
  EXPECT_EQ(pdf.status, 200) << pdf.raw.substr(0, 300);
  EXPECT_EQ(pdf.content_type, "application/pdf");

  // The settlement opens in the cancellation window too.
  Reply enter = post("/api/events", {{"window", list}, {"control", "dw_display"}, {"event", "doubleclicked"}, {"row", 1},
                                      {"column", "cwtsbh"}},
                     token);
  ASSERT_EQ(enter.status, 200) << enter.raw.substr(0, 300);
  bool cancellation_open = false;
  for (const json& w : enter.body["windows"]) cancellation_open = cancellation_open || w.value("class", "") == "w_svc305_01";
  EXPECT_TRUE(cancellation_open) << enter.raw.substr(0, 300);
}

}  // namespace
}  // namespace kq::testing
