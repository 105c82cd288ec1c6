// The window state the workstation draws.
#include <gtest/gtest.h>

#include "platform/ui/event_dispatch.h"
#include "platform/ui/window_state.h"
#include "test_windows.h"

namespace kq::ui {
namespace {

using nlohmann::json;
using testing::Log;
using testing::LoggingWindow;

class State : public ::testing::Test {
 protected:
  State() {
    registry.add("w_list", [this] { return std::make_unique<LoggingWindow>("w_list", log); });
    w = static_cast<LoggingWindow*>(m.open("w_list"));
  }
  static const json& control(const json& window, const std::string& name) {
    for (const auto& c : window["controls"])
      if (c["name"] == name) return c;
    static const json none;
    ADD_FAILURE() << "no control " << name;
    return none;
  }
  static bool has_row(const json& dw, long row) {
    return dw["html"].get<std::string>().find("data-row=\"" + std::to_string(row) + "\"") != std::string::npos;
  }

  Log log;
  WindowRegistry registry;
  WindowManager m{registry};
  LoggingWindow* w = nullptr;
};

TEST_F(State, WindowAndControlsHaveTheProtocolsShape) {
  testing::fill_list(w->dw_1, 2);
  w->dw_1->set_readonly(true);
  w->changemenu("m_sys_08");
  w->menu().commands = {{1, "全部", true}};
  w->menu().toolbar = {{"ue_cus", 1, "保存", false}};
  w->em_1.text = "2026/12/08";
  w->em_1.enabled = false;
  w->inv_resize.of_register(w->dw_1, 0, 0, 100, 100);
  Window* child = m.open(std::make_unique<LoggingWindow>("w_child", log), {}, w);

  json s = window_state(*w);
  EXPECT_EQ(s["id"], w->id());
  EXPECT_EQ(s["class"], "w_list");
  EXPECT_EQ(s["title"], "测试窗口");
  EXPECT_TRUE(s["parent"].is_null());
  EXPECT_EQ(window_state(*child)["parent"], w->id());
  EXPECT_EQ(s["menu"], (json{{"name", "m_sys_08"},
                             {"commands", {{{"index", 1}, {"text", "全部"}, {"enabled", true}}}},
                             {"toolbar", {{{"event", "ue_cus"}, {"number", 1}, {"text", "保存"}, {"enabled", false}}}}}));

  EXPECT_EQ(control(s, "em_1"), (json{{"name", "em_1"},
                                      {"kind", "editmask"},
                                      {"text", "2026/12/08"},
                                      {"mask", "yyyy/mm/dd"},
                                      {"visible", true},
                                      {"enabled", false}}));
  EXPECT_EQ(control(s, "cbx_1")["checked"], false);
  EXPECT_FALSE(control(s, "cb_1").contains("mask"));
  EXPECT_FALSE(control(s, "cb_1").contains("checked"));

  const json& dw = control(s, "dw_1");
  EXPECT_EQ(dw["kind"], "datawindow");
  EXPECT_EQ(dw["dataobject"], "d_test_list");
  EXPECT_EQ(dw["style"], "grid");
  EXPECT_EQ(dw["rowcount"], 2);
  EXPECT_EQ(dw["currentrow"], 1);
  EXPECT_EQ(dw["readonly"], true);
  EXPECT_EQ(dw["first_row"], 1);
  EXPECT_EQ(dw["resize"], (json{{"x", 0}, {"y", 0}, {"width", 100}, {"height", 100}}));
  EXPECT_NE(dw["html"].get<std::string>().find("data-dw=\"dw_1\""), std::string::npos);
  EXPECT_TRUE(has_row(dw, 2));

  w->dw_1.visible = false;
  EXPECT_FALSE(control(window_state(*w), "dw_1").contains("html"));
}

TEST_F(State, AGridShowsTheRowWindowAskedForAndFollowsTheCurrentRow) {
  testing::fill_list(w->dw_1, 300);
  w->dw_1.row_window = 50;
  json first = control(window_state(*w), "dw_1");
  EXPECT_TRUE(has_row(first, 50));
  EXPECT_FALSE(has_row(first, 51));

  w->dw_1->setrow(120);  // window code moved the current row out of view
  json moved = control(window_state(*w), "dw_1");
  EXPECT_EQ(moved["first_row"], 71);
  EXPECT_TRUE(has_row(moved, 120));
  EXPECT_FALSE(has_row(moved, 70));

  // The browser scrolls elsewhere; the current row has not moved, so the window stays.
  json answer = dispatch_event(m, {{"window", w->id()}, {"control", "dw_1"}, {"event", "scroll"}, {"row", 251}});
  ASSERT_EQ(answer["ok"], true);
  json scrolled = control(window_state(*w), "dw_1");
  EXPECT_EQ(scrolled["first_row"], 251);
  EXPECT_TRUE(has_row(scrolled, 300));
  EXPECT_FALSE(has_row(scrolled, 120));
}

TEST_F(State, TheTrackerSendsOnlyChangedWindowsAndTheClosedOnes) {
  Window* other = m.open(std::make_unique<LoggingWindow>("w_other", log));
  StateTracker tracker;
  json all = tracker.changes(m);
  EXPECT_EQ(all["windows"].size(), 2u);
  EXPECT_EQ(all["active"], other->id());

  EXPECT_TRUE(tracker.changes(m)["windows"].empty());

  w->em_1.text = "2026/12/01";
  json one = tracker.changes(m);
  ASSERT_EQ(one["windows"].size(), 1u);
  EXPECT_EQ(one["windows"][0]["id"], w->id());

  const int gone = other->id();
  close(*other);
  json closed = tracker.changes(m);
  EXPECT_TRUE(closed["windows"].empty());
  EXPECT_EQ(closed["closed"], json::array({gone}));
  EXPECT_EQ(closed["active"], w->id());
}

}  // namespace
}  // namespace kq::ui
