// Who may call the protocol: the names the server answers to, the site a
// browser request comes from, and JSON bodies only.
#include "server_harness.h"

namespace kq::testing {
namespace {

using nlohmann::json;

class ServerRequestAdmission : public ServerTest {
 protected:
  // A browser-like request: Host, Origin and Content-Type as given ("" = absent).
  Reply request(const std::string& method, const std::string& path, const std::string& host,
                const std::string& origin = "", const std::string& content_type = "application/json",
                const std::string& body = "") {
    server::HttpRequest r;
    r.method = method;
    r.path = path;
    r.host = host;
    r.origin = origin;
    r.content_type = method == "POST" ? content_type : "";
    r.body = body;
    r.remote_address = "127.0.0.1";
    return send(r);
  }
  static std::string credentials(const std::string& password) {
    return json{{"company", "01"}, {"operator", "001"}, {"password", password}}.dump();
  }
};

TEST_F(ServerRequestAdmission, OnlyJsonPostsFromThisServerByItsOwnNamesAreAnswered) {
  host_names_ = {"kq-shop.lan", "192.168.1.20"};
  make_api();
  struct Case {
    std::string name, method, host, origin, content_type;
    int status;
  };
  const std::vector<Case> cases = {
      {"page of this server", "POST", "127.0.0.1:8309", "http://127.0.0.1:8309", "application/json", 200},
      {"localhost", "POST", "localhost:8309", "http://localhost:8309", "application/json; charset=utf-8", 200},
      {"IPv6 loopback", "POST", "[::1]:8309", "http://[::1]:8309", "application/json", 200},
      {"LAN name, any case", "POST", "KQ-Shop.lan:8309", "http://kq-shop.lan:8309", "Application/JSON", 200},
      {"behind a TLS proxy", "POST", "kq-shop.lan", "https://kq-shop.lan", "application/json", 200},
      {"LAN address", "GET", "192.168.1.20:8309", "", "", 200},
      {"script without Host or Origin", "POST", "", "", "application/json", 200},
      {"plain text body", "POST", "127.0.0.1:8309", "", "text/plain", 415},
      {"form body", "POST", "127.0.0.1:8309", "", "application/x-www-form-urlencoded", 415},
      {"no content type", "POST", "127.0.0.1:8309", "", "", 415},
      {"rebinding name", "POST", "evil.example:8309", "http://evil.example:8309", "application/json", 403},
      {"rebinding name, GET", "GET", "evil.example:8309", "", "", 403},
      {"malformed Host", "GET", "127.0.0.1:80:80", "", "", 403},
      {"other site", "POST", "127.0.0.1:8309", "http://evil.example", "application/json", 403},
      {"other port of this machine", "POST", "localhost:8309", "http://localhost:3000", "application/json", 403},
      {"other name of this machine", "POST", "localhost:8309", "http://127.0.0.1:8309", "application/json", 403},
      {"opaque origin", "POST", "127.0.0.1:8309", "null", "application/json", 403},
      {"not a web origin", "POST", "127.0.0.1:8309", "file://", "application/json", 403},
  };
  for (const Case& c : cases) {
    Reply r = c.method == "GET" ? request("GET", "/api/signin", c.host, c.origin)
                                : request("POST", "/api/signin", c.host, c.origin, c.content_type, credentials("kq01001"));
    EXPECT_EQ(r.status, c.status) << c.name << ": " << r.raw;
    if (c.status != 200) {
      EXPECT_EQ(r.body["error"]["status"], c.status) << c.name;
      EXPECT_FALSE(error_message(r).empty()) << c.name;
    }
  }
  // Token-bearing requests are held to the same rules.
  std::string token = sign_in("01", "002", "kq01002");
  server::HttpRequest foreign;
  foreign.method = "GET";
  foreign.path = "/api/menu";
  foreign.host = "evil.example:8309";
  foreign.authorization = "Bearer " + token;
  EXPECT_EQ(send(foreign).status, 403);
}

TEST_F(ServerRequestAdmission, AnotherSiteCannotLockOperatorsOut) {
  // A page elsewhere can send text/plain without the browser asking first:
  // such guesses are refused before they count against the operator.
  for (int i = 0; i < 25; ++i) {
    Reply r = request("POST", "/api/signin", "127.0.0.1:8309", "", "text/plain", credentials("guess" + std::to_string(i)));
    ASSERT_EQ(r.status, 415) << i << ": " << r.raw;
  }
  for (int i = 0; i < 25; ++i) {
    Reply r = request("POST", "/api/signin", "127.0.0.1:8309", "http://evil.example", "application/json",
                      credentials("guess" + std::to_string(i)));
    ASSERT_EQ(r.status, 403) << i << ": " << r.raw;
  }
  Reply owner = request("POST", "/api/signin", "127.0.0.1:8309", "http://127.0.0.1:8309", "application/json",
                        credentials("kq01001"));
  EXPECT_EQ(owner.status, 200) << "the operator is not locked out: " << owner.raw;
}

}  // namespace
}  // namespace kq::testing
