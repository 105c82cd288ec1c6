// Whatever a client sends, the answer is a JSON error or a success, never a
// crash or an internal error.
#include "server/request_body.h"
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

// Bodies built to exhaust the server (deep nesting, huge strings, many keys,
// wrong types) are refused or handled with a client error, and the session
// goes on. Deep nesting used to overflow the worker's stack.
TEST_F(ServerRobustness, HostileBodiesAreRefusedAndTheServerGoesOn) {
  std::string token = sign_in("01", "001", "kq01001");
  int id = open_fake(token);
  const std::string event_head = "{\"window\": " + std::to_string(id) + ", \"event\": \"clicked\", \"control\": \"cb_whoami\", ";
  auto nested = [](int depth, const std::string& open, const std::string& close) {
    std::string s;
    s.reserve(depth * (open.size() + close.size()) + 1);
    for (int i = 0; i < depth; ++i) s += open;
    s += "1";
    for (int i = 0; i < depth; ++i) s += close;
    return s;
  };
  struct Case {
    std::string name;
    std::string body;
    int status;  // 0: any client error
  };
  std::string many_keys = "{";
  for (int i = 0; i < 40000; ++i) many_keys += "\"k" + std::to_string(i) + "\":" + std::to_string(i) + ",";
  many_keys += "\"window\":" + std::to_string(id) + ",\"event\":\"clicked\"}";
  const std::vector<Case> cases = {
      {"array nested 150000 deep", event_head + "\"x\": " + nested(150000, "[", "]") + "}", 400},
      {"object nested 100000 deep", event_head + "\"x\": " + nested(100000, "{\"a\":", "}") + "}", 400},
      {"unclosed nesting", std::string(200000, '['), 400},
      {"nesting at the limit plus one", event_head + "\"x\": " + nested(server::kMaxNesting, "[", "]") + "}", 400},
      {"body over the size limit", event_head + "\"text\": \"" + std::string(server::kMaxBodyBytes, 'a') + "\"}", 413},
      {"many keys", many_keys, 0},
      {"wrong types", "{\"window\": [1], \"event\": {\"clicked\": true}, \"control\": 7}", 400},
      {"text of a wrong type", event_head + "\"text\": [\"a\"]}", 400},
  };
  for (const Case& c : cases) {
    Reply r = call("POST", "/api/events", c.body, token);
    if (c.status != 0) {
      EXPECT_EQ(r.status, c.status) << c.name << ": " << r.raw.substr(0, 200);
    } else {
      EXPECT_TRUE(r.status == 200 || (r.status >= 400 && r.status < 500)) << c.name << ": " << r.status;
    }
    if (r.status != 200) {
      EXPECT_FALSE(error_message(r).empty()) << c.name << ": " << r.raw.substr(0, 200);
    }
  }
  // Brackets inside strings are text, not nesting; nesting within the limit is accepted.
  Reply in_string = call("POST", "/api/events", event_head + "\"text\": \"" + std::string(100000, '[') + "\"}", token);
  EXPECT_EQ(in_string.status, 200) << in_string.raw.substr(0, 200);
  Reply shallow = call("POST", "/api/events", event_head + "\"x\": " + nested(server::kMaxNesting - 1, "[", "]") + "}", token);
  EXPECT_EQ(shallow.status, 200) << shallow.raw.substr(0, 200);

  Reply whoami = post("/api/events", {{"window", id}, {"control", "cb_whoami"}, {"event", "clicked"}}, token);
  EXPECT_EQ(whoami.status, 200) << whoami.raw;
}

}  // namespace
}  // namespace kq::testing
