#pragma once
// The workstation's request handling without a browser and without sockets:
// a demo shop built once per test suite, an Api over it whose sessions get
// FakeHost windows, and a clock the tests move to expire sessions.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "data/demo/demo_shop.h"
#include "module.h"
#include "server/api.h"
#include "server/session_registry.h"
#include "server_fake_host.h"

namespace kq::testing {

struct Reply {
  int status = 0;
  nlohmann::json body;  // null when the body is not JSON
  std::string raw;
  std::string content_type;
  std::vector<std::pair<std::string, std::string>> headers;  // beyond the content type
};

class ServerTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    module::install();
    dir_ = std::filesystem::temp_directory_path() /
           ("kq_server_" + std::string(::testing::UnitTest::GetInstance()->current_test_suite()->name()) + "_" +
            std::to_string(getpid()));
    std::filesystem::remove_all(dir_);
    db_ = (dir_ / "shop.db").string();
    demo::DemoOptions options;
    options.today = DateTime::parse("2026/12/08");
    auto built = demo::build_demo_files(db_, options, false);
    ASSERT_TRUE(built) << built.error();
  }
  static void TearDownTestSuite() { std::filesystem::remove_all(dir_); }

  void SetUp() override { make_api(); }

  // A fresh registry and Api; `limits` bound how long requests wait.
  void make_api(server::WaitLimits limits = {std::chrono::milliseconds(10000), std::chrono::milliseconds(10000)}) {
    api_.reset();
    sessions_.reset();
    sessions_ =
        std::make_unique<server::SessionRegistry>(std::chrono::minutes(30), session_limits_, [this] { return now_; });
    server::Api::Options options;
    options.db_path = db_path_.empty() ? db_ : db_path_;
    options.host_names = host_names_;
    options.limits = limits;
    options.clock = [this] { return now_; };
    auto world = world_;
    options.make_host = [world](fw::Session& s, server::BrowserUi& ui) -> std::unique_ptr<server::WindowHost> {
      return std::make_unique<FakeHost>(s, ui, world);
    };
    api_ = std::make_unique<server::Api>(options, *sessions_);
  }

  void TearDown() override {
    world_->release();  // lets a held event end, so that its session can close
    api_.reset();
    sessions_.reset();
  }

  Reply call(const std::string& method, const std::string& path, const std::string& body = "",
             const std::string& token = "", std::map<std::string, std::string> query = {},
             const std::string& address = "127.0.0.1") {
    server::HttpRequest r;
    r.method = method;
    r.path = path;
    r.body = body;
    r.remote_address = address;
    r.query = std::move(query);
    if (method == "POST") r.content_type = "application/json";
    if (!token.empty()) r.authorization = "Bearer " + token;
    return send(r);
  }
  // Sends a request as it is given (headers included).
  Reply send(const server::HttpRequest& r) {
    server::HttpResponse out = api_->handle(r);
    Reply reply;
    reply.status = out.status;
    reply.raw = out.body;
    reply.content_type = out.content_type;
    reply.headers = out.headers;
    reply.body = nlohmann::json::parse(out.body, nullptr, false);
    if (reply.body.is_discarded()) reply.body = nullptr;
    return reply;
  }
  Reply post(const std::string& path, const nlohmann::json& body, const std::string& token = "") {
    return call("POST", path, body.dump(), token);
  }

  // Signs in and returns the token; fails the test otherwise.
  std::string sign_in(const std::string& company, const std::string& op, const std::string& password) {
    Reply r = post("/api/signin", {{"company", company}, {"operator", op}, {"password", password}});
    EXPECT_EQ(r.status, 200) << r.raw;
    return r.body.value("token", "");
  }

  // Opens w_fake and returns its window id.
  int open_fake(const std::string& token) {
    Reply r = post("/api/windows", {{"class", "w_fake"}}, token);
    EXPECT_EQ(r.status, 200) << r.raw;
    if (!r.body.contains("windows") || r.body["windows"].empty()) {
      ADD_FAILURE() << "no window in " << r.raw;
      return 0;
    }
    return r.body["windows"][0]["id"].get<int>();
  }

  // A control's state in a window state.
  static nlohmann::json control(const nlohmann::json& window, const std::string& name) {
    for (const auto& c : window["controls"])
      if (c["name"] == name) return c;
    return nullptr;
  }
  // The window `id` among the windows of an answer; null when absent.
  static nlohmann::json window_in(const Reply& r, int id) {
    if (!r.body.is_object() || !r.body.contains("windows")) return nullptr;
    for (const auto& w : r.body["windows"])
      if (w["id"] == id) return w;
    return nullptr;
  }
  static std::string error_message(const Reply& r) {
    if (!r.body.is_object() || !r.body.contains("error")) return "";
    return r.body["error"].value("message", "");
  }

  static inline std::filesystem::path dir_;
  static inline std::string db_;
  // Set before make_api(): the session caps, the names the server answers
  // to, and another database than the demo shop.
  server::SessionLimits session_limits_;
  std::vector<std::string> host_names_;
  std::string db_path_;
  std::chrono::steady_clock::time_point now_ = std::chrono::steady_clock::now();
  std::shared_ptr<FakeWorld> world_ = std::make_shared<FakeWorld>();
  std::unique_ptr<server::SessionRegistry> sessions_;
  std::unique_ptr<server::Api> api_;
};

}  // namespace kq::testing
