// The cancellation list w_svc305 on the demo shop (business date 2026/12/08).
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "framework/demo_fixture.h"
#include "platform/ui/event_dispatch.h"
#include "platform/ui/window_state.h"
#include "settlement/w_svc305.h"
#include "settlement/w_svc305_01.h"

namespace kq::svc {
namespace {

using testing::DemoShop;

std::set<std::string> listed(const w_svc305& w) {
  std::set<std::string> out;
  for (long r = 1; r <= w.dw_display->rowcount(); ++r) out.insert(w.dw_display->getitemstring(r, "cwtsbh").value_or(""));
  return out;
}

class CancellationList : public ::testing::Test {
 protected:
  explicit CancellationList(std::vector<std::string> authorities = {"CJ", "CP", "CQ"}) : shop(std::move(authorities)) {}

  w_svc305& open() {
    auto* w = dynamic_cast<w_svc305*>(shop.windows->open("w_svc305"));
    EXPECT_NE(w, nullptr) << shop.windows->last_error();
    return *w;
  }
  ui::DispatchResult send(const w_svc305& w, ui::EventRequest event) {
    event.window = w.id();
    return ui::dispatch_event(*shop.windows, event);
  }
  // Types a date into em_1 and presses Enter.
  ui::DispatchResult query(const w_svc305& w, const std::string& date) {
    return send(w, {.control = "em_1", .event = "ue_key", .key = 13, .text = date});
  }

