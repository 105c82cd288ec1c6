// The workstation over real HTTP on a loopback port.
#include <httplib.h>

#include <thread>

#include "server/http_server.h"
#include "server_harness.h"

namespace kq::testing {
namespace {

using nlohmann::json;

class ServerHttp : public ServerTest {
 protected:
  void SetUp() override {
    ServerTest::SetUp();
    http_ = std::make_unique<server::HttpServer>(*api_);
    auto port = http_->bind("127.0.0.1", 0);
    ASSERT_TRUE(port) << port.error();
    port_ = *port;
    thread_ = std::thread([this] { http_->run(); });
  }
  void TearDown() override {
    http_->stop();
    if (thread_.joinable()) thread_.join();
    http_.reset();
    ServerTest::TearDown();
  }

  std::unique_ptr<server::HttpServer> http_;
  std::thread thread_;
  int port_ = 0;
};

TEST_F(ServerHttp, SignInThenUseTheTokenInTheAuthorizationHeader) {
  httplib::Client client("127.0.0.1", port_);
  auto signin = client.Post("/api/signin", R"({"company":"01","operator":"001","password":"kq01001"})",
                            "application/json");
  ASSERT_TRUE(signin) << httplib::to_string(signin.error());
  ASSERT_EQ(signin->status, 200) << signin->body;
  EXPECT_EQ(signin->get_header_value("Content-Type"), "application/json; charset=utf-8");
  EXPECT_EQ(signin->get_header_value("Cache-Control"), "no-store");
  EXPECT_EQ(signin->get_header_value("X-Content-Type-Options"), "nosniff");
  std::string token = json::parse(signin->body)["token"];

  auto without = client.Get("/api/menu");
  ASSERT_TRUE(without);
  EXPECT_EQ(without->status, 401);
  EXPECT_EQ(json::parse(without->body)["error"]["status"], 401);

  auto menu = client.Get("/api/menu", httplib::Headers{{"Authorization", "Bearer " + token}});
  ASSERT_TRUE(menu);
  EXPECT_EQ(menu->status, 200) << menu->body;
  EXPECT_EQ(json::parse(menu->body)["menu"][0]["title"], "测试窗口");
}

TEST_F(ServerHttp, HostOriginAndContentTypeReachTheChecks) {
  httplib::Client client("127.0.0.1", port_);
  const std::string body = R"({"company":"01","operator":"001","password":"kq01001"})";
  auto text = client.Post("/api/signin", body, "text/plain");
  ASSERT_TRUE(text);
  EXPECT_EQ(text->status, 415) << text->body;
  auto cross = client.Post("/api/signin", httplib::Headers{{"Origin", "http://evil.example"}}, body, "application/json");
  ASSERT_TRUE(cross);
  EXPECT_EQ(cross->status, 403) << cross->body;
  auto rebound = client.Get("/api/signin", httplib::Headers{{"Host", "evil.example:" + std::to_string(port_)}});
  ASSERT_TRUE(rebound);
  EXPECT_EQ(rebound->status, 403) << rebound->body;
  auto same = client.Post("/api/signin", httplib::Headers{{"Origin", "http://127.0.0.1:" + std::to_string(port_)}},
                          body, "application/json");
  ASSERT_TRUE(same);
  EXPECT_EQ(same->status, 200) << same->body;
}

TEST_F(ServerHttp, PagesCarryAContentSecurityPolicy) {
  httplib::Client client("127.0.0.1", port_);
  auto page = client.Get("/");
  ASSERT_TRUE(page);
  EXPECT_EQ(page->status, 200);
  EXPECT_NE(page->get_header_value("Content-Security-Policy").find("default-src 'self'"), std::string::npos);
  auto missing = client.Get("/nothing.js");
  ASSERT_TRUE(missing);
  EXPECT_EQ(missing->status, 404);
  EXPECT_TRUE(json::parse(missing->body, nullptr, false).contains("error"));
}

TEST_F(ServerHttp, AnOversizedBodyIsRefusedWithAJsonError) {
  httplib::Client client("127.0.0.1", port_);
  auto r = client.Post("/api/signin", std::string(5 * 1024 * 1024, 'x'), "application/json");
  ASSERT_TRUE(r);
  EXPECT_EQ(r->status, 413);
  EXPECT_EQ(json::parse(r->body, nullptr, false)["error"]["status"], 413);
}

}  // namespace
}  // namespace kq::testing
