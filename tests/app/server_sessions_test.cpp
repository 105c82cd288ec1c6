// Session tokens: required, unguessable, ended by sign-out and by idleness.
#include "server_harness.h"

namespace kq::testing {
namespace {

using nlohmann::json;

class ServerSessions : public ServerTest {};

TEST_F(ServerSessions, RequestsWithoutAValidTokenAreUnauthorized) {
  EXPECT_EQ(call("GET", "/api/menu").status, 401);
  EXPECT_EQ(call("GET", "/api/menu", "", "not-a-token").status, 401);
  EXPECT_EQ(call("GET", "/api/menu", "", std::string(64, 'a')).status, 401);
  server::HttpRequest basic;
  basic.method = "GET";
  basic.path = "/api/menu";
  basic.authorization = "Basic " + sign_in("01", "001", "kq01001");
  EXPECT_EQ(api_->handle(basic).status, 401);
}

TEST_F(ServerSessions, SignOutEndsTheSessionAndClosesItsWindows) {
  std::string token = sign_in("01", "001", "kq01001");
  open_fake(token);
  ASSERT_EQ(call("GET", "/api/menu", "", token).status, 200);
  Reply out = post("/api/signout", json::object(), token);
  EXPECT_EQ(out.status, 200) << out.raw;
  EXPECT_EQ(call("GET", "/api/menu", "", token).status, 401);
  EXPECT_EQ(sessions_->size(), 0u);
  EXPECT_EQ(world_->closed_all.load(), 1);
}

TEST_F(ServerSessions, AnIdleSessionExpiresAndAnActiveOneDoesNot) {
  std::string idle = sign_in("01", "001", "kq01001");
  std::string active = sign_in("01", "002", "kq01002");
  now_ += std::chrono::minutes(20);
  ASSERT_EQ(call("GET", "/api/session", "", active).status, 200);
  now_ += std::chrono::minutes(20);  // 40 idle minutes for `idle`, 20 for `active`
  EXPECT_EQ(sessions_->sweep(), 1u);
  Reply expired = call("GET", "/api/session", "", idle);
  EXPECT_EQ(expired.status, 401);
  EXPECT_NE(error_message(expired).find("过期"), std::string::npos) << expired.raw;
  EXPECT_EQ(call("GET", "/api/session", "", active).status, 200);
}

TEST_F(ServerSessions, AnExpiredTokenIsRefusedEvenBeforeTheSweep) {
  std::string token = sign_in("01", "001", "kq01001");
  now_ += std::chrono::minutes(31);
  EXPECT_EQ(call("GET", "/api/menu", "", token).status, 401);
  EXPECT_EQ(sessions_->size(), 0u);
}

TEST_F(ServerSessions, UnknownPathsAndMethodsGetJsonErrors) {
  std::string token = sign_in("01", "001", "kq01001");
  Reply unknown = call("GET", "/api/nothing", "", token);
  EXPECT_EQ(unknown.status, 404);
  EXPECT_EQ(unknown.body["error"]["status"], 404);
  EXPECT_EQ(call("DELETE", "/api/menu", "", token).status, 405);
  EXPECT_EQ(call("GET", "/api/events", "", token).status, 405);
  EXPECT_EQ(call("GET", "/api/windows/1/controls/dw_1/rows/extra", "", token).status, 404);
  EXPECT_EQ(call("GET", "/no/such/page.html").status, 404);
  EXPECT_EQ(call("GET", "/../../etc/passwd").status, 404);
}

TEST_F(ServerSessions, TheFrontEndIsServedFromTheBinary) {
  Reply page = call("GET", "/");
  EXPECT_EQ(page.status, 200);
  EXPECT_EQ(page.content_type, "text/html; charset=utf-8");
  EXPECT_NE(page.raw.find("<!DOCTYPE html>"), std::string::npos);
  Reply css = call("GET", "/dw.css");
  EXPECT_EQ(css.status, 200);
  EXPECT_NE(css.raw.find(".kq-grid"), std::string::npos);
}

TEST_F(ServerSessions, MenuListsTheHostsWindowsByTitle) {
  std::string token = sign_in("01", "003", "kq01003");
  Reply menu = call("GET", "/api/menu", "", token);
  ASSERT_EQ(menu.status, 200) << menu.raw;
  EXPECT_EQ(menu.body["menu"], json::parse(R"([{"class":"w_fake","title":"测试窗口"}])"));
  EXPECT_EQ(post("/api/windows", {{"class", "w_other"}}, token).status, 404);
  EXPECT_EQ(post("/api/windows", {{"klass", "w_fake"}}, token).status, 400);
}

}  // namespace
}  // namespace kq::testing