  DemoShop shop;
};

class CancellationListWithoutCJ : public CancellationList {
 protected:
  CancellationListWithoutCJ() : CancellationList({"CP"}) {}
};

TEST_F(CancellationList, OpensWithTheCancellableSettlementsOfTheRange) {
  w_svc305& w = open();
  EXPECT_EQ(w.title, "取消结算");
  EXPECT_EQ(w.is_jsrq, "2026/12/08");
  EXPECT_EQ(w.is_qsrq, "2026/11/08");  // gd_qsrq with "CJ"
  EXPECT_EQ(w.em_1.text, "2026/12/08");
  EXPECT_EQ(w.em_0.text, "2026/12/08");
  EXPECT_TRUE(w.em_1.enabled);
  EXPECT_EQ(w.focus(), "em_1");
  EXPECT_TRUE(w.em_1.dropdown_calendar);
  EXPECT_EQ(w.em_1.calendar_date, "2026/12/08");

  auto rows = listed(w);
  for (const char* bh : {"1010000000005", "1010000000006", "2010000000008", "A-01000000012", "1010000000021",
                         "2010000000022"})
    EXPECT_TRUE(rows.count(bh)) << bh;
  // Batch settled, voucher, finance receipt, later receipts; under repair.
  for (const char* bh : {"1010000000017", "1010000000018", "1010000000019", "1010000000020", "1010000000001"})
    EXPECT_FALSE(rows.count(bh)) << bh;
  EXPECT_EQ(w.dw_display->getrow(), 1);
  EXPECT_TRUE(w.dw_display->isselected(1));
  EXPECT_TRUE(w.dw_display->readonly());
  EXPECT_TRUE(shop.ui.shown.empty());
}

TEST_F(CancellationListWithoutCJ, TodayOnlyWithTheDateDisabled) {
  w_svc305& w = open();
  EXPECT_EQ(w.is_qsrq, "2026/12/08");
  EXPECT_FALSE(w.em_1.enabled);
  auto rows = listed(w);
  EXPECT_TRUE(rows.count("1010000000005"));
  EXPECT_FALSE(rows.count("1010000000021"));  // yesterday's
  EXPECT_FALSE(rows.count("2010000000022"));

  ui::DispatchResult answer = query(w, "2026/12/07");
  EXPECT_FALSE(answer.ok);
  EXPECT_NE(answer.error.find("em_1"), std::string::npos) << answer.error;
  EXPECT_EQ(w.em_1.text, "2026/12/08");
  EXPECT_EQ(w.is_jsrq, "2026/12/08");
  EXPECT_EQ(listed(w), rows);
}

TEST_F(CancellationListWithoutCJ, OpensTodaysSettlementsOnly) {
  w_svc305& w = open();
  long row = 0;
  for (long r = 1; r <= w.dw_display->rowcount(); ++r)
    if (w.dw_display->getitemstring(r, "cwtsbh") == "1010000000005") row = r;
  ASSERT_GT(row, 0);
  EXPECT_TRUE(send(w, {.control = "dw_display", .event = "doubleclicked", .row = row, .column = "cwtsbh"}).ok);
  auto* edit = dynamic_cast<w_svc305_01*>(shop.windows->find("w_svc305_01"));
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(edit->dw_edit->getitemstring(1, "cwtsbh"), "1010000000005");
  ui::close(*edit);

  // The list of another day (the query button runs with what em_1 holds).
  w.em_1.text = "2026/12/07";
  EXPECT_EQ(w.wf_double_enter(), 1);
  EXPECT_EQ(w.is_jsrq, "2026/12/07");
  EXPECT_EQ(w.dw_display_doubleclicked(0, 0, 1, "cwtsbh"), 0);
  EXPECT_EQ(shop.ui.texts(), std::vector<std::string>{"您只能取消今天结算的单据！"});
  EXPECT_EQ(shop.ui.shown[0].title, "提示信息");
  EXPECT_EQ(shop.windows->find("w_svc305_01"), nullptr);
}

TEST_F(CancellationList, AnotherDayListsUpToItAndOpensTheChosenRow) {
  w_svc305& w = open();
  ui::DispatchResult answer = query(w, "2026/12/07");
  ASSERT_TRUE(answer.ok) << answer.error;
  EXPECT_EQ(w.is_jsrq, "2026/12/07");
  EXPECT_EQ(w.ia_retrievecolumnvalue, (std::vector<Value>{Value("2026/12/07"), Value("2026/11/08")}));
  EXPECT_EQ(w.em_0.text, "2026/12/08");  // queries leave the business date shown
  auto rows = listed(w);
  EXPECT_TRUE(rows.count("1010000000021"));
  EXPECT_TRUE(rows.count("2010000000022"));
  EXPECT_FALSE(rows.count("1010000000005"));  // settled today, after the range
  EXPECT_EQ(w.focus(), "dw_display");          // ue_showthis ran after the query

  long row = 0;
  for (long r = 1; r <= w.dw_display->rowcount(); ++r)
    if (w.dw_display->getitemstring(r, "cwtsbh") == "1010000000021") row = r;
  ASSERT_GT(row, 0);
  answer = send(w, {.control = "dw_display", .event = "doubleclicked", .row = row, .column = "ckhmc"});
  EXPECT_EQ(answer.result, 1);
  auto* edit = dynamic_cast<w_svc305_01*>(shop.windows->find("w_svc305_01"));
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(edit->parent(), &w);
  EXPECT_EQ(edit->title, "取消结算");
  EXPECT_EQ(edit->dw_edit->dataobject(), "d_svc305_01_01");
  EXPECT_EQ(edit->dw_edit->rowcount(), 1);
  EXPECT_EQ(edit->dw_edit->getitemstring(1, "cwtsbh"), "1010000000021");
  EXPECT_EQ(edit->dw_edit->getitemstring(1, "cwxzt"), "1");
  EXPECT_TRUE(shop.ui.shown.empty());
}

TEST_F(CancellationList, ASettlementTheFormDoesNotRetrieveIsCopiedFromTheList) {
  w_svc305& w = open();
  long row = 0;
  for (long r = 1; r <= w.dw_display->rowcount(); ++r)
    if (w.dw_display->getitemstring(r, "cwtsbh") == "2010000000008") row = r;  // on account: status 2
  ASSERT_GT(row, 0);
  send(w, {.control = "dw_display", .event = "doubleclicked", .row = row, .column = "cwtsbh"});
  auto* edit = dynamic_cast<w_svc305_01*>(shop.windows->find("w_svc305_01"));
  ASSERT_NE(edit, nullptr);
  ASSERT_EQ(edit->dw_edit->rowcount(), 1);
  EXPECT_EQ(edit->dw_edit->getitemstring(1, "cwtsbh"), "2010000000008");
  EXPECT_EQ(edit->dw_edit->getitemstring(1, "cwxzt"), "2");
  EXPECT_EQ(edit->dw_edit->getitemdecimal(1, "nhjje"), w.dw_display->getitemdecimal(row, "nhjje"));
  EXPECT_EQ(edit->dw_edit->getitemstatus(1, 0), dw::ItemStatus::NotModified);

  // Another row replaces it: the edit window is opened anew.
  send(w, {.control = "dw_display", .event = "doubleclicked", .row = row == 1 ? 2 : 1, .column = "cwtsbh"});
  auto* again = dynamic_cast<w_svc305_01*>(shop.windows->find("w_svc305_01"));
  ASSERT_NE(again, nullptr);
  EXPECT_NE(again->dw_edit->getitemstring(1, "cwtsbh"), "2010000000008");
  EXPECT_EQ(shop.windows->windows().size(), 2u);
}

TEST_F(CancellationList, DateRules) {
  w_svc305& w = open();
  const auto before = listed(w);
  for (const char* wrong : {"1900/01/01", "1899/12/31", "2045/01/02", "2099/01/01", "2026/02/30", "2026/13/01",
                            "abc", "", "2026/12/07 10:00"}) {
    SCOPED_TRACE(wrong);
    shop.ui.shown.clear();
    query(w, wrong);
    EXPECT_EQ(shop.ui.texts(), std::vector<std::string>{"日期输入错误!"});
    EXPECT_EQ(w.is_jsrq, "2026/12/08");
    EXPECT_EQ(listed(w), before);
  }
  shop.ui.shown.clear();
  for (const char* right : {"1900/01/02", "2045/01/01", "2026-12-07"}) {
    SCOPED_TRACE(right);
    query(w, right);
    EXPECT_TRUE(shop.ui.shown.empty());
  }
  EXPECT_EQ(w.is_jsrq, "2026/12/07");
  EXPECT_EQ(w.em_1.text, "2026/12/07");
  // The query button and a date picked in the calendar run the same query.
  send(w, {.control = "em_1", .event = "ue_after_double", .text = "2026/12/08"});
  EXPECT_EQ(w.is_jsrq, "2026/12/08");
  send(w, {.control = "em_1", .event = "ue_key", .key = 9, .text = "2026/12/05"});  // Tab: no query
  EXPECT_EQ(w.is_jsrq, "2026/12/08");
  send(w, {.control = "pb_1", .event = "clicked"});
  EXPECT_EQ(w.is_jsrq, "2026/12/05");
}

TEST_F(CancellationList, AQueryWithoutRowsLeavesTheListEmptyWithoutMessage) {
  w_svc305& w = open();
  query(w, "1901/01/01");
  EXPECT_EQ(w.dw_display->rowcount(), 0);
  EXPECT_TRUE(shop.ui.shown.empty());
  EXPECT_EQ(w.focus(), "em_1");  // nothing to show
  EXPECT_EQ(send(w, {.control = "dw_display", .event = "doubleclicked", .row = 0}).result, 0);
  EXPECT_EQ(shop.windows->find("w_svc305_01"), nullptr);
}

TEST_F(CancellationList, NoRowsAreAddedOrDeletedFromTheList) {
  w_svc305& w = open();
  const long rows = w.dw_display->rowcount();
  ASSERT_GT(rows, 0);
  for (const char* command : {"ue_do_insert", "ue_do_delete"}) {
    ui::DispatchResult answer = send(w, {.control = "", .event = command});
    EXPECT_FALSE(answer.ok) << command;
    EXPECT_NE(answer.error.find("not a command of w_svc305"), std::string::npos) << command << ": " << answer.error;
  }
  EXPECT_TRUE(shop.ui.shown.empty()) << shop.ui.shown.size() << " dialogs shown";
  EXPECT_EQ(w.dw_display->rowcount(), rows);
  // The window's own event stays what it was: nothing to add.
  EXPECT_EQ(w.triggerevent("ue_do_insert"), 1);
  EXPECT_EQ(shop.windows->windows().size(), 1u);
}

TEST_F(CancellationList, StateShowsTheListAndItsCommands) {
  w_svc305& w = open();
  ui::WindowState s = ui::window_state(w);
  EXPECT_EQ(s.classname, "w_svc305");
  EXPECT_EQ(s.title, "取消结算");
  EXPECT_FALSE(s.parent.has_value());
  EXPECT_EQ(s.menu.name, "m_sys_08");
  EXPECT_EQ(s.focus, "em_1");
  std::map<std::string, ui::ControlState> controls;
  for (const auto& c : s.controls) controls[c.name] = c;
  for (const char* name : {"dw_toolbar", "dw_display", "em_1", "st_1", "pb_1", "em_0", "st_2", "gb_1"})
    EXPECT_TRUE(controls.count(name)) << name;
  EXPECT_EQ(controls["em_1"].kind, ui::ControlKind::EditMask);
  EXPECT_EQ(controls["em_1"].mask, "yyyy/mm/dd");
  EXPECT_EQ(controls["em_1"].text, "2026/12/08");
  EXPECT_EQ(controls["em_1"].calendar, "2026/12/08");
  EXPECT_EQ(controls["pb_1"].kind, ui::ControlKind::PictureButton);
  EXPECT_EQ(controls["pb_1"].text, "查询(&Q)");
  EXPECT_EQ(controls["gb_1"].kind, ui::ControlKind::GroupBox);
  EXPECT_EQ(controls["gb_1"].text, "选择结算日期");
  EXPECT_EQ(controls["st_1"].text, "结算日期");
  ASSERT_TRUE(controls["gb_1"].resize.has_value());
  EXPECT_EQ(controls["gb_1"].resize->width, 100);
  ASSERT_TRUE(controls["dw_display"].datawindow.has_value());
  const ui::DataWindowState& list = *controls["dw_display"].datawindow;
  EXPECT_EQ(controls["dw_display"].kind, ui::ControlKind::DataWindow);
  EXPECT_EQ(list.dataobject, "d_svc305_01");
  EXPECT_EQ(list.style, "grid");
  EXPECT_EQ(list.rowcount, w.dw_display->rowcount());
  EXPECT_EQ(list.currentrow, 1);
  EXPECT_TRUE(list.readonly);
  EXPECT_EQ(list.first_row, 1);
  const std::string html = list.html.value_or("");
  EXPECT_NE(html.find("data-dw=\"dw_display\""), std::string::npos);
  EXPECT_NE(html.find(w.dw_display->getitemstring(1, "cwtsbh").value_or("?")), std::string::npos);
  EXPECT_NE(html.find("委托书编号"), std::string::npos);
  // The list adds and deletes nothing: neither 增加 nor 删除 is offered.
  std::vector<std::string> toolbar;
  for (const auto& b : s.menu.toolbar) toolbar.push_back(b.text);
  EXPECT_EQ(toolbar, (std::vector<std::string>{"修改", "刷新", "关闭"}));
}

TEST_F(CancellationList, AClickOnAHeadingSortsTheListByItsColumn) {
  w_svc305& w = open();
  ASSERT_GT(w.dw_display->rowcount(), 2);
  auto amounts = [&] {
    std::vector<std::string> out;
    for (long r = 1; r <= w.dw_display->rowcount(); ++r)
      out.push_back(w.dw_display->getitemdecimal(r, "nhjje").value_or(Decimal{}).to_string());
    return out;
  };
  auto numbers = [&] {
    std::vector<std::string> out;
    for (long r = 1; r <= w.dw_display->rowcount(); ++r) out.push_back(*w.dw_display->getitemstring(r, "cwtsbh"));
    return out;
  };
  auto click_heading = [&](const std::string& column) {
    return send(w, {.control = "dw_display", .event = "clicked", .row = 0, .column = column});
  };
  auto sort_of = [&] {
    for (const auto& c : ui::window_state(w).controls)
      if (c.name == "dw_display" && c.datawindow) return c.datawindow->sort;
    return std::vector<ui::SortColumn>{};
  };
  const std::string current = *w.dw_display->getitemstring(w.dw_display->getrow(), "cwtsbh");

  ASSERT_TRUE(click_heading("cwtsbh").ok);
  EXPECT_EQ(sort_of(), (std::vector<ui::SortColumn>{{"cwtsbh", false}}));
  std::vector<std::string> up = numbers();
  EXPECT_TRUE(std::is_sorted(up.begin(), up.end()));
  EXPECT_EQ(*w.dw_display->getitemstring(w.dw_display->getrow(), "cwtsbh"), current) << "the current record stays";

  click_heading("cwtsbh");
  EXPECT_EQ(sort_of(), (std::vector<ui::SortColumn>{{"cwtsbh", true}}));
  std::vector<std::string> down = numbers();
  EXPECT_TRUE(std::is_sorted(down.rbegin(), down.rend()));

  click_heading("nhjje");
  EXPECT_EQ(sort_of(), (std::vector<ui::SortColumn>{{"nhjje", false}})) << "another heading sorts by its column alone";

  // A heading that names no column, and a click on a row, sort nothing.
  const std::vector<std::string> before = amounts();
  for (const char* column : {"compute_1", "no_such_column"}) EXPECT_TRUE(click_heading(column).ok) << column;
  send(w, {.control = "dw_display", .event = "clicked", .row = 2, .column = "cwtsbh"});
  EXPECT_EQ(sort_of(), (std::vector<ui::SortColumn>{{"nhjje", false}}));
  EXPECT_EQ(amounts(), before);
  EXPECT_TRUE(shop.ui.shown.empty());
}

}  // namespace
}  // namespace kq::svc
