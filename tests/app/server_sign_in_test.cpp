// Signing in at the workstation against the demo shop's operators.
#include "server_harness.h"

namespace kq::testing {
namespace {

using nlohmann::json;

class ServerSignIn : public ServerTest {};

TEST_F(ServerSignIn, RightPasswordGivesATokenAndTheOperatorsGlobals) {
  Reply r = post("/api/signin", {{"company", "01"}, {"operator", "004"}, {"password", "kq01004"}, {"date", "2026/12/07"}});
  ASSERT_EQ(r.status, 200) << r.raw;
  const std::string token = r.body["token"];
  EXPECT_EQ(token.size(), 64u);
  EXPECT_EQ(r.body["session"]["operator"]["name"], "陈静");
  EXPECT_EQ(r.body["session"]["operator"]["authorities"], json({"CJ", "CP"}));
  EXPECT_EQ(r.body["session"]["business_date"], "2026/12/07");
  EXPECT_EQ(r.body["session"]["company"]["name"], "北京凯琪汽车维修服务有限公司");

  Reply session = call("GET", "/api/session", "", token);
  ASSERT_EQ(session.status, 200) << session.raw;
  EXPECT_EQ(session.body["operator"]["code"], "004");
}

TEST_F(ServerSignIn, BusinessDateDefaultsToToday) {
  Reply r = post("/api/signin", {{"company", "01"}, {"operator", "002"}, {"password", "kq01002"}});
  ASSERT_EQ(r.status, 200) << r.raw;
  EXPECT_EQ(r.body["session"]["business_date"], DateTime::now().to_date_string());
}

// The demo shop's company 01 queries from 2026/11/08; the server's today is
// held at 2026/12/08 here.
TEST_F(ServerSignIn, TheBusinessDateIsTodayUnlessTheOperatorMayWorkOnOtherDays) {
  DateTime::set_clock([] { return *DateTime::parse("2026/12/08 09:30:00"); });
  struct Case {
    std::string op;  // 003: no authority, 002: CP, 004: CJ and CP
    std::string date;
    int status;
    std::string business_date;  // when signed in
  };
  const std::vector<Case> cases = {
      {"003", "", 200, "2026/12/08"},           {"003", "2026/12/08", 200, "2026/12/08"},
      {"003", "2026/12/01", 403, ""},           {"002", "2026/12/07", 403, ""},
      {"002", "2026/12/09", 403, ""},           {"004", "2026/12/01", 200, "2026/12/01"},
      {"004", "2026/11/08", 200, "2026/11/08"}, {"004", "2026/11/07", 400, ""},
      {"004", "2026/12/09", 400, ""},           {"004", "9999/12/31", 400, ""},
      {"004", "0001/01/01", 400, ""},           {"004", "1900/01/01", 400, ""},
  };
  for (const Case& c : cases) {
    const std::string name = c.op + " asking for \"" + c.date + "\"";
    Reply r = post("/api/signin", {{"company", "01"}, {"operator", c.op}, {"password", "kq01" + c.op}, {"date", c.date}});
    EXPECT_EQ(r.status, c.status) << name << ": " << r.raw;
    if (c.status == 200) {
      EXPECT_EQ(r.body["session"]["business_date"], c.business_date) << name;
    } else {
      EXPECT_FALSE(r.body.contains("token")) << name;
      EXPECT_NE(error_message(r).find("营业日期"), std::string::npos) << name << ": " << r.raw;
    }
  }
  Reply refused = post("/api/signin", {{"company", "01"}, {"operator", "003"}, {"password", "kq01003"}, {"date", "2026/12/01"}});
  EXPECT_NE(error_message(refused).find("2026/12/08"), std::string::npos) << "the refusal names today: " << refused.raw;
  Reply guess = post("/api/signin", {{"company", "01"}, {"operator", "003"}, {"password", "x"}, {"date", "2026/12/01"}});
  EXPECT_EQ(guess.status, 401) << "a wrong password is told before the date: " << guess.raw;
  DateTime::set_clock(nullptr);
}

TEST_F(ServerSignIn, EachSignInGetsItsOwnToken) {
  std::string a = sign_in("01", "001", "kq01001");
  std::string b = sign_in("01", "001", "kq01001");
  EXPECT_NE(a, b);
  EXPECT_EQ(sessions_->size(), 2u);
}

TEST_F(ServerSignIn, WrongPasswordAndUnknownOperatorGetTheSameRefusal) {
  Reply wrong = post("/api/signin", {{"company", "01"}, {"operator", "001"}, {"password", "kq01002"}});
  Reply unknown = post("/api/signin", {{"company", "01"}, {"operator", "777"}, {"password", "kq01777"}});
  EXPECT_EQ(wrong.status, 401);
  EXPECT_EQ(unknown.status, 401);
  EXPECT_EQ(error_message(wrong), "操作员代码或密码错误");
  EXPECT_EQ(error_message(unknown), error_message(wrong));
  EXPECT_EQ(sessions_->size(), 0u);
}

TEST_F(ServerSignIn, AnOperatorOfAnotherCompanyDoesNotSignInHere) {
  Reply r = post("/api/signin", {{"company", "02"}, {"operator", "004"}, {"password", "kq01004"}});
  EXPECT_EQ(r.status, 401) << r.raw;
}

TEST_F(ServerSignIn, StoppedOperatorIsRefusedEvenWithTheRightPassword) {
  Reply r = post("/api/signin", {{"company", "01"}, {"operator", "009"}, {"password", "kq01009"}});
  EXPECT_EQ(r.status, 403) << r.raw;
  EXPECT_EQ(error_message(r), "该操作员已停用");
  Reply guess = post("/api/signin", {{"company", "01"}, {"operator", "009"}, {"password", "x"}});
  EXPECT_EQ(guess.status, 401) << "a wrong password must not tell that the operator exists";
}

TEST_F(ServerSignIn, UnknownCompanyIsRefused) {
  Reply r = post("/api/signin", {{"company", "77"}, {"operator", "001"}, {"password", "kq77001"}});
  EXPECT_EQ(r.status, 401);
  EXPECT_EQ(error_message(r), "公司代码不存在");
}

TEST_F(ServerSignIn, MissingOrMistypedFieldsAreBadRequests) {
  EXPECT_EQ(post("/api/signin", {{"company", "01"}, {"operator", "001"}}).status, 400);
  EXPECT_EQ(post("/api/signin", {{"company", "01"}, {"operator", 1}, {"password", "kq01001"}}).status, 400);
  EXPECT_EQ(post("/api/signin", {{"company", ""}, {"operator", "001"}, {"password", "kq01001"}}).status, 400);
  EXPECT_EQ(post("/api/signin", {{"company", "01"}, {"operator", "001"}, {"password", ""}}).status, 400);
  Reply date = post("/api/signin", {{"company", "01"}, {"operator", "001"}, {"password", "kq01001"}, {"date", "2026/13/01"}});
  EXPECT_EQ(date.status, 400);
  EXPECT_NE(error_message(date).find("营业日期"), std::string::npos) << date.raw;
}

TEST_F(ServerSignIn, MalformedJsonIsABadRequestWithAJsonError) {
  for (const std::string& body : std::vector<std::string>{"{", "[1,2]", "\"text\"", "{\"company\": \"01\",}", std::string("\xff\xfe", 2)}) {
    Reply r = call("POST", "/api/signin", body);
    EXPECT_EQ(r.status, 400) << body;
    EXPECT_EQ(r.body["error"]["status"], 400) << r.raw;
  }
}

TEST_F(ServerSignIn, TheSignInPageListsTheCompanies) {
  Reply r = call("GET", "/api/signin");
  ASSERT_EQ(r.status, 200);
  ASSERT_EQ(r.body["companies"].size(), 2u) << r.raw;
  EXPECT_EQ(r.body["companies"][0]["code"], "01");
  EXPECT_EQ(r.body["companies"][1]["name"], "北京凯琪汽车维修服务有限公司亦庄分公司");
}

}  // namespace
}  // namespace kq::testing
