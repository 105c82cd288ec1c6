// Events run on the session's UI thread; a modal call parks it and the
// pending request answers with the dialog; the answer resumes it.
#include "server_harness.h"

namespace kq::testing {
namespace {

using nlohmann::json;

class ServerDialogs : public ServerTest {
 protected:
  json click(int window, const std::string& control) {
    return {{"window", window}, {"control", control}, {"event", "clicked"}};
  }
  std::string st_1(const Reply& r, int window) {
    json w = window_in(r, window);
    if (w.is_null()) return "<window not in answer>";
    return control(w, "st_1")["text"];
  }
};

TEST_F(ServerDialogs, AMessageBoxParksTheEventAndTheAnswerResumesIt) {
  std::string token = sign_in("01", "001", "kq01001");
  int id = open_fake(token);
  Reply asked = post("/api/events", click(id, "cb_ask"), token);
  ASSERT_EQ(asked.status, 200) << asked.raw;
  const json& d = asked.body["dialog"];
  ASSERT_TRUE(d.is_object()) << asked.raw;
  EXPECT_EQ(d["kind"], "messagebox");
  EXPECT_EQ(d["text"], "继续吗?");
  EXPECT_EQ(d["buttons"], json({"是", "否"}));
  EXPECT_EQ(d["default"], 2);
  EXPECT_EQ(d["icon"], "question");

  // The session shows the waiting dialog to a browser that reloads.
  EXPECT_EQ(call("GET", "/api/session", "", token).body["dialog"]["id"], d["id"]);

  Reply done = post("/api/dialog", {{"dialog", d["id"]}, {"answer", 1}}, token);
  ASSERT_EQ(done.status, 200) << done.raw;
  EXPECT_FALSE(done.body.contains("dialog"));
  EXPECT_EQ(st_1(done, id), "answer 1");
  EXPECT_TRUE(call("GET", "/api/session", "", token).body["dialog"].is_null());
}

TEST_F(ServerDialogs, TwoDialogsInOneEventAreAnsweredInTurn) {
  std::string token = sign_in("01", "001", "kq01001");
  int id = open_fake(token);
  Reply first = post("/api/events", click(id, "cb_twice"), token);
  ASSERT_EQ(first.body["dialog"]["text"], "第一问") << first.raw;
  Reply second = post("/api/dialog", {{"dialog", first.body["dialog"]["id"]}, {"answer", 2}}, token);
  ASSERT_EQ(second.body["dialog"]["text"], "第二问") << second.raw;
  EXPECT_NE(second.body["dialog"]["id"], first.body["dialog"]["id"]);
  // What the event changed before the second question travels with it.
  EXPECT_EQ(st_1(second, id), "first 2");
  Reply done = post("/api/dialog", {{"dialog", second.body["dialog"]["id"]}, {"answer", 3}}, token);
  EXPECT_EQ(st_1(done, id), "first 2 second 3");
}

TEST_F(ServerDialogs, WrongAnswersAreRefusedAndTheDialogStillWaits) {
  std::string token = sign_in("01", "001", "kq01001");
  int id = open_fake(token);
  Reply asked = post("/api/events", click(id, "cb_ask"), token);
  const int dialog = asked.body["dialog"]["id"];
  EXPECT_EQ(post("/api/dialog", {{"dialog", dialog}, {"answer", 3}}, token).status, 400);
  EXPECT_EQ(post("/api/dialog", {{"dialog", dialog}, {"answer", "1"}}, token).status, 400);
  EXPECT_EQ(post("/api/dialog", {{"dialog", dialog + 1}, {"answer", 1}}, token).status, 409);
  EXPECT_EQ(post("/api/dialog", {{"answer", 1}}, token).status, 400);
  EXPECT_EQ(post("/api/dialog", {{"dialog", dialog}}, token).status, 400);
  // Another event cannot start while the dialog waits.
  Reply other = post("/api/events", click(id, "cb_whoami"), token);
  EXPECT_EQ(other.status, 409) << other.raw;
  Reply done = post("/api/dialog", {{"dialog", dialog}, {"answer", 2}}, token);
  EXPECT_EQ(st_1(done, id), "answer 2");
  // Answering it again finds nothing waiting.
  EXPECT_EQ(post("/api/dialog", {{"dialog", dialog}, {"answer", 2}}, token).status, 409);
}

TEST_F(ServerDialogs, SelectionListAndDateRangeAnswers) {
  std::string token = sign_in("01", "001", "kq01001");
  int id = open_fake(token);
  Reply list = post("/api/events", click(id, "cb_select"), token);
  const json& d = list.body["dialog"];
  ASSERT_EQ(d["kind"], "selection") << list.raw;
  EXPECT_EQ(d["headings"], json({"代码", "名称"}));
  ASSERT_EQ(d["rows"].size(), 3u);
  EXPECT_EQ(d["rows"][2][1], "<b>钣金班</b>") << "texts travel as data, never as markup";
  EXPECT_EQ(post("/api/dialog", {{"dialog", d["id"]}, {"answer", 4}}, token).status, 400);
  EXPECT_EQ(st_1(post("/api/dialog", {{"dialog", d["id"]}, {"answer", 3}}, token), id), "row 3");

  Reply none = post("/api/events", click(id, "cb_select"), token);
  EXPECT_EQ(st_1(post("/api/dialog", {{"dialog", none.body["dialog"]["id"]}, {"answer", 0}}, token), id), "row 0");

  Reply range = post("/api/events", click(id, "cb_range"), token);
  ASSERT_EQ(range.body["dialog"]["kind"], "daterange") << range.raw;
  EXPECT_EQ(range.body["dialog"]["first"], "2026/12/01");
  const int rid = range.body["dialog"]["id"];
  EXPECT_EQ(post("/api/dialog", {{"dialog", rid}, {"answer", "2026/12/01"}}, token).status, 400);
  EXPECT_EQ(post("/api/dialog", {{"dialog", rid}, {"answer", "2026/02/30@2026/03/01"}}, token).status, 400);
  EXPECT_EQ(post("/api/dialog", {{"dialog", rid}, {"answer", "2026/12/02@2026/12/01"}}, token).status, 400);
  EXPECT_EQ(st_1(post("/api/dialog", {{"dialog", rid}, {"answer", "2026/11/01@2026/11/30"}}, token), id),
            "range 2026/11/01@2026/11/30");

  Reply cancel = post("/api/events", click(id, "cb_range"), token);
  EXPECT_EQ(st_1(post("/api/dialog", {{"dialog", cancel.body["dialog"]["id"]}, {"answer", nullptr}}, token), id),
            "range none");
}

TEST_F(ServerDialogs, EveryEventOfASessionRunsOnItsOwnThreadWithTheSessionCurrent) {
  std::string a = sign_in("01", "001", "kq01001");
  std::string b = sign_in("01", "003", "kq01003");
  int wa = open_fake(a);
  int wb = open_fake(b);
  EXPECT_EQ(st_1(post("/api/events", click(wa, "cb_whoami"), a), wa), "me 001");
  EXPECT_EQ(st_1(post("/api/events", click(wb, "cb_whoami"), b), wb), "me 003");
  post("/api/events", click(wa, "cb_other"), a);
  std::lock_guard lock(world_->m);
  EXPECT_EQ(world_->event_threads.size(), 2u);
  EXPECT_FALSE(world_->event_threads.count(std::this_thread::get_id()));
}

TEST_F(ServerDialogs, ALongEventAnswersBusyWithItsProgressAndFinishesLater) {
  make_api({std::chrono::milliseconds(200), std::chrono::milliseconds(200)});
  std::string token = sign_in("01", "001", "kq01001");
  int id = open_fake(token);
  Reply busy = post("/api/events", click(id, "cb_slow"), token);
  ASSERT_EQ(busy.status, 200) << busy.raw;
  EXPECT_EQ(busy.body["busy"], true);
  EXPECT_EQ(busy.body["progress"]["text"], "正在处理，请稍候...");
  Reply still = post("/api/wait", json::object(), token);
  EXPECT_EQ(still.body["busy"], true) << still.raw;
  EXPECT_EQ(post("/api/events", click(id, "cb_whoami"), token).status, 409);
  // A read cannot run in the middle of the event: it gives up.
  EXPECT_EQ(call("GET", "/api/windows", "", token).status, 503);

  world_->release();
  Reply done;
  for (int i = 0; i < 200; ++i) {  // bounded: the event ends as soon as it is released
    done = post("/api/wait", json::object(), token);
    if (!done.body.contains("busy")) break;
  }
  ASSERT_FALSE(done.body.contains("busy")) << done.raw;
  EXPECT_EQ(st_1(done, id), "slow done");
  // Nothing more to wait for.
  Reply idle = post("/api/wait", json::object(), token);
  EXPECT_EQ(idle.status, 200);
  EXPECT_TRUE(idle.body["windows"].empty()) << idle.raw;
}

TEST_F(ServerDialogs, ReadsAreServedWhileADialogWaits) {
  std::string token = sign_in("01", "001", "kq01001");
  int id = open_fake(token);
  Reply asked = post("/api/events", click(id, "cb_ask"), token);
  ASSERT_TRUE(asked.body.contains("dialog"));
  Reply all = call("GET", "/api/windows", "", token);
  ASSERT_EQ(all.status, 200) << all.raw;
  EXPECT_EQ(all.body["windows"].size(), 1u);
  Reply rows = call("GET", "/api/windows/" + std::to_string(id) + "/controls/dw_1/rows", "", token,
                    {{"first", "901"}, {"count", "50"}});
  ASSERT_EQ(rows.status, 200) << rows.raw;
  EXPECT_EQ(rows.body["first_row"], 901);
  EXPECT_EQ(rows.body["count"], 50);
  EXPECT_EQ(call("GET", "/api/menu", "", token).status, 200);
  post("/api/dialog", {{"dialog", asked.body["dialog"]["id"]}, {"answer", 1}}, token);
}

TEST_F(ServerDialogs, PreviewOffersItsPdfOnlyWhileItIsOpen) {
  std::string token = sign_in("01", "001", "kq01001");
  int id = open_fake(token);
  Reply shown = post("/api/events", click(id, "cb_preview"), token);
  const json& d = shown.body["dialog"];
  ASSERT_EQ(d["kind"], "preview") << shown.raw;
  const std::string pdf = d["pdf"];
  EXPECT_EQ(pdf, "/api/dialogs/" + d["id"].dump() + "/pdf");
  EXPECT_EQ(call("GET", "/api/dialogs/" + std::to_string(d["id"].get<int>() + 1) + "/pdf", "", token).status, 404);
  Reply closed = post("/api/dialog", {{"dialog", d["id"]}, {"answer", 1}}, token);
  EXPECT_EQ(st_1(closed, id), "preview closed");
  EXPECT_EQ(call("GET", pdf, "", token).status, 404);
}

TEST_F(ServerDialogs, AFailingEventIsAnErrorAndTheSessionGoesOn) {
  std::string token = sign_in("01", "001", "kq01001");
  int id = open_fake(token);
  Reply thrown = post("/api/events", click(id, "cb_throw"), token);
  EXPECT_EQ(thrown.status, 500);
  EXPECT_EQ(thrown.body["error"]["status"], 500);
  Reply refused = post("/api/events", click(id, "cb_refuse"), token);
  EXPECT_EQ(refused.status, 403);
  EXPECT_EQ(error_message(refused), "没有权限");
  EXPECT_EQ(st_1(post("/api/events", click(id, "cb_whoami"), token), id), "me 001");
}

TEST_F(ServerDialogs, SigningOutWhileADialogWaitsEndsTheEventAsIfTheDialogWereClosed) {
  std::string token = sign_in("01", "001", "kq01001");
  int id = open_fake(token);
  Reply asked = post("/api/events", click(id, "cb_twice"), token);
  ASSERT_TRUE(asked.body.contains("dialog"));
  EXPECT_EQ(post("/api/signout", json::object(), token).status, 200);
  EXPECT_EQ(world_->closed_all.load(), 1);
  EXPECT_EQ(sessions_->size(), 0u);
}

TEST_F(ServerDialogs, OnlyChangedWindowsTravelAndClosedOnesAreNamed) {
  std::string token = sign_in("01", "001", "kq01001");
  int first = open_fake(token);
  Reply second = post("/api/windows", {{"class", "w_fake"}}, token);
  ASSERT_EQ(second.body["windows"].size(), 1u) << "only the new window changed: " << second.raw;
  int id2 = second.body["windows"][0]["id"];
  EXPECT_NE(id2, first);
  Reply closed = post("/api/events", {{"window", first}, {"control", ""}, {"event", "close"}}, token);
  EXPECT_TRUE(closed.body["windows"].empty()) << closed.raw;
  EXPECT_EQ(closed.body["closed"], json({first}));
}

}  // namespace
}  // namespace kq::testing
