// The edit ancestor: the chosen row reaches dw_edit, and the save runs its
// steps in order, stopping and rolling back on a 0 or a failure.
#include <gtest/gtest.h>

#include "demo_fixture.h"
#include "platform/ui/event_dispatch.h"
#include "rework_windows.h"

namespace kq::fw {
namespace {

using kq::testing::DemoShop;
using kq::testing::ReworkEdit;
using kq::testing::ReworkList;
using Steps = std::vector<std::string>;

const char* kNewHours = "select count(*) into :v from svcb50 where cwtsbh = '1010000000005' and ngs = 3.5";
const char* kItemsMarked = "select count(*) into :v from svcb20d where cwtsbh = '1010000000005' and lfgbs = 9";

class EditSave : public ::testing::Test {
 protected:
  EditSave() {
    shop.registry.add("w_test_list", [] { return std::make_unique<ReworkList>(); });
    shop.registry.add("w_test_edit", [] { return std::make_unique<ReworkEdit>(); });
    list = static_cast<ReworkList*>(shop.windows->open("w_test_list"));
    const long row = list->row_of("1010000000005");
    EXPECT_GT(row, 0);
    list->dw_display->setrow(row);
    EXPECT_EQ(list->wf_openeditwindow("edit"), 1);
    edit = static_cast<ReworkEdit*>(shop.windows->find("w_test_edit"));
    EXPECT_NE(edit, nullptr);
    EXPECT_EQ(edit->dw_edit->setitem(1, "ngs", Value("3.5")), 1);
  }
  long save() {
    ui::DispatchResult r = ui::dispatch_event(*shop.windows, {.window = edit->id(), .event = "ue_cus", .number = 1});
    return r.ok ? r.result : -99L;
  }

