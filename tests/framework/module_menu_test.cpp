// The module's main menu offers the windows that are built, by title.
#include <gtest/gtest.h>

#include "demo_fixture.h"
#include "framework/module_menu.h"
#include "module.h"
#include "framework/w_svc300_03.h"
#include "framework/us_svc_xlxm.h"
#include "platform/ui/event_dispatch.h"

namespace kq::fw {
namespace {

using kq::testing::DemoShop;

TEST(ModuleMenu, OffersTheEntriesWhoseWindowIsRegistered) {
  ui::WindowRegistry registry;
  module::install_windows(registry);
  EXPECT_EQ(module_menu(registry), (std::vector<ModuleMenuEntry>{{"派工处理", "w_svc301"},
                                                                {"返修处理", "w_svc304"},
                                                                {"取消结算", "w_svc305"},
                                                                {"打印结算单", "w_svc309"},
                                                                {"委托书打印工单", "w_svc310"}}));
  EXPECT_TRUE(in_module_menu("W_SVC305", registry));
  EXPECT_FALSE(in_module_menu("w_svc305_01", registry));  // opened from the list only
  EXPECT_FALSE(in_module_menu("w_svc304_01", registry));
  EXPECT_FALSE(in_module_menu("w_svc300_03", registry));

  // An entry added later comes after; a class offered twice keeps its place.
  add_menu_entry("测试窗口", "w_test_menu");
  add_menu_entry("取消结算", "W_SVC305");
  registry.add("w_test_menu", [] { return nullptr; });
  EXPECT_EQ(module_menu(registry), (std::vector<ModuleMenuEntry>{
                                        {"派工处理", "w_svc301"},
                                        {"返修处理", "w_svc304"},
                                        {"取消结算", "w_svc305"},
                                        {"打印结算单", "w_svc309"},
                                        {"委托书打印工单", "w_svc310"},
                                        {"测试窗口", "w_test_menu"}}));
  EXPECT_TRUE(module_menu(ui::WindowRegistry{}).empty());
}

TEST(ModuleMenu, TheWorkstationOpensMenuWindowsOnly) {
  DemoShop shop;
  ui::DispatchOptions options;
  options.may_open = [&](std::string_view c) { return in_module_menu(c, shop.registry); };
  auto opened = ui::dispatch_event(*shop.windows, {.window = 0, .event = "open", .window_class = "w_svc305"}, options);
  ASSERT_TRUE(opened.ok) << opened.error;
  EXPECT_EQ(shop.windows->find(opened.window)->title, "取消结算");
  auto refused = ui::dispatch_event(*shop.windows, {.window = 0, .event = "open", .window_class = "w_svc305_01"}, options);
  EXPECT_FALSE(refused.ok);
  EXPECT_EQ(shop.windows->windows().size(), 1u);
}

TEST(HostWindows, TheRepairItemWindowTellsItsMode) {
  DemoShop shop;
  us_svc_xlxm parm;
  parm.cwtsbh = "1010000000001";
  parm.ctype = "PG";
  auto* w = dynamic_cast<w_svc300_03*>(shop.windows->open("w_svc300_03", ui::Message::of_object(parm)));
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->is_type, "PG");
  EXPECT_EQ(w->ib_is_pg, true);
  EXPECT_EQ(w->ib_sh, false);
  EXPECT_NE(w->st_1.text.find("1010000000001"), std::string::npos);
  ui::close(*w);

  auto* plain = dynamic_cast<w_svc300_03*>(shop.windows->open("w_svc300_03"));
  ASSERT_NE(plain, nullptr);
  EXPECT_FALSE(plain->is_type.has_value());  // null: opened without a mode
  EXPECT_FALSE(plain->ib_is_pg.has_value());
}

}  // namespace
}  // namespace kq::fw
