#pragma once
// The workstation with the module's windows, 01/001 signed in and 取消结算
// (w_svc305) open: the list that the server tests of lists work on.
#include <mutex>
#include <string>

#include "module.h"
#include "server/module_host.h"
#include "server_harness.h"

namespace kq::testing {

class ServerListTest : public ServerTest {
 protected:
  void SetUp() override {
    static std::once_flag installed;
    std::call_once(installed, [] { module::install(); });
    sessions_ = std::make_unique<server::SessionRegistry>(std::chrono::minutes(30), [this] { return now_; });
    server::Api::Options options;
    options.db_path = db_;
    options.make_host = server::make_module_host;
    options.clock = [this] { return now_; };
    api_ = std::make_unique<server::Api>(options, *sessions_);
    Reply r = post("/api/signin", {{"company", "01"}, {"operator", "001"}, {"password", "kq01001"}, {"date", "2026/12/08"}});
    ASSERT_EQ(r.status, 200) << r.raw;
    token_ = r.body["token"];
    Reply opened = post("/api/windows", {{"class", "w_svc305"}}, token_);
    ASSERT_EQ(opened.status, 200) << opened.raw;
    ASSERT_FALSE(opened.body["windows"].empty()) << opened.raw;
    list_ = opened.body["windows"][0]["id"];
  }

  // Fires `e` at `window` (the list when 0).
  Reply event(nlohmann::json e, int window = 0) {
    e["window"] = window ? window : list_;
    return post("/api/events", e, token_);
  }
  // What the list's grid shows, rows first .. first + count - 1.
  nlohmann::json items(int first = 1, int count = 1000) {
    Reply r = call("GET", "/api/windows/" + std::to_string(list_) + "/controls/dw_display/items", "", token_,
                   {{"first", std::to_string(first)}, {"count", std::to_string(count)}});
    EXPECT_EQ(r.status, 200) << r.raw;
    return r.body;
  }

  std::string token_;
  int list_ = 0;
};

}  // namespace kq::testing
