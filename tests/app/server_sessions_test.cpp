// Session tokens: required, unguessable, ended by sign-out and by idleness.
#include "platform/db/transaction.h"
#include "server_harness.h"

namespace kq::testing {
namespace {

using nlohmann::json;

class ServerSessions : public ServerTest {
 protected:
  // Runs one statement on the shop database as another program would.
  void write(const std::string& sql) {
    db::Transaction t;
    db::ConnectOptions options;
    options.database = db_;
    ASSERT_TRUE(t.connect(options));
    ASSERT_EQ(t.exec(sql), 0) << sql << ": " << t.sqlerrtext;
    ASSERT_EQ(t.commit(), 0) << t.sqlerrtext;
  }
};

TEST_F(ServerSessions, RequestsWithoutAValidTokenAreUnauthorized) {
  const std::string ended = sign_in("01", "002", "kq01002");
  ASSERT_EQ(post("/api/signout", json::object(), ended).status, 200);
  server::HttpRequest basic;
  basic.method = "GET";
  basic.path = "/api/menu";
  basic.authorization = "Basic " + sign_in("01", "001", "kq01001");
  const std::vector<std::pair<std::string, Reply>> replies = {
      {"no token", call("GET", "/api/menu")},
      {"not a token", call("GET", "/api/menu", "", "not-a-token")},
      {"unknown token", call("GET", "/api/menu", "", std::string(64, 'a'))},
      {"signed out", call("GET", "/api/menu", "", ended)},
      {"event after sign-out", post("/api/events", {{"window", 1}, {"event", "clicked"}}, ended)},
      {"basic authorization", send(basic)}};
  for (const auto& [name, r] : replies) {
    EXPECT_EQ(r.status, 401) << name << ": " << r.raw;
    EXPECT_EQ(error_message(r), "会话无效或已过期，请重新登录") << name;
  }
}

TEST_F(ServerSessions, AnOperatorOrCompanyStoppedMeanwhileLosesTheSessionAtTheNextRequest) {
  const std::string stopped = sign_in("01", "002", "kq01002");
  const std::string colleague = sign_in("01", "003", "kq01003");
  const std::string branch = sign_in("02", "002", "kq02002");
  ASSERT_EQ(call("GET", "/api/menu", "", stopped).status, 200);

  write("update kq_operator set ltybs = 1 where cgsh = '01' and cczydm = '002'");
  Reply first = call("GET", "/api/menu", "", stopped);
  EXPECT_EQ(first.status, 401) << first.raw;
  EXPECT_EQ(error_message(first), "该操作员已停用，会话已结束");
  Reply next = post("/api/wait", json::object(), stopped);
  EXPECT_EQ(next.status, 401) << next.raw;
  EXPECT_EQ(error_message(next), "会话无效或已过期，请重新登录");
  write("update kq_operator set ltybs = 0 where cgsh = '01' and cczydm = '002'");
  EXPECT_EQ(call("GET", "/api/session", "", stopped).status, 401) << "taking the stop back does not revive the session";
  EXPECT_EQ(call("GET", "/api/menu", "", colleague).status, 200) << "the colleague works on";
  EXPECT_EQ(call("GET", "/api/menu", "", branch).status, 200) << "the other company's 002 works on";

  write("update kq_company set ltybs = 1 where cgsh = '02'");
  Reply company = call("GET", "/api/session", "", branch);
  write("update kq_company set ltybs = 0 where cgsh = '02'");
  EXPECT_EQ(company.status, 401) << company.raw;
  EXPECT_EQ(error_message(company), "公司已停用，会话已结束");

  write("update kq_operator set cczydm = '903' where cgsh = '01' and cczydm = '003'");  // gone as 003
  Reply removed = call("GET", "/api/menu", "", colleague);
  write("update kq_operator set cczydm = '003' where cgsh = '01' and cczydm = '903'");
  EXPECT_EQ(removed.status, 401) << "an operator removed meanwhile: " << removed.raw;
  EXPECT_EQ(sessions_->size(), 0u);
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
