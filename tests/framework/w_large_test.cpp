// The work window ancestor: its commands and the print preview.
#include <gtest/gtest.h>

#include "demo_fixture.h"
#include "framework/w_large.h"
#include "framework/w_sys_dwpreview.h"
#include "platform/ui/event_dispatch.h"

namespace kq::fw {
namespace {

using kq::testing::DemoShop;

class SettledList : public w_large {
 public:
  SettledList() : w_large("w_test_settled", "已结算委托书") { dw_1->dataobject("d_svc305_01"); }
  long ue_before_open() override {
    if (w_large::ue_before_open() == 0) return 0;
    ib_refresh_enabled = refresh;
    dw_1->retrieve("2026/12/08", "2026/12/08");
    return 1;
  }
  long ue_cus(long ai_select) override {
    if (w_large::ue_cus(ai_select) == 0) return 0;
    commands.push_back(ai_select);
    return 1;
  }
  long ue_refresh() override {
    if (w_large::ue_refresh() == 0) return 0;
    ++refreshed;
    return 1;
  }
  static inline bool refresh = true;
  int refreshed = 0;
  std::vector<long> commands;
};

class WorkWindow : public ::testing::Test {
 protected:
  WorkWindow() {
    shop.registry.add("w_test_settled", [] { return std::make_unique<SettledList>(); });
  }
  SettledList* open(bool refresh) {
    SettledList::refresh = refresh;
    return static_cast<SettledList*>(shop.windows->open("w_test_settled"));
  }
  ui::DispatchResult command(const SettledList* w, const char* event) {
    return ui::dispatch_event(*shop.windows, {.window = w->id(), .event = event});
  }
  DemoShop shop;
};

TEST_F(WorkWindow, RefreshIsOfferedOnlyWhenEnabled) {
  SettledList* w = open(false);
  EXPECT_FALSE(command(w, "ue_refresh").ok);
  EXPECT_EQ(w->refreshed, 0);
  ui::close(*w);
  w = open(true);
  EXPECT_EQ(command(w, "ue_refresh").result, 1);
  EXPECT_EQ(w->refreshed, 1);
  EXPECT_EQ(w->dw_d, &w->dw_1);
  EXPECT_EQ(w->focus(), "dw_1");
}

TEST_F(WorkWindow, TheMenuFollowsIsMenutext) {
  SettledList* w = open(true);
  w->is_menutext[1] = "全部";
  w->is_menutext[2] = "打印结算单";
  w->is_menutext[3] = "打印出门证";
  w->is_menu_enabled = "101";
  w->is_menu = "m_sys_04";
  EXPECT_EQ(w->wf_menu_init(), 1);
  EXPECT_EQ(w->menu().name, "m_sys_04");
  ASSERT_EQ(w->menu().commands.size(), 3u);
  EXPECT_EQ(w->menu().commands[1], (ui::MenuCommand{2, "打印结算单", false}));
  EXPECT_TRUE(w->menu().commands[2].enabled);

  auto send = [&](long number) {
    return ui::dispatch_event(*shop.windows, {.window = w->id(), .event = "ue_cus", .number = number});
  };
  EXPECT_EQ(send(1).result, 1);
  EXPECT_FALSE(send(2).ok);
  EXPECT_EQ(send(3).result, 1);
  EXPECT_FALSE(send(4).ok);
  EXPECT_EQ(w->commands, (std::vector<long>{1, 3}));

  w->is_menutext[1] = "当前";
  w->changemenu("m_sys_14");
  w->is_menu.clear();
  w->wf_menu_init();
  EXPECT_EQ(w->menu().name, "m_sys_14");
  EXPECT_EQ(w->menu().commands[0].text, "当前");
}

TEST_F(WorkWindow, PreviewShowsTheListTitledWithTheWindow) {
  SettledList* w = open(true);
  ASSERT_GT(w->dw_1->rowcount(), 0);
  EXPECT_EQ(command(w, "ue_preview").result, 1);
  ASSERT_EQ(shop.ui.previews.size(), 1u);
  const ui::Preview& p = shop.ui.previews[0];
  EXPECT_EQ(p.title, "已结算委托书");
  EXPECT_EQ(p.window, "w_test_settled");
  EXPECT_EQ(p.dataobject, "d_svc305_01");
  EXPECT_NE(p.html.find(w->dw_1->getitemstring(1, "cwtsbh").value_or("?")), std::string::npos);
  // The state renders again without the database.
  dw::DataWindow again;
  ASSERT_EQ(again.from_state_blob(p.state), 1);
  EXPECT_EQ(again.rowcount(), w->dw_1->rowcount());
}

TEST_F(WorkWindow, APreviewsModifyTextChangesThePreviewOnly) {
  SettledList* w = open(true);
  us_preview_parameter p;
  p.dw_datawindow_name = &w->dw_1.dw();
  p.s_modify = "cwtsbh_t.text = '单号'";
  EXPECT_EQ(w_sys_dwpreview(p), 1);
  ASSERT_EQ(shop.ui.previews.size(), 1u);
  EXPECT_NE(shop.ui.previews[0].html.find("单号"), std::string::npos);
  EXPECT_EQ(shop.ui.previews[0].title, "取消结算");  // the definition's title when none is given
  EXPECT_EQ(w->dw_1->describe("cwtsbh_t.text"), "委托书编号");

  p.dw_datawindow_name = nullptr;
  EXPECT_EQ(w_sys_dwpreview(p), -1);
  EXPECT_EQ(shop.ui.previews.size(), 1u);
}

}  // namespace
}  // namespace kq::fw
