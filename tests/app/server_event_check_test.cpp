// The server refuses events the windows do not allow, whatever the browser sends.
#include "server_harness.h"

namespace kq::testing {
namespace {

using nlohmann::json;

class ServerEventCheck : public ServerTest {};

TEST_F(ServerEventCheck, TypingIntoADisabledFieldIsRefused) {
  std::string token = sign_in("01", "003", "kq01003");  // no CJ: em_1 disabled
  int id = open_fake(token);
  Reply r = post("/api/events", {{"window", id}, {"control", "em_1"}, {"event", "ue_key"}, {"key", 13}, {"text", "2026/12/01"}},
                 token);
  EXPECT_EQ(r.status, 403) << r.raw;
  Reply all = call("GET", "/api/windows", "", token);
  EXPECT_EQ(control(all.body["windows"][0], "em_1")["text"], "2026/12/08") << "the text must not have changed";
}

TEST_F(ServerEventCheck, AnOperatorWithTheAuthorityMayType) {
  std::string token = sign_in("01", "001", "kq01001");
  int id = open_fake(token);
  Reply r = post("/api/events", {{"window", id}, {"control", "em_1"}, {"event", "ue_key"}, {"key", 13}, {"text", "2026/12/01"}},
                 token);
  ASSERT_EQ(r.status, 200) << r.raw;
  EXPECT_EQ(control(window_in(r, id), "em_1")["text"], "2026/12/01");
}

TEST_F(ServerEventCheck, UnknownWindowsAndControlsAreNotFound) {
  std::string token = sign_in("01", "001", "kq01001");
  int id = open_fake(token);
  EXPECT_EQ(post("/api/events", {{"window", id + 100}, {"control", "cb_ask"}, {"event", "clicked"}}, token).status, 404);
  EXPECT_EQ(post("/api/events", {{"window", id}, {"control", "cb_nothing"}, {"event", "clicked"}}, token).status, 404);
}

TEST_F(ServerEventCheck, HiddenControlsReadOnlyGridsAndDisabledCommandsAreRefused) {
  std::string token = sign_in("01", "001", "kq01001");
  int id = open_fake(token);
  EXPECT_EQ(post("/api/events", {{"window", id}, {"control", "cb_hidden"}, {"event", "clicked"}}, token).status, 403);
  EXPECT_EQ(post("/api/events",
                 {{"window", id}, {"control", "dw_1"}, {"event", "itemchanged"}, {"row", 1}, {"column", "cwxzt"}, {"data", "0"}},
                 token)
                .status,
            403);
  EXPECT_EQ(post("/api/events", {{"window", id}, {"control", ""}, {"event", "ue_cus"}, {"number", 2}}, token).status, 403);
  EXPECT_EQ(post("/api/events", {{"window", id}, {"control", ""}, {"event", "ue_refresh"}}, token).status, 403);
  Reply allowed = post("/api/events", {{"window", id}, {"control", ""}, {"event", "ue_cus"}, {"number", 1}}, token);
  ASSERT_EQ(allowed.status, 200) << allowed.raw;
  EXPECT_EQ(control(window_in(allowed, id), "st_1")["text"], "command 1");
}

TEST_F(ServerEventCheck, MalformedEventsAreBadRequests) {
  std::string token = sign_in("01", "001", "kq01001");
  int id = open_fake(token);
  for (const json& e : {json::array(), json{{"control", "cb_ask"}, {"event", "clicked"}},
                        json{{"window", "1"}, {"event", "clicked"}}, json{{"window", id}},
                        json{{"window", id}, {"event", ""}}, json{{"window", id}, {"event", "clicked"}, {"control", 5}},
                        json{{"window", id}, {"event", "clicked"}, {"row", "2"}},
                        json{{"window", id}, {"event", "clicked"}, {"data", json::object()}}}) {
    Reply r = post("/api/events", e, token);
    EXPECT_EQ(r.status, 400) << e.dump() << " -> " << r.raw;
  }
  EXPECT_EQ(call("POST", "/api/events", "{\"window\":", token).status, 400);
}

}  // namespace
}  // namespace kq::testing
