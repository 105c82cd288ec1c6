// Events as the workstation sends them: typed text applied first, refusals
// for controls the person cannot use, data window items, menu commands.
#include <gtest/gtest.h>

#include "platform/ui/event_dispatch.h"
#include "test_windows.h"

namespace kq::ui {
namespace {

using nlohmann::json;
using testing::Log;
using testing::LoggingWindow;

class Dispatch : public ::testing::Test {
 protected:
  Dispatch() {
    registry.add("w_list", [this] { return std::make_unique<LoggingWindow>("w_list", log); });
    w = static_cast<LoggingWindow*>(m.open("w_list"));
    testing::fill_list(w->dw_1, 3);
    w->menu().commands = {{1, "全部", true}, {2, "打印", false}};
    w->menu().toolbar = {{"ue_refresh", 0, "刷新", true}, {"ue_query", 0, "查询", false}};
    w->on("", "ue_refresh", [this](const Event&) {
      log.push_back("ue_refresh");
      return 1L;
    });
    log.clear();
  }
  json send(json event) {
    event["window"] = event.value("window", w->id());
    return dispatch_event(m, event);
  }
  static bool refused(const json& answer) { return !answer.value("ok", true) && answer.contains("error"); }

  Log log;
  WindowRegistry registry;
  WindowManager m{registry};
  LoggingWindow* w = nullptr;
};

TEST_F(Dispatch, TypedTextIsAppliedBeforeTheHandlerRuns) {
  json answer = send({{"control", "em_1"}, {"event", "ue_key"}, {"key", 13}, {"text", "2026/12/01"}});
  EXPECT_EQ(answer, (json{{"ok", true}, {"result", 1}}));
  EXPECT_EQ(log, (Log{"em_1.ue_key 13 2026/12/01"}));
  EXPECT_EQ(w->em_1.text, "2026/12/01");
}

TEST_F(Dispatch, ADisabledOrHiddenControlIsRefusedAndNothingApplied) {
  w->em_1.text = "2026/12/08";
  w->em_1.enabled = false;
  json answer = send({{"control", "em_1"}, {"event", "ue_key"}, {"key", 13}, {"text", "2026/12/01"}});
  EXPECT_TRUE(refused(answer));
  EXPECT_NE(answer["error"].get<std::string>().find("disabled"), std::string::npos);
  EXPECT_EQ(w->em_1.text, "2026/12/08");
  EXPECT_TRUE(log.empty());

  w->cb_1.visible = false;
  EXPECT_TRUE(refused(send({{"control", "cb_1"}, {"event", "clicked"}})));
  EXPECT_TRUE(log.empty());
}

TEST_F(Dispatch, UnknownTargetsAndMalformedEventsAreRefused) {
  EXPECT_TRUE(refused(send({{"window", 99}, {"control", ""}, {"event", "close"}})));
  EXPECT_TRUE(refused(send({{"control", "em_9"}, {"event", "clicked"}})));
  EXPECT_TRUE(refused(send({{"control", "em_1"}})));
  EXPECT_TRUE(refused(send({{"control", "em_1"}, {"event", "ue_key"}, {"key", "13"}})));
  EXPECT_TRUE(refused(dispatch_event(m, json::array())));
  EXPECT_TRUE(refused(send({{"control", "cb_1"}, {"event", "clicked"}, {"text", "x"}})));  // a button takes no text
  EXPECT_EQ(w->cb_1.text, "确定");
}

TEST_F(Dispatch, InternalEventsNeverComeFromTheWorkstation) {
  for (const char* event : {"ue_before_open", "open", "ue_execute_commit", "ue_cus"}) {
    SCOPED_TRACE(event);
    json e = {{"control", ""}, {"event", event}};
    if (std::string(event) == "ue_cus") e["number"] = 7;  // not a command of the menu
    EXPECT_TRUE(refused(send(e)));
  }
  EXPECT_TRUE(refused(send({{"control", "em_1"}, {"event", "constructor"}})));
  EXPECT_TRUE(log.empty());
}

TEST_F(Dispatch, MenuAndToolbarCommandsRunOnlyWhenEnabled) {
  EXPECT_EQ(send({{"control", ""}, {"event", "ue_cus"}, {"number", 1}})["result"], 1);
  EXPECT_TRUE(refused(send({{"control", ""}, {"event", "ue_cus"}, {"number", 2}})));
  EXPECT_EQ(send({{"control", ""}, {"event", "ue_refresh"}})["ok"], true);
  EXPECT_TRUE(refused(send({{"control", ""}, {"event", "ue_query"}})));
  EXPECT_EQ(log, (Log{"base.ue_cus 1", "ue_refresh"}));
  EXPECT_EQ(send({{"control", ""}, {"event", "close"}})["ok"], true);
  EXPECT_TRUE(m.windows().empty());
}

TEST_F(Dispatch, CheckBoxesToggleAndRadioButtonsExcludeEachOther) {
  send({{"control", "cbx_1"}, {"event", "clicked"}});
  EXPECT_TRUE(w->cbx_1.checked);
  send({{"control", "cbx_1"}, {"event", "clicked"}});
  EXPECT_FALSE(w->cbx_1.checked);
  send({{"control", "cbx_1"}, {"event", "clicked"}, {"checked", true}});
  EXPECT_TRUE(w->cbx_1.checked);

  send({{"control", "rb_1"}, {"event", "clicked"}});
  EXPECT_TRUE(w->rb_1.checked);
  EXPECT_FALSE(w->rb_2.checked);
  EXPECT_TRUE(refused(send({{"control", "em_1"}, {"event", "clicked"}, {"checked", true}})));
}

TEST_F(Dispatch, ARowOfTheEventBecomesCurrentBeforeTheHandler) {
  send({{"control", "dw_1"}, {"event", "doubleclicked"}, {"row", 3}, {"column", "cwtsbh"}});
  EXPECT_EQ(log, (Log{"dw_1.rowfocuschanged 3", "dw_1.doubleclicked 3 current 3"}));
  EXPECT_TRUE(refused(send({{"control", "dw_1"}, {"event", "doubleclicked"}, {"row", 4}})));
  EXPECT_EQ(w->dw_1->getrow(), 3);
}

TEST_F(Dispatch, TypedDataGoesThroughAccepttextAndItsItemchangedEvent) {
  std::vector<std::string> seen;
  w->on("dw_1", "itemchanged", [&](const Event& e) {
    seen.push_back(std::to_string(e.row) + " " + e.column + " " + e.data);
    return e.data == "拒绝" ? 1L : 0L;  // 1 rejects the value
  });
  json ok = send({{"control", "dw_1"}, {"event", "itemchanged"}, {"row", 2}, {"column", "cbz"}, {"data", "返修"}});
  EXPECT_EQ(ok, (json{{"ok", true}, {"result", 1}}));
  EXPECT_EQ(w->dw_1->getitemstring(2, "cbz"), "返修");
  EXPECT_EQ(w->dw_1->getrow(), 2);

  json rejected = send({{"control", "dw_1"}, {"event", "itemchanged"}, {"row", 2}, {"column", "cbz"}, {"data", "拒绝"}});
  EXPECT_EQ(rejected["result"], -1);
  EXPECT_EQ(w->dw_1->getitemstring(2, "cbz"), "返修");
  send({{"control", "dw_1"}, {"event", "itemchanged"}, {"row", 3}, {"column", "cbz"}, {"data", 42}});
  EXPECT_EQ(w->dw_1->getitemstring(3, "cbz"), "42");  // a number typed is its text
  EXPECT_EQ(seen, (std::vector<std::string>{"2 cbz 返修", "2 cbz 拒绝", "3 cbz 42"}));
}

TEST_F(Dispatch, ProtectedItemsReadOnlyWindowsAndMissingRowsRefuseData) {
  EXPECT_TRUE(refused(
      send({{"control", "dw_1"}, {"event", "itemchanged"}, {"row", 1}, {"column", "cwtsbh"}, {"data", "X"}})));
  EXPECT_TRUE(refused(
      send({{"control", "dw_1"}, {"event", "itemchanged"}, {"row", 9}, {"column", "cbz"}, {"data", "X"}})));
  EXPECT_TRUE(refused(
      send({{"control", "dw_1"}, {"event", "itemchanged"}, {"row", 1}, {"column", "nosuch"}, {"data", "X"}})));
  w->dw_1->set_readonly(true);
  EXPECT_TRUE(refused(
      send({{"control", "dw_1"}, {"event", "clicked"}, {"row", 1}, {"column", "cbz"}, {"data", "X"}})));
  EXPECT_EQ(w->dw_1->getitemstring(1, "cwtsbh"), "WO1");
  EXPECT_EQ(w->dw_1->getitemstring(1, "cbz"), std::nullopt);
  EXPECT_FALSE(w->dw_1->pending_edit().has_value());
}

TEST_F(Dispatch, TheSessionOpensOnlyWhatItMayOpen) {
  DispatchOptions options;
  options.may_open = [](std::string_view c) { return c == "w_list2"; };
  registry.add("w_list2", [this] { return std::make_unique<LoggingWindow>("w_list2", log); });
  json opened = dispatch_event(m, {{"window", 0}, {"event", "open"}, {"class", "w_list2"}}, options);
  ASSERT_EQ(opened["ok"], true);
  EXPECT_EQ(m.find(opened["window"].get<int>())->classname(), "w_list2");
  EXPECT_TRUE(refused(dispatch_event(m, {{"window", 0}, {"event", "open"}, {"class", "w_edit"}}, options)));
}

}  // namespace
}  // namespace kq::ui
