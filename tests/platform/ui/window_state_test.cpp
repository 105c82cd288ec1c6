// The window state the workstation draws.
#include <gtest/gtest.h>

#include "platform/ui/event_dispatch.h"
#include "platform/ui/window_state.h"
#include "test_windows.h"

namespace kq::ui {
namespace {

using testing::Log;
using testing::LoggingWindow;

class State : public ::testing::Test {
 protected:
  State() {
    registry.add("w_list", [this] { return std::make_unique<LoggingWindow>("w_list", log); });
    w = static_cast<LoggingWindow*>(m.open("w_list"));
  }
  static ControlState control(const WindowState& window, const std::string& name) {
    for (const auto& c : window.controls)
      if (c.name == name) return c;
    ADD_FAILURE() << "no control " << name;
    return {};
  }
  static DataWindowState grid(const WindowState& window, const std::string& name) {
    return control(window, name).datawindow.value_or(DataWindowState{});
  }
  static bool has_row(const DataWindowState& dw, long row) {
    return dw.html.value_or("").find("data-row=\"" + std::to_string(row) + "\"") != std::string::npos;
  }

  Log log;
  WindowRegistry registry;
  WindowManager m{registry};
  LoggingWindow* w = nullptr;
};

TEST_F(State, WindowAndControlsAreDescribedAsTheyAre) {
  testing::fill_list(w->dw_1, 2);
  w->dw_1->set_readonly(true);
  w->changemenu("m_sys_08");
  w->menu().commands = {{1, "全部", true}};
  w->menu().toolbar = {{"ue_cus", 1, "保存", false}};
  w->em_1.text = "2026/12/08";
  w->em_1.enabled = false;
  w->em_1.dropdown_calendar = true;
  w->em_1.calendar_date = "2026/12/01";
  w->inv_resize.of_register(w->dw_1, 0, 0, 100, 100);
  Window* child = m.open(std::make_unique<LoggingWindow>("w_child", log), {}, w);

  WindowState s = window_state(*w);
  EXPECT_EQ(s.id, w->id());
  EXPECT_EQ(s.classname, "w_list");
  EXPECT_EQ(s.title, "测试窗口");
  EXPECT_FALSE(s.parent.has_value());
  EXPECT_EQ(window_state(*child).parent, w->id());
  EXPECT_EQ(s.menu.name, "m_sys_08");
  EXPECT_EQ(s.menu.commands, (std::vector<MenuCommand>{{1, "全部", true}}));
  EXPECT_EQ(s.menu.toolbar, (std::vector<ToolbarButton>{{"ue_cus", 1, "保存", false}}));

  const ControlState em = control(s, "em_1");
  EXPECT_EQ(em.kind, ControlKind::EditMask);
  EXPECT_EQ(em.text, "2026/12/08");
  EXPECT_EQ(em.mask, "yyyy/mm/dd");
  EXPECT_EQ(em.calendar, "2026/12/01");
  EXPECT_TRUE(em.visible);
  EXPECT_FALSE(em.enabled);
  EXPECT_FALSE(em.datawindow.has_value());
  EXPECT_FALSE(control(s, "cbx_1").checked);
  EXPECT_TRUE(control(s, "rb_2").checked);
  EXPECT_FALSE(control(s, "cb_1").calendar.has_value());

  const ControlState dw_control = control(s, "dw_1");
  ASSERT_TRUE(dw_control.datawindow.has_value());
  const DataWindowState& dw = *dw_control.datawindow;
  EXPECT_EQ(dw_control.kind, ControlKind::DataWindow);
  EXPECT_EQ(dw.dataobject, "d_test_list");
  EXPECT_EQ(dw.style, "grid");
  EXPECT_TRUE(dw.grid);
  EXPECT_EQ(dw.rowcount, 2);
  EXPECT_EQ(dw.currentrow, 1);
  EXPECT_TRUE(dw.readonly);
  EXPECT_EQ(dw.first_row, 1);
  EXPECT_EQ(dw.row_window, 100);
  EXPECT_TRUE(dw.sort.empty());
  ASSERT_TRUE(dw_control.resize.has_value());
  EXPECT_EQ(*dw_control.resize, (ResizeRule{"dw_1", 0, 0, 100, 100}));
  EXPECT_NE(dw.html.value_or("").find("data-dw=\"dw_1\""), std::string::npos);
  EXPECT_TRUE(has_row(dw, 2));

  w->dw_1->setsort("cbz D, cwtsbh A");
  w->dw_1->sort();
  EXPECT_EQ(grid(window_state(*w), "dw_1").sort,
            (std::vector<SortColumn>{{"cbz", true}, {"cwtsbh", false}}));

  w->dw_1.visible = false;
  EXPECT_FALSE(grid(window_state(*w), "dw_1").html.has_value());

  WindowsState all = windows_state(m);
  ASSERT_EQ(all.windows.size(), 2u);
  EXPECT_EQ(all.active, child->id());
}

TEST_F(State, AGridShowsTheRowWindowAskedForAndFollowsTheCurrentRow) {
  testing::fill_list(w->dw_1, 300);
  w->dw_1.row_window = 50;
  DataWindowState first = grid(window_state(*w), "dw_1");
  EXPECT_TRUE(has_row(first, 50));
  EXPECT_FALSE(has_row(first, 51));

  w->dw_1->setrow(120);  // window code moved the current row out of view
  DataWindowState moved = grid(window_state(*w), "dw_1");
  EXPECT_EQ(moved.first_row, 71);
  EXPECT_TRUE(has_row(moved, 120));
  EXPECT_FALSE(has_row(moved, 70));

  // The browser scrolls elsewhere; the current row has not moved, so the window stays.
  DispatchResult answer = dispatch_event(m, {.window = w->id(), .control = "dw_1", .event = "scroll", .row = 251});
  ASSERT_TRUE(answer.ok) << answer.error;
  DataWindowState scrolled = grid(window_state(*w), "dw_1");
  EXPECT_EQ(scrolled.first_row, 251);
  EXPECT_TRUE(has_row(scrolled, 300));
  EXPECT_FALSE(has_row(scrolled, 120));
}

}  // namespace
}  // namespace kq::ui