  DemoShop shop;
  ReworkList* list = nullptr;
  ReworkEdit* edit = nullptr;
};

TEST_F(EditSave, TheListsRowReachesTheEditWindow) {
  ASSERT_EQ(edit->dw_edit->rowcount(), 1);
  EXPECT_EQ(edit->dw_edit->getitemstring(1, "cwtsbh"), "1010000000005");
  EXPECT_EQ(edit->dw_edit->getitemstring(1, "cwxxmdm"), list->dw_display->getitemstring(list->dw_display->getrow(), "cwxxmdm"));
  EXPECT_EQ(edit->parent(), list);
  EXPECT_EQ(edit->is_primarykey, "cwtsbh,cwxxmdm");
  ASSERT_NE(edit->edit_row(), nullptr);
  EXPECT_EQ(edit->edit_row()->key_values[0], Value("1010000000005"));
}

TEST_F(EditSave, RunsItsStepsInOrderAndCommits) {
  EXPECT_EQ(save(), 1);
  EXPECT_EQ(edit->steps, (Steps{"ue_valid_check", "ue_before_update", "ue_before_commit"}));
  EXPECT_TRUE(edit->urgent_at_commit) << "the save did not run as urgent work";
  EXPECT_FALSE(db::UrgentReads::active()) << "the urgency outlived the save";
  EXPECT_EQ(shop.committed(kNewHours), "1");
  EXPECT_NE(shop.committed(kItemsMarked), "0");
  EXPECT_EQ(edit->dw_edit->getitemstatus(1, 0), dw::ItemStatus::NotModified);
  EXPECT_FALSE(shop.session->sqlca.in_transaction());
  // The list was refreshed after the save.
  EXPECT_EQ(list->dw_display->getitemdecimal(list->row_of("1010000000005"), "ngs"), Decimal::parse("3.5"));
  EXPECT_TRUE(shop.ui.shown.empty());
}

TEST_F(EditSave, AZeroAtAnyStepStopsAndRollsBack) {
  struct Case {
    long ReworkEdit::*step;
    Steps ran;
  };
  const Case cases[] = {
      {&ReworkEdit::valid, {"ue_valid_check"}},
      {&ReworkEdit::before_update, {"ue_valid_check", "ue_before_update"}},
      {&ReworkEdit::before_commit, {"ue_valid_check", "ue_before_update", "ue_before_commit"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ran.back());
    edit->steps.clear();
    edit->*c.step = 0;
    EXPECT_EQ(save(), 0);
    EXPECT_EQ(edit->steps, c.ran);
    EXPECT_EQ(shop.committed(kNewHours), "0");
    EXPECT_EQ(shop.committed(kItemsMarked), "0");
    EXPECT_FALSE(shop.session->sqlca.in_transaction());
    EXPECT_EQ(edit->dw_edit->getitemstatus(1, 0), dw::ItemStatus::DataModified);  // still to be saved
    edit->*c.step = 1;
  }
  // Saving again once every step agrees writes what the stopped saves did not.
  EXPECT_EQ(save(), 1);
  EXPECT_EQ(shop.committed(kNewHours), "1");
  EXPECT_TRUE(shop.ui.shown.empty());
}

TEST_F(EditSave, AFailedUpdateOrCommitIsShownAndRolledBack) {
  shop.session->sqlca.faults().fail_matching("update svcb50", "disk I/O error");
  EXPECT_EQ(save(), 0);
  EXPECT_EQ(edit->steps, (Steps{"ue_valid_check", "ue_before_update"}));
  EXPECT_EQ(shop.ui.texts(), Steps{"数据保存失败！"});
  EXPECT_EQ(shop.committed(kItemsMarked), "0");
  EXPECT_FALSE(shop.session->sqlca.in_transaction());

  edit->steps.clear();
  shop.session->sqlca.faults().fail_matching("commit", "database is locked");
  EXPECT_EQ(save(), 0);
  EXPECT_EQ(edit->steps, (Steps{"ue_valid_check", "ue_before_update", "ue_before_commit"}));
  EXPECT_EQ(shop.ui.texts(), (Steps{"数据保存失败！", "数据提交失败！"}));
  EXPECT_EQ(shop.committed(kNewHours), "0");
  EXPECT_EQ(shop.committed(kItemsMarked), "0");
  EXPECT_EQ(edit->dw_edit->getitemstatus(1, 0), dw::ItemStatus::DataModified);
}

TEST_F(EditSave, APendingEditThatDoesNotConvertStopsBeforeTheSteps) {
  edit->dw_edit->set_pending_edit(1, "ngs", "三点五");
  EXPECT_EQ(save(), 0);
  EXPECT_TRUE(edit->steps.empty());
}

// An edit window whose save cannot be undone: it asks first and tells after.
class IrreversibleEdit : public ReworkEdit {
 public:
  std::string wf_save_question() override { return "确定保存工时 3.5 ？"; }
  std::string wf_save_done() override { return "保存成功！"; }
};

TEST(EditSaveAskAndTell, NoStopsTheSaveYesSavesTellsAndClosesToTheList) {
  DemoShop shop;
  shop.registry.add("w_test_list", [] { return std::make_unique<ReworkList>(); });
  shop.registry.add("w_test_edit", [] { return std::make_unique<IrreversibleEdit>(); });
  auto* list = static_cast<ReworkList*>(shop.windows->open("w_test_list"));
  ASSERT_NE(list, nullptr);
  list->dw_display->setrow(list->row_of("1010000000005"));
  ASSERT_EQ(list->wf_openeditwindow("edit"), 1);
  auto* edit = static_cast<IrreversibleEdit*>(shop.windows->find("w_test_edit"));
  ASSERT_NE(edit, nullptr);
  ASSERT_EQ(edit->dw_edit->setitem(1, "ngs", Value("3.5")), 1);
  const ui::EventRequest save{.window = edit->id(), .event = "ue_cus", .number = 1};

  // 否 (the default): asked after validation, nothing written, the window stays.
  EXPECT_EQ(ui::dispatch_event(*shop.windows, save).result, 0);
  EXPECT_EQ(edit->steps, Steps{"ue_valid_check"});
  ASSERT_EQ(shop.ui.shown.size(), 1u);
  EXPECT_EQ(shop.ui.shown[0].text, "确定保存工时 3.5 ？");
  EXPECT_EQ(shop.ui.shown[0].buttons, ui::Buttons::YesNo);
  EXPECT_EQ(shop.ui.shown[0].default_button, 2);
  EXPECT_EQ(shop.committed(kNewHours), "0");
  EXPECT_EQ(edit->dw_edit->getitemstatus(1, 0), dw::ItemStatus::DataModified);
  EXPECT_EQ(shop.windows->find("w_test_edit"), edit);

  // 是: saved, told, and the list is in front with the focus, refreshed.
  shop.ui.shown.clear();
  shop.ui.answers = {1};
  EXPECT_EQ(ui::dispatch_event(*shop.windows, save).result, 1);
  EXPECT_EQ(shop.ui.texts(), (Steps{"确定保存工时 3.5 ？", "保存成功！"}));
  EXPECT_EQ(shop.committed(kNewHours), "1");
  EXPECT_EQ(shop.windows->find("w_test_edit"), nullptr);
  EXPECT_EQ(shop.windows->active(), list);
  EXPECT_EQ(list->focus(), "dw_display");
  EXPECT_EQ(list->dw_display->getitemdecimal(list->row_of("1010000000005"), "ngs"), Decimal::parse("3.5"));
}

}  // namespace
}  // namespace kq::fw
