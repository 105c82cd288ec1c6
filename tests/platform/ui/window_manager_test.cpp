// Opening, closing, events and posted events of windows in a manager.
#include <gtest/gtest.h>

#include "platform/ui/window_manager.h"
#include "test_windows.h"

namespace kq::ui {
namespace {

using testing::DerivedWindow;
using testing::Log;
using testing::LoggingWindow;

class Windows : public ::testing::Test {
 protected:
  Windows() {
    registry.add("w_list", [this] { return std::make_unique<LoggingWindow>("w_list", log); });
    registry.add("w_edit", [this] { return std::make_unique<DerivedWindow>("w_edit", log); });
  }
  Log log;
  WindowRegistry registry;
  WindowManager m{registry};
};

TEST_F(Windows, OpenByClassNameRunsBeforeOpenThenOpen) {
  Window* w = m.open("W_LIST");
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->classname(), "w_list");
  EXPECT_EQ(log, (Log{"w_list.ue_before_open", "w_list.open"}));
  EXPECT_EQ(m.find("w_list"), w);
  EXPECT_EQ(m.find(w->id()), w);
  EXPECT_EQ(m.active(), w);
  EXPECT_TRUE(w->is_open());
}

TEST_F(Windows, UnknownClassAndRefusedOpeningLeaveNoWindow) {
  EXPECT_EQ(m.open("w_nosuch"), nullptr);
  EXPECT_NE(m.last_error().find("w_nosuch"), std::string::npos);

  auto refusing = std::make_unique<LoggingWindow>("w_refuse", log);
  refusing->before_open_result = 0;
  EXPECT_EQ(m.open(std::move(refusing)), nullptr);
  EXPECT_TRUE(m.windows().empty());
  EXPECT_EQ(log, (Log{"w_refuse.ue_before_open"}));  // neither open nor close ran
}

TEST_F(Windows, AnOpenClassIsActivatedNotOpenedAgain) {
  Window* first = m.open("w_list", Message::of_text("一"));
  Window* edit = m.open("w_edit");
  Window* again = m.open("w_list", Message::of_text("二"));
  EXPECT_EQ(again, first);
  EXPECT_EQ(m.active(), first);
  EXPECT_EQ(m.windows().size(), 2u);
  EXPECT_EQ(first->parameter().text, "一");
  EXPECT_NE(edit, nullptr);
}

TEST_F(Windows, ParameterInAndAnswerOut) {
  struct Record {
    std::string cwtsbh;
  };
  Window* list = m.open("w_list");
  Window* edit = m.open("w_edit", Message::of_object(Record{"1010000000005"}), list);
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(edit->parent(), list);
  ASSERT_NE(edit->parameter().object_as<Record>(), nullptr);
  EXPECT_EQ(edit->parameter().object_as<Record>()->cwtsbh, "1010000000005");
  EXPECT_EQ(edit->parameter().object_as<std::string>(), nullptr);

  EXPECT_EQ(closewithreturn(*edit, Message::of_text("2026/12/01@2026/12/08")), 1);
  EXPECT_EQ(m.message.text, "2026/12/01@2026/12/08");
  EXPECT_EQ(m.find("w_edit"), nullptr);
  EXPECT_EQ(m.active(), list);
}

TEST_F(Windows, ClosingAParentClosesItsChildrenFirst) {
  Window* list = m.open("w_list");
  m.open("w_edit", {}, list);
  log.clear();
  EXPECT_EQ(close(*list), 1);
  EXPECT_EQ(log, (Log{"w_edit.close", "w_list.close"}));
  EXPECT_TRUE(m.windows().empty());
  EXPECT_EQ(m.active(), nullptr);
}

TEST_F(Windows, AWindowMayCloseItselfInItsOwnEvent) {
  Window* w = m.open("w_list");
  w->on("", "ue_quit", [w](const Event&) {
    close(*w);
    return 7L;
  });
  EXPECT_EQ(w->triggerevent("ue_quit"), 7);
  EXPECT_EQ(m.find("w_list"), nullptr);
  EXPECT_EQ(log.back(), "w_list.close");
}

TEST_F(Windows, OverridingEventRunsTheAncestorsFirstAndEventsMatchWithoutCase) {
  Window* w = m.open("w_edit");
  log.clear();
  Event e;
  e.number = 1;
  EXPECT_EQ(w->triggerevent("UE_CUS", e), 1);
  EXPECT_EQ(log, (Log{"base.ue_cus 1", "derived.ue_cus 1"}));
  e.number = 2;
  EXPECT_EQ(w->triggerevent("ue_cus", e), 0);
  EXPECT_EQ(w->triggerevent("ue_nosuch"), -1);
  EXPECT_FALSE(w->has_event("", "ue_nosuch"));
  EXPECT_TRUE(w->has_event("EM_1", "UE_KEY"));
}

TEST_F(Windows, PostedEventsRunAfterTheRunningEventInOrder) {
  Window* w = m.open("w_list");
  log.clear();
  w->on("", "ue_later", [&](const Event& e) {
    log.push_back("later " + std::to_string(e.number));
    return 1L;
  });
  w->on("", "ue_now", [&, w](const Event&) {
    Event one, two;
    one.number = 1;
    two.number = 2;
    w->postevent("ue_later", one);
    w->postevent("ue_later", two);
    log.push_back("now ends");
    return 1L;
  });
  w->triggerevent("ue_now");
  EXPECT_EQ(log, (Log{"now ends", "later 1", "later 2"}));
}

TEST_F(Windows, PostedEventsOfAClosedWindowAreDropped) {
  Window* w = m.open("w_list");
  int ran = 0;
  w->on("", "ue_later", [&](const Event&) { return static_cast<long>(++ran); });
  w->on("", "ue_now", [w](const Event&) {
    w->postevent("ue_later");
    close(*w);
    return 1L;
  });
  w->triggerevent("ue_now");
  EXPECT_EQ(ran, 0);
  EXPECT_TRUE(m.windows().empty());
}

TEST_F(Windows, CloseAllRunsEveryCloseEventLastOpenedFirst) {
  m.open("w_list");
  m.open("w_edit");
  log.clear();
  m.close_all();
  EXPECT_EQ(log, (Log{"w_edit.close", "w_list.close"}));
  EXPECT_TRUE(m.windows().empty());
}

}  // namespace
}  // namespace kq::ui
