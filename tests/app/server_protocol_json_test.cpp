// The protocol's messages and the platform's typed events and window states:
// events the browser sends, taken apart (refused when malformed), and window
// states in the shape docs/protocol.md gives.
#include <gtest/gtest.h>

#include "platform/ui/test_windows.h"
#include "platform/ui/window_state.h"
#include "server/event_json.h"
#include "server/window_state_json.h"

namespace kq::server {
namespace {

using nlohmann::json;
using ui::testing::Log;
using ui::testing::LoggingWindow;

TEST(ServerProtocolJson, AnEventCarriesItsMembersAndTypedInput) {
  auto e = event_from_json({{"window", 3}, {"control", "em_1"}, {"event", "ue_key"}, {"key", 13}, {"keyflags", 2},
                            {"text", "2026/12/01"}, {"row", 4}, {"column", "cwtsbh"}, {"number", 1},
                            {"xpos", 5}, {"ypos", 6}, {"checked", true}, {"row_window", 50}});
  ASSERT_TRUE(e) << e.error();
  EXPECT_EQ(e->window, 3);
  EXPECT_EQ(e->control, "em_1");
  EXPECT_EQ(e->event, "ue_key");
  EXPECT_EQ(e->key, 13);
  EXPECT_EQ(e->keyflags, 2);
  EXPECT_EQ(e->text, "2026/12/01");
  EXPECT_EQ(e->row, 4);
  EXPECT_EQ(e->column, "cwtsbh");
  EXPECT_EQ(e->number, 1);
  EXPECT_EQ(e->xpos, 5);
  EXPECT_EQ(e->ypos, 6);
  EXPECT_EQ(e->checked, true);
  EXPECT_EQ(e->row_window, 50);
  EXPECT_FALSE(e->data.has_value());

  auto open = event_from_json({{"window", 0}, {"event", "open"}, {"class", "w_svc305"}});
  ASSERT_TRUE(open) << open.error();
  EXPECT_EQ(open->window_class, "w_svc305");
  EXPECT_FALSE(open->text.has_value());

  // Data typed as a number is its text; null is no data at all.
  EXPECT_EQ(event_from_json({{"window", 1}, {"event", "itemchanged"}, {"data", 42}})->data, "42");
  EXPECT_EQ(event_from_json({{"window", 1}, {"event", "itemchanged"}, {"data", 1.5}})->data, "1.5");
  EXPECT_EQ(event_from_json({{"window", 1}, {"event", "itemchanged"}, {"data", "返修"}})->data, "返修");
  EXPECT_FALSE(event_from_json({{"window", 1}, {"event", "clicked"}, {"data", nullptr}, {"text", nullptr}})->data);
}

TEST(ServerProtocolJson, MalformedEventsAreRefusedSayingWhy) {
  const std::vector<std::pair<json, std::string>> cases = {
      {json::array(), "JSON object"},
      {{{"window", "1"}, {"event", "close"}}, "\"window\""},
      {{{"window", 1}}, "\"event\""},
      {{{"window", 1}, {"event", 7}}, "\"event\""},
      {{{"window", 1}, {"event", "clicked"}, {"control", 5}}, "\"control\""},
      {{{"window", 1}, {"event", "ue_key"}, {"key", "13"}}, "whole numbers"},
      {{{"window", 1}, {"event", "scroll"}, {"row_window", 2.5}}, "whole numbers"},
      {{{"window", 1}, {"event", "ue_key"}, {"text", 13}}, "\"text\""},
      {{{"window", 1}, {"event", "itemchanged"}, {"data", json::object()}}, "\"data\""},
      {{{"window", 1}, {"event", "clicked"}, {"checked", "yes"}}, "\"checked\""},
      {{{"window", 1}, {"event", "clicked"}, {"column", json::array()}}, "\"column\""},
      {{{"window", 0}, {"event", "open"}, {"class", 305}}, "\"class\""},
  };
  for (const auto& [event, why] : cases) {
    auto e = event_from_json(event);
    ASSERT_FALSE(e) << event.dump();
    EXPECT_NE(e.error().find(why), std::string::npos) << event.dump() << ": " << e.error();
  }
}

TEST(ServerProtocolJson, WindowStatesHaveTheProtocolsShape) {
  Log log;
  ui::WindowRegistry registry;
  registry.add("w_list", [&log] { return std::make_unique<LoggingWindow>("w_list", log); });
  ui::WindowManager m{registry};
  auto* w = static_cast<LoggingWindow*>(m.open("w_list"));
  ui::testing::fill_list(w->dw_1, 2);
  w->dw_1->set_readonly(true);
  w->dw_1->setsort("cwtsbh D");
  w->dw_1->sort();
  w->changemenu("m_sys_08");
  w->menu().commands = {{1, "全部", true}};
  w->menu().toolbar = {{"ue_cus", 1, "保存", false}, {"close", 0, "关闭", true}};
  w->em_1.text = "2026/12/08";
  w->em_1.enabled = false;
  w->inv_resize.of_register(w->dw_1, 0, 0, 100, 100);
  w->cb_1.geometry = ui::Geometry{1, 2, 3, 4};
  ui::Window* child = m.open(std::make_unique<LoggingWindow>("w_child", log), {}, w);

  json s = window_json(ui::window_state(*w));
  auto control = [&s](const std::string& name) {
    for (const auto& c : s["controls"])
      if (c["name"] == name) return c;
    ADD_FAILURE() << "no control " << name;
    return json();
  };
  EXPECT_EQ(s["id"], w->id());
  EXPECT_EQ(s["class"], "w_list");
  EXPECT_EQ(s["title"], "测试窗口");
  EXPECT_TRUE(s["parent"].is_null());
  EXPECT_EQ(window_json(ui::window_state(*child))["parent"], w->id());
  EXPECT_EQ(s["menu"], (json{{"name", "m_sys_08"},
                             {"commands", {{{"index", 1}, {"text", "全部"}, {"enabled", true}}}},
                             {"toolbar",
                              {{{"event", "ue_cus"}, {"number", 1}, {"text", "保存"}, {"enabled", false}},
                               {{"event", "close"}, {"text", "关闭"}, {"enabled", true}}}}}));
  EXPECT_EQ(control("em_1"), (json{{"name", "em_1"},
                                   {"kind", "editmask"},
                                   {"text", "2026/12/08"},
                                   {"mask", "yyyy/mm/dd"},
                                   {"visible", true},
                                   {"enabled", false}}));
  EXPECT_EQ(control("cbx_1")["checked"], false);
  EXPECT_EQ(control("rb_2")["kind"], "radiobutton");
  EXPECT_FALSE(control("cb_1").contains("mask"));
  EXPECT_FALSE(control("cb_1").contains("checked"));
  EXPECT_EQ(control("cb_1")["geometry"], (json{{"x", 1}, {"y", 2}, {"width", 3}, {"height", 4}}));

  const json dw = control("dw_1");
  EXPECT_EQ(dw["kind"], "datawindow");
  EXPECT_FALSE(dw.contains("text"));
  EXPECT_EQ(dw["dataobject"], "d_test_list");
  EXPECT_EQ(dw["style"], "grid");
  EXPECT_EQ(dw["rowcount"], 2);
  EXPECT_EQ(dw["currentrow"], 2);  // WO1, moved down by the descending sort
  EXPECT_EQ(dw["readonly"], true);
  EXPECT_EQ(dw["first_row"], 1);
  EXPECT_EQ(dw["row_window"], 100);
  EXPECT_FALSE(dw.contains("locked_columns"));
  EXPECT_EQ(dw["sort"], json::parse(R"([{"column":"cwtsbh","descending":true}])"));
  EXPECT_EQ(dw["resize"], (json{{"x", 0}, {"y", 0}, {"width", 100}, {"height", 100}}));
  EXPECT_NE(dw["html"].get<std::string>().find("data-dw=\"dw_1\""), std::string::npos);

  w->dw_1.visible = false;
  w->dw_1.locked_columns = 1;
  s = window_json(ui::window_state(*w));
  EXPECT_FALSE(control("dw_1").contains("html"));
  EXPECT_EQ(control("dw_1")["locked_columns"], 1);

  json all = windows_json(ui::windows_state(m));
  EXPECT_EQ(all["active"], child->id());
  EXPECT_EQ(all["windows"].size(), 2u);
  ui::close(*child);
  ui::close(*w);
  EXPECT_TRUE(windows_json(ui::windows_state(m))["active"].is_null());
}

}  // namespace
}  // namespace kq::server
