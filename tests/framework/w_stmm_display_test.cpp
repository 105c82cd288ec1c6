// The list ancestor's delete command and its chain of events.
#include <gtest/gtest.h>

#include "demo_fixture.h"
#include "platform/ui/event_dispatch.h"
#include "rework_windows.h"

namespace kq::fw {
namespace {

using kq::testing::DemoShop;
using kq::testing::ReworkList;

const char* kRecord = "select count(*) into :v from svcb50 where cwtsbh = '1010000000005'";
const char* kItemsMarked = "select count(*) into :v from svcb20d where cwtsbh = '1010000000005' and lfgbs = 7";

class ListDelete : public ::testing::Test {
 protected:
  ListDelete() {
    shop.registry.add("w_test_list", [] { return std::make_unique<ReworkList>(); });
    list = static_cast<ReworkList*>(shop.windows->open("w_test_list"));
    rows = list->dw_display->rowcount();
    list->dw_display->setrow(list->row_of("1010000000005"));
  }
  long remove() {
    ui::DispatchResult r = ui::dispatch_event(*shop.windows, {.window = list->id(), .event = "ue_do_delete"});
    return r.ok ? r.result : -99L;
  }

  DemoShop shop;
  ReworkList* list = nullptr;
  long rows = 0;
};

TEST_F(ListDelete, AsksThenDeletesAndCommits) {
  ASSERT_GT(list->row_of("1010000000005"), 0);
  shop.ui.answers = {1};
  EXPECT_EQ(remove(), 1);
  ASSERT_EQ(shop.ui.shown.size(), 1u);
  EXPECT_EQ(shop.ui.shown[0].buttons, ui::Buttons::YesNo);
  EXPECT_EQ(shop.ui.shown[0].default_button, 2);
  EXPECT_EQ(shop.ui.shown[0].text.rfind("确定要删除当前记录吗？", 0), 0u);
  EXPECT_NE(shop.ui.shown[0].text.find("1010000000005"), std::string::npos);
  EXPECT_EQ(shop.committed(kRecord), "0");
  EXPECT_NE(shop.committed(kItemsMarked), "0");  // ue_after_delete's statement went with it
  EXPECT_TRUE(list->urgent_at_delete) << "the deletion did not run as urgent work";
  EXPECT_EQ(list->dw_display->rowcount(), rows - 1);
  EXPECT_FALSE(shop.session->sqlca.in_transaction());
}

TEST_F(ListDelete, DeclinedDeletesNothing) {
  shop.ui.answers = {2};
  EXPECT_EQ(remove(), 0);
  EXPECT_EQ(shop.committed(kRecord), "1");
  EXPECT_EQ(list->dw_display->rowcount(), rows);
}

TEST_F(ListDelete, ARefusalAfterTheDeleteRollsBackAndBringsTheRowBack) {
  shop.ui.answers = {1};
  list->after_delete = 0;
  EXPECT_EQ(remove(), 0);
  EXPECT_EQ(shop.committed(kRecord), "1");
  EXPECT_EQ(shop.committed(kItemsMarked), "0");
  EXPECT_FALSE(shop.session->sqlca.in_transaction());
  EXPECT_EQ(list->dw_display->rowcount(), rows);
  EXPECT_GT(list->row_of("1010000000005"), 0);
}

TEST_F(ListDelete, AFailedUpdateIsShownAndRolledBack) {
  shop.ui.answers = {1};
  shop.session->sqlca.faults().fail_matching("delete from svcb50", "disk I/O error");
  EXPECT_EQ(remove(), 0);
  EXPECT_EQ(shop.ui.texts().back(), "数据保存失败！");
  EXPECT_EQ(shop.committed(kRecord), "1");
  EXPECT_EQ(shop.committed(kItemsMarked), "0");
  EXPECT_EQ(list->dw_display->rowcount(), rows);
}

TEST_F(ListDelete, NothingToDelete) {
  list->dw_display->reset();
  EXPECT_EQ(remove(), 0);
  EXPECT_EQ(shop.ui.texts(), std::vector<std::string>{"没有要删除的行！"});
}

TEST_F(ListDelete, TheListIsReadOnlyAndHighlightsItsCurrentRow) {
  EXPECT_TRUE(list->dw_display->readonly());
  EXPECT_EQ(list->dw_display->describe("DataWindow.Grid.ColumnMove"), "No");
  EXPECT_TRUE(list->dw_display->isselected(1));
  EXPECT_EQ(list->dw_display->getselectedrow(1), 0);  // only the one row
  ui::DispatchResult refused = ui::dispatch_event(
      *shop.windows,
      {.window = list->id(), .control = "dw_display", .event = "itemchanged", .row = 1, .column = "ngs", .data = "9"});
  EXPECT_FALSE(refused.ok);
}

}  // namespace
}  // namespace kq::fw
