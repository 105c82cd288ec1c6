// Events as the workstation sends them: typed text applied first, refusals
// for controls the person cannot use, data window items, menu commands.
#include <gtest/gtest.h>

#include "platform/ui/event_dispatch.h"
#include "test_windows.h"

namespace kq::ui {
namespace {

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
  DispatchResult send(EventRequest event) {
    if (event.window == 0) event.window = w->id();
    return dispatch_event(m, event);
  }
  static bool refused(const DispatchResult& answer) { return !answer.ok && !answer.error.empty(); }

  Log log;
  WindowRegistry registry;
  WindowManager m{registry};
  LoggingWindow* w = nullptr;
};

TEST_F(Dispatch, TypedTextIsAppliedBeforeTheHandlerRuns) {
  DispatchResult answer = send({.control = "em_1", .event = "ue_key", .key = 13, .text = "2026/12/01"});
  EXPECT_TRUE(answer.ok) << answer.error;
  EXPECT_EQ(answer.result, 1);
  EXPECT_EQ(log, (Log{"em_1.ue_key 13 2026/12/01"}));
  EXPECT_EQ(w->em_1.text, "2026/12/01");
}

TEST_F(Dispatch, ADisabledOrHiddenControlIsRefusedAndNothingApplied) {
  w->em_1.text = "2026/12/08";
  w->em_1.enabled = false;
  DispatchResult answer = send({.control = "em_1", .event = "ue_key", .key = 13, .text = "2026/12/01"});
  EXPECT_TRUE(refused(answer));
  EXPECT_NE(answer.error.find("disabled"), std::string::npos) << answer.error;
  EXPECT_EQ(w->em_1.text, "2026/12/08");
  EXPECT_TRUE(log.empty());

  w->cb_1.visible = false;
  EXPECT_TRUE(refused(send({.control = "cb_1", .event = "clicked"})));
  EXPECT_TRUE(log.empty());
}

TEST_F(Dispatch, UnknownTargetsAndEventsWithoutANameAreRefused) {
  EXPECT_TRUE(refused(send({.window = 99, .control = "", .event = "close"})));
  EXPECT_TRUE(refused(send({.control = "em_9", .event = "clicked"})));
  EXPECT_TRUE(refused(send({.control = "em_1"})));
  EXPECT_TRUE(refused(send({.control = "cb_1", .event = "clicked", .text = "x"})));  // a button takes no text
  EXPECT_TRUE(refused(send({.control = "", .event = "ue_refresh", .text = "x"})));   // nor does a window
  EXPECT_EQ(w->cb_1.text, "确定");
  EXPECT_TRUE(log.empty());
}

TEST_F(Dispatch, InternalEventsNeverComeFromTheWorkstation) {
  for (const char* event : {"ue_before_open", "open", "ue_execute_commit", "ue_cus"}) {
    SCOPED_TRACE(event);
    EventRequest e{.control = "", .event = event};
    if (std::string(event) == "ue_cus") e.number = 7;  // not a command of the menu
    EXPECT_TRUE(refused(send(e)));
  }
  EXPECT_TRUE(refused(send({.control = "em_1", .event = "constructor"})));
  EXPECT_TRUE(log.empty());
}

TEST_F(Dispatch, MenuAndToolbarCommandsRunOnlyWhenEnabled) {
  EXPECT_EQ(send({.control = "", .event = "ue_cus", .number = 1}).result, 1);
  EXPECT_TRUE(refused(send({.control = "", .event = "ue_cus", .number = 2})));
  EXPECT_TRUE(send({.control = "", .event = "UE_REFRESH"}).ok);  // names in any case
  EXPECT_TRUE(refused(send({.control = "", .event = "ue_query"})));
  EXPECT_EQ(log, (Log{"base.ue_cus 1", "ue_refresh"}));
  EXPECT_TRUE(send({.control = "", .event = "close"}).ok);
  EXPECT_TRUE(m.windows().empty());
}

TEST_F(Dispatch, CheckBoxesToggleAndRadioButtonsExcludeEachOther) {
  send({.control = "cbx_1", .event = "clicked"});
  EXPECT_TRUE(w->cbx_1.checked);
  send({.control = "cbx_1", .event = "clicked"});
  EXPECT_FALSE(w->cbx_1.checked);
  send({.control = "cbx_1", .event = "clicked", .checked = true});
  EXPECT_TRUE(w->cbx_1.checked);

  send({.control = "rb_1", .event = "clicked"});
  EXPECT_TRUE(w->rb_1.checked);
  EXPECT_FALSE(w->rb_2.checked);
  EXPECT_TRUE(refused(send({.control = "em_1", .event = "clicked", .checked = true})));
}

TEST_F(Dispatch, ARowOfTheEventBecomesCurrentBeforeTheHandler) {
  send({.control = "dw_1", .event = "doubleclicked", .row = 3, .column = "cwtsbh"});
  EXPECT_EQ(log, (Log{"dw_1.rowfocuschanged 3", "dw_1.doubleclicked 3 current 3"}));
  EXPECT_TRUE(refused(send({.control = "dw_1", .event = "doubleclicked", .row = 4})));
  EXPECT_EQ(w->dw_1->getrow(), 3);
}

TEST_F(Dispatch, TypedDataGoesThroughAccepttextAndItsItemchangedEvent) {
  std::vector<std::string> seen;
  w->on("dw_1", "itemchanged", [&](const Event& e) {
    seen.push_back(std::to_string(e.row) + " " + e.column + " " + e.data);
    return e.data == "拒绝" ? 1L : 0L;  // 1 rejects the value
  });
  DispatchResult ok = send({.control = "dw_1", .event = "itemchanged", .row = 2, .column = "cbz", .data = "返修"});
  EXPECT_TRUE(ok.ok) << ok.error;
  EXPECT_EQ(ok.result, 1);
  EXPECT_EQ(w->dw_1->getitemstring(2, "cbz"), "返修");
  EXPECT_EQ(w->dw_1->getrow(), 2);

  DispatchResult rejected = send({.control = "dw_1", .event = "itemchanged", .row = 2, .column = "cbz", .data = "拒绝"});
  EXPECT_EQ(rejected.result, -1);
  EXPECT_EQ(w->dw_1->getitemstring(2, "cbz"), "返修");
  send({.control = "dw_1", .event = "itemchanged", .row = 3, .column = "cbz", .data = "42"});
  EXPECT_EQ(w->dw_1->getitemstring(3, "cbz"), "42");
  EXPECT_EQ(seen, (std::vector<std::string>{"2 cbz 返修", "2 cbz 拒绝", "3 cbz 42"}));
}

TEST_F(Dispatch, ProtectedItemsReadOnlyWindowsAndMissingRowsRefuseData) {
  EXPECT_TRUE(refused(send({.control = "dw_1", .event = "itemchanged", .row = 1, .column = "cwtsbh", .data = "X"})));
  EXPECT_TRUE(refused(send({.control = "dw_1", .event = "itemchanged", .row = 9, .column = "cbz", .data = "X"})));
  EXPECT_TRUE(refused(send({.control = "dw_1", .event = "itemchanged", .row = 1, .column = "nosuch", .data = "X"})));
  EXPECT_TRUE(refused(send({.control = "dw_1", .event = "itemchanged", .row = 1, .column = "cbz"})));  // no data
  w->dw_1->set_readonly(true);
  EXPECT_TRUE(refused(send({.control = "dw_1", .event = "clicked", .row = 1, .column = "cbz", .data = "X"})));
  EXPECT_EQ(w->dw_1->getitemstring(1, "cwtsbh"), "WO1");
  EXPECT_EQ(w->dw_1->getitemstring(1, "cbz"), std::nullopt);
  EXPECT_FALSE(w->dw_1->pending_edit().has_value());
}

TEST_F(Dispatch, TheSessionOpensOnlyWhatItMayOpen) {
  DispatchOptions options;
  options.may_open = [](std::string_view c) { return c == "w_list2"; };
  registry.add("w_list2", [this] { return std::make_unique<LoggingWindow>("w_list2", log); });
  DispatchResult opened = dispatch_event(m, {.window = 0, .event = "open", .window_class = "w_list2"}, options);
  ASSERT_TRUE(opened.ok) << opened.error;
  EXPECT_EQ(m.find(opened.window)->classname(), "w_list2");
  EXPECT_TRUE(refused(dispatch_event(m, {.window = 0, .event = "open", .window_class = "w_edit"}, options)));
  EXPECT_TRUE(refused(dispatch_event(m, {.window = 0, .event = "open"}, options)));
  EXPECT_TRUE(refused(dispatch_event(m, {.window = 0, .event = "close"}, options)));
}

TEST_F(Dispatch, AClickOnAHeadingIsOfferedToTheWindowBeforeItsClickedEvent) {
  struct Heading {
    std::string control, column;
  };
  std::vector<Heading> offered;
  class HeadingWindow : public LoggingWindow {
   public:
    HeadingWindow(Log& log, std::vector<Heading>& offered) : LoggingWindow("w_heading", log), offered_(offered) {
      on("dw_1", "clicked", [this](const Event& e) {
        log_.push_back("dw_1.clicked " + std::to_string(e.row) + " " + e.column);
        return 1L;
      });
    }
    void heading_clicked(DataWindowControl& control, const std::string& column) override {
      offered_.push_back({control.name(), column});
      log_.push_back("heading " + column);
    }

   private:
    std::vector<Heading>& offered_;
  };
  auto* h = static_cast<HeadingWindow*>(m.open(std::make_unique<HeadingWindow>(log, offered)));
  testing::fill_list(h->dw_1, 3);
  log.clear();
  EXPECT_TRUE(dispatch_event(m, {.window = h->id(), .control = "dw_1", .event = "clicked", .column = "cwtsbh"}).ok);
  EXPECT_EQ(log, (Log{"heading cwtsbh", "dw_1.clicked 0 cwtsbh"}));
  // A click on a row, or on no column, is no heading.
  log.clear();
  dispatch_event(m, {.window = h->id(), .control = "dw_1", .event = "clicked", .row = 2, .column = "cwtsbh"});
  dispatch_event(m, {.window = h->id(), .control = "dw_1", .event = "clicked"});
  EXPECT_EQ(log, (Log{"dw_1.rowfocuschanged 2", "dw_1.clicked 2 cwtsbh", "dw_1.clicked 0 "}));
  ASSERT_EQ(offered.size(), 1u);
  EXPECT_EQ(offered[0].control, "dw_1");
}

}  // namespace
}  // namespace kq::ui
