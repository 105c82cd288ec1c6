// The work window's list: sorting by headings and moving by keys.
#include <gtest/gtest.h>

#include "framework/w_large.h"
#include "platform/ui/event_dispatch.h"
#include "platform/ui/test_windows.h"
#include "support/test_shop.h"

namespace kq::fw {
namespace {

class WorkWindow : public w_large {
 public:
  WorkWindow() : w_large("w_test_work", "工作窗口") {}
  long dw_1_rowfocuschanged(long currentrow) override {
    moved_to.push_back(currentrow);
    return 1;
  }
  std::vector<long> moved_to;
};

std::vector<std::string> order(const uo_dw_d& d) {
  std::vector<std::string> out;
  for (long r = 1; r <= d->rowcount(); ++r)
    out.push_back(d->getitemstring(r, "cwtsbh").value_or("") + "/" + d->getitemstring(r, "cbz").value_or(""));
  return out;
}

class ListKeys : public ::testing::Test {
 protected:
  ListKeys() {
    registry.add("w_test_work", [] { return std::make_unique<WorkWindow>(); });
    w = static_cast<WorkWindow*>(m.open("w_test_work"));
    ui::testing::fill_list(w->dw_1, 3);
    const char* notes[] = {"b", "a", "b"};
    for (long r = 1; r <= 3; ++r) w->dw_1->setitem(r, "cbz", notes[r - 1]);
  }
  ui::DispatchResult key(int code) {
    return ui::dispatch_event(m, {.window = w->id(), .control = "dw_1", .event = "ue_keydown", .key = code});
  }
  kq::testing::TestShop shop;  // the session the work window binds to
  ui::WindowRegistry registry;
  ui::WindowManager m{registry};
  WorkWindow* w = nullptr;
};

TEST_F(ListKeys, SortSingleTurnsTheDirectionOfItsColumn) {
  EXPECT_EQ(w->dw_1.of_sort_single("cwtsbh_t"), 1);
  EXPECT_EQ(w->dw_1.ois_sort, "cwtsbh A");
  EXPECT_EQ(order(w->dw_1), (std::vector<std::string>{"WO1/b", "WO2/a", "WO3/b"}));
  w->dw_1.of_sort_single("cwtsbh_t");
  EXPECT_EQ(w->dw_1.ois_sort, "cwtsbh D");
  EXPECT_EQ(order(w->dw_1), (std::vector<std::string>{"WO3/b", "WO2/a", "WO1/b"}));
  w->dw_1.of_sort_single("cbz_t");  // another column starts ascending
  EXPECT_EQ(w->dw_1.ois_sort, "cbz A");
  EXPECT_EQ(w->dw_1.of_sort_single("nosuch_t"), -1);
  EXPECT_EQ(w->dw_1.ois_sort, "cbz A");
}

TEST_F(ListKeys, SortManyAddsKeysAndTurnsOnlyTheClickedOne) {
  w->dw_1.of_sort_single("cbz_t");
  w->dw_1.of_sort_many("cwtsbh_t");
  EXPECT_EQ(w->dw_1.ois_sort, "cbz A ,cwtsbh A");
  w->dw_1.of_sort_many("cwtsbh_t");
  EXPECT_EQ(w->dw_1.ois_sort, "cbz A ,cwtsbh D");
  EXPECT_EQ(order(w->dw_1), (std::vector<std::string>{"WO2/a", "WO3/b", "WO1/b"}));
}

TEST_F(ListKeys, KeysMoveTheCurrentRowWithinTheList) {
  EXPECT_EQ(key(40).result, 1);
  EXPECT_EQ(w->dw_1->getrow(), 2);
  EXPECT_TRUE(w->dw_1->isselected(2));
  EXPECT_FALSE(w->dw_1->isselected(1));
  key(35);
  EXPECT_EQ(w->dw_1->getrow(), 3);
  EXPECT_EQ(key(40).result, 0);  // past the end: stays
  key(36);
  EXPECT_EQ(w->dw_1->getrow(), 1);
  EXPECT_EQ(key(13).result, 0);  // Enter is the window's
  EXPECT_EQ(w->moved_to, (std::vector<long>{2, 3, 1}));
}

}  // namespace
}  // namespace kq::fw
