// The rework entry w_svc304_01 without labour-hour management (company 01):
// a record entered through the selection lists, what the lists offer and
// reset, and the validation in its order with its messages.
#include <gtest/gtest.h>

#include <algorithm>

#include "rework/rework_desk.h"
#include "support/database_dump.h"

namespace kq::svc {
namespace {

using testing::ReworkDesk;

TEST(ReworkEntry, RecordEnteredThroughTheSelectionListsIsSavedWithItsFlag) {
  ReworkDesk desk;
  w_svc304_01* w = desk.add();
  ASSERT_NE(w, nullptr);
  dw::DataWindow& d = w->dw_edit;

  // An item before a work order: refused.
  EXPECT_EQ(desk.pick(*w, "cwxxmdm"), 0);
  EXPECT_EQ(desk.shop.ui.texts().back(), "请先选择委托书!");

  ASSERT_EQ(desk.pick(*w, "cwtsbh", "1010000000001"), 1);
  EXPECT_EQ(d.getitemstring(1, "ckhmc"),
            desk.text("select ckhmc into :v from v_svc300_01 where cwtsbh = '1010000000001'"));
  ASSERT_EQ(desk.pick(*w, "cwxxmdm", "BY001"), 1);
  std::vector<std::string> items = desk.offered();
  std::sort(items.begin(), items.end());
  EXPECT_EQ(items, (std::vector<std::string>{"BY001", "DQ001", "SB001", "ZD001"}));
  EXPECT_EQ(d.getitemstring(1, "cbzdm"), "B01");
  EXPECT_EQ(d.getitemstring(1, "cbmmc"), "机修一班");
  EXPECT_NE(d.getitemnumber(1, "ngsf"), Decimal(0));

  // A new work order resets what was chosen for the previous one (0, not null).
  ASSERT_EQ(desk.pick(*w, "cwtsbh", "1010000000002"), 1);
  for (const char* c : {"cwxxmdm", "cxmmc", "cbzdm", "cbmmc", "czxrdm", "cgrmc"})
    EXPECT_EQ(d.getitemstring(1, c), "") << c;
  for (const char* c : {"ngs", "ngsf", "nkk"}) EXPECT_EQ(d.getitemnumber(1, c), Decimal(0)) << c;

  ASSERT_EQ(desk.pick(*w, "cwtsbh", "1010000000001"), 1);
  ASSERT_EQ(desk.pick(*w, "cwxxmdm", "ZD001"), 1);
  // A team without mechanics of category 6: the message, no list.
  ASSERT_EQ(desk.pick(*w, "cbzdm", "B06"), 1);
  const size_t lists = desk.shop.ui.selection_lists.size();
  EXPECT_EQ(desk.pick(*w, "czxrdm", "101"), 0);
  EXPECT_EQ(desk.shop.ui.texts().back(), "该班组没有主修人，请先维护该班组对应主修人！");
  EXPECT_EQ(desk.shop.ui.selection_lists.size(), lists);
  // B01 offers its active chief mechanics only.
  ASSERT_EQ(desk.pick(*w, "cbzdm", "B01"), 1);
  ASSERT_EQ(desk.pick(*w, "czxrdm", "102"), 1);
  std::vector<std::string> mechanics = desk.offered();
  std::sort(mechanics.begin(), mechanics.end());
  EXPECT_EQ(mechanics, (std::vector<std::string>{"101", "102"}));
  EXPECT_EQ(d.getitemstring(1, "cgrmc"), "杨帆");
  desk.set(*w, "nkk", Value(Decimal(10)));

  desk.shop.ui.shown.clear();
  ASSERT_EQ(w->ue_cus(1), 1) << ::testing::PrintToString(desk.shop.ui.texts());
  EXPECT_EQ(desk.flag("svcb20d", "1010000000001", "ZD001"), "1");
  EXPECT_EQ(desk.text("select cbzdm || '/' || czxrdm || '/' || cczydm into :v from svcb50 "
                      "where cwtsbh = '1010000000001' and cwxxmdm = 'ZD001'"),
            "B01/102/001");
  EXPECT_EQ(Decimal::parse(desk.text("select nkk into :v from svcb50 where cwtsbh = '1010000000001' and cwxxmdm = 'ZD001'")),
            Decimal(10));
  EXPECT_EQ(desk.text("select count(*) into :v from wtcb01c where cwtsbh = '1010000000001' and lfxbs = 1"), "0");
  // The list shows it.
  w_svc304* list = desk.list();
  bool listed = false;
  for (long r = 1; r <= list->dw_display->rowcount(); ++r)
    listed = listed || (list->dw_display->getitemstring(r, "cwtsbh") == "1010000000001");
  EXPECT_TRUE(listed);
}

TEST(ReworkEntry, ValidationRefusesInOrderWithItsMessages) {
  ReworkDesk desk;
  w_svc304_01* w = desk.add();
  ASSERT_NE(w, nullptr);
  auto save = [&]() {
    desk.shop.ui.shown.clear();
    w->ue_cus(1);
    return desk.shop.ui.texts().empty() ? std::string("<saved>") : desk.shop.ui.texts().back();
  };
  const std::string before = kq::testing::dump_database(desk.shop.db_path());

  // A quote in a typed work-order number is data, not SQL.
  desk.set(*w, "cwtsbh", Value("1010' or '1'='1"));
  EXPECT_EQ(save(), "委托书编号不存在!");
  desk.set(*w, "cwtsbh", Value("1020000000001"));  // company 02's
  EXPECT_EQ(save(), "委托书编号不存在!");
  desk.set(*w, "cwtsbh", Value(" 1010000000001 "));
  desk.set(*w, "cwxxmdm", Value("KT001"));
  EXPECT_EQ(save(), "维修项目在该委托书中不存在!");
  desk.set(*w, "cwxxmdm", Value("BY001"));
  desk.set(*w, "cxmmc", Value("旧名称"));
  EXPECT_EQ(save(), "班组代码不存在!");
  EXPECT_EQ(w->dw_edit->getitemstring(1, "cxmmc"),
            desk.text("select cxmmc into :v from svcb20d where cwtsbh = '1010000000001' and cwxxmdm = 'BY001'"));
  for (const char* team : {"B07", "Q01", "B99"}) {
    desk.set(*w, "cbzdm", Value(team));
    EXPECT_EQ(save(), "班组代码不存在!") << team;
  }
  desk.set(*w, "cbzdm", Value("B01"));
  for (const char* mechanic : {"201", "103", "104"}) {  // another team's, a worker, stopped
    desk.set(*w, "czxrdm", Value(mechanic));
    EXPECT_EQ(save(), "主修人代码不存在!") << mechanic;
  }
  desk.set(*w, "czxrdm", Value(""));
  desk.set(*w, "ngs", Value(Decimal(-1)));
  EXPECT_EQ(save(), "工时不能小于零！");
  desk.set(*w, "ngs", Value(Decimal(2)));
  desk.set(*w, "ngsf", Value(*Decimal::parse("-0.01")));
  EXPECT_EQ(save(), "工时费不能小于零！");
  desk.set(*w, "ngsf", Value(*Decimal::parse("160.00")));
  desk.set(*w, "nkk", Value(*Decimal::parse("-1")));
  EXPECT_EQ(save(), "扣款金额不能小于零！");
  desk.set(*w, "nkk", Value(*Decimal::parse("160.01")));
  EXPECT_EQ(save(), "扣款金额不能大于工时费");
  EXPECT_EQ(kq::testing::dump_database(desk.shop.db_path()), before) << "a refused save wrote";
  // The same check when the deduction is clicked.
  desk.shop.ui.shown.clear();
  EXPECT_EQ(w->dw_edit_clicked(0, 0, 1, "nkk"), 0);
  EXPECT_EQ(desk.shop.ui.texts(), std::vector<std::string>{"扣款金额不能大于工时费"});

  // Equal to the fee, no mechanic: saved, with the work order's item name.
  desk.set(*w, "nkk", Value(*Decimal::parse("160.00")));
  EXPECT_EQ(save(), "<saved>");
  EXPECT_EQ(desk.text("select cxmmc into :v from svcb50 where cwtsbh = '1010000000001' and cwxxmdm = 'BY001'"),
            desk.text("select cxmmc into :v from svcb20d where cwtsbh = '1010000000001' and cwxxmdm = 'BY001'"));
  EXPECT_EQ(desk.flag("svcb20d", "1010000000001", "BY001"), "1");
}

TEST(ReworkEntry, ChangeAndDeleteFromTheEntryAndTheListFollows) {
  ReworkDesk desk;
  w_svc304* list = desk.list();
  ASSERT_NE(list, nullptr);
  long row = 0;
  for (long r = 1; r <= list->dw_display->rowcount(); ++r)
    if (list->dw_display->getitemstring(r, "cwtsbh") == "1010000000006") row = r;
  ASSERT_GT(row, 0);
  list->dw_display->setrow(row);
  ASSERT_EQ(list->ue_do_change(), 1);
  w_svc304_01* w = desk.entry();
  ASSERT_NE(w, nullptr);
  // Changed and saved: the record is updated in place.
  desk.set(*w, "nkk", Value(Decimal(5)));
  ASSERT_EQ(w->ue_cus(1), 1) << ::testing::PrintToString(desk.shop.ui.texts());
  EXPECT_EQ(Decimal::parse(desk.text("select nkk into :v from svcb50 where cwtsbh = '1010000000006'")), Decimal(5));
  desk.shop.ui.answers = {1};
  EXPECT_EQ(w->ue_do_delete(), 1) << ::testing::PrintToString(desk.shop.ui.texts());
  EXPECT_EQ(desk.flag("svcb20d", "1010000000006", "ZD001"), "0");
  EXPECT_EQ(desk.text("select count(*) into :v from svcb50 where cwtsbh = '1010000000006'"), "0");
  for (long r = 1; r <= list->dw_display->rowcount(); ++r)
    EXPECT_NE(list->dw_display->getitemstring(r, "cwtsbh"), "1010000000006");
}

}  // namespace
}  // namespace kq::svc
