// Whatever a client sends, the answer is a JSON error or a success, never a
// crash or an internal error.
#include "server_harness.h"

namespace kq::testing {
namespace {

using nlohmann::json;

class ServerRobustness : public ServerTest {};

TEST_F(ServerRobustness, GarbageToEveryRouteGetsAClientError) {
  std::string token = sign_in("01", "001", "kq01001");
  int id = open_fake(token);
  const std::string w = std::to_string(id);
  const std::vector<std::pair<std::string, std::string>> routes = {
      {"POST", "/api/signin"}, {"POST", "/api/events"},  {"POST", "/api/dialog"},
      {"POST", "/api/windows"}, {"POST", "/api/wait"},   {"POST", "/api/signout"},
      {"GET", "/api/windows/" + w + "/controls/dw_1/rows"}, {"GET", "/api/windows/x/controls/dw_1/rows"},
      {"GET", "/api/windows/" + w + "/controls/nothing/pdf"}, {"GET", "/api/dialogs/-1/pdf"},
      {"GET", "/api/dialogs/99999999999999999999/pdf"}, {"PUT", "/api/events"}, {"GET", "/api//events"},
  };
  const std::vector<std::string> bodies = {
      "",
      "null",
      "{}",
      "[]",
      "{\"window\": 1e400}",
      "{\"window\": " + w + ", \"event\": \"clicked\", \"control\": \"cb_nothing\"}",
      "{\"window\": -1, \"event\": \"clicked\"}",
      "{\"window\": 9223372036854775807, \"event\": \"x\"}",
      "{\"dialog\": \"1\", \"answer\": {}}",
      "{\"class\": null}",
      std::string(1000, '['),
      "{\"company\": {}, \"operator\": [], \"password\": 1}",
      std::string("{\"a\":\"\xc3\x28\"}"),
  };
  const std::map<std::string, std::string> queries[] = {
      {}, {{"first", "0"}}, {{"first", "abc"}}, {{"count", "100000"}}, {{"first", "-5"}, {"count", "-1"}},
      {{"first", "99999999999999999999"}}};
  for (const auto& [method, path] : routes) {
    for (const auto& body : bodies) {
      for (const auto& query : queries) {
        if (path == "/api/signout") continue;  // would end the session the other cases use
        Reply r = call(method, path, body, token, query);
        const std::string what = method + " " + path + " " + body.substr(0, 60);
        EXPECT_TRUE(r.status == 200 || (r.status >= 400 && r.status < 500)) << what << " -> " << r.status << " " << r.raw;
        if (r.status != 200) {
          EXPECT_EQ(r.body["error"]["status"], r.status) << what << " -> " << r.raw;
        }
      }
    }
  }
  // The session still works.
  Reply whoami = post("/api/events", {{"window", id}, {"control", "cb_whoami"}, {"event", "clicked"}}, token);
  EXPECT_EQ(whoami.status, 200) << whoami.raw;
}

}  // namespace
}  // namespace kq::testing
