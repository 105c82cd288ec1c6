// The host application's modal dialogs: the selection list, the date range
// and the progress indicator.
#include <gtest/gtest.h>

#include "demo_fixture.h"
#include "framework/f_set_back_value.h"
#include "framework/openbox.h"
#include "framework/w_pop_rqts.h"
#include "framework/w_svc302_03.h"

namespace kq::fw {
namespace {

using kq::testing::DemoShop;

const char* kShown = "cwtsbh,ckhdm,ckhmc,cpzh,ccxdm,ccxmc";
const char* kHeadings = "委托书编号,客户代码,客户名称,牌照号,车型代码,车型名称";

class SelectionList : public ::testing::Test {
 protected:
  SelectionList() {
    EXPECT_EQ(dw.dataobject("d_svc304_01_01"), 1) << dw.last_error();
    dw.insertrow(0);
    dw.setrow(1);
  }
  int pick(std::string_view where, std::initializer_list<db::HostVar> values = {}, std::string_view message = "") {
    return f_set_back_value(dw, "v_svc300_01", kShown, kHeadings, kShown, message, "", where, kShown, values);
  }
  DemoShop shop;
  dw::DataWindow dw;
};

TEST_F(SelectionList, CopiesTheChosenRowIntoTheNamedColumns) {
  shop.ui.selections = {2};
  EXPECT_EQ(pick("cgsh = :gs_gsh and cwtsbh like :prefix", {{"prefix", "10100000000%"}}), 1);
  ASSERT_EQ(shop.ui.selection_lists.size(), 1u);
  const ui::SelectionList& list = shop.ui.selection_lists[0];
  EXPECT_EQ(list.headings.front(), "委托书编号");
  EXPECT_EQ(list.headings.size(), 6u);
  EXPECT_EQ(list.columns.back(), "ccxmc");
  ASSERT_GE(list.rows.size(), 2u);
  EXPECT_EQ(list.rows.size(),
            std::stoul(shop.committed("select count(*) into :v from v_svc300_01 where cgsh = '01' and cwtsbh like "
                                      "'10100000000%'")));
  EXPECT_EQ(dw.getitemstring(1, "cwtsbh"), list.rows[1][0]);
  EXPECT_EQ(dw.getitemstring(1, "ckhmc"), list.rows[1][2]);
  EXPECT_EQ(dw.getitemstring(1, "ccxmc"), list.rows[1][5]);
}

TEST_F(SelectionList, ValuesArePositionedByTheTakenAndFilledLists) {
  shop.ui.selections = {1};
  EXPECT_EQ(f_set_back_value(dw, "v_svc300_01", "cwtsbh", "委托书编号", "ckhmc,cwtsbh", "", "", "cwtsbh = :bh",
                             "cwtsbh,ckhmc", {{"bh", "1010000000005"}}),
            1);
  EXPECT_EQ(dw.getitemstring(1, "ckhmc"), "1010000000005");
  EXPECT_NE(dw.getitemstring(1, "cwtsbh"), "1010000000005");
  EXPECT_EQ(dw.getitemstring(1, "cwtsbh"),
            shop.committed("select ckhmc into :v from v_svc300_01 where cwtsbh = '1010000000005'"));
}

TEST_F(SelectionList, NothingChosenChangesNothing) {
  EXPECT_EQ(pick("cgsh = :gs_gsh"), 0);  // the script chose nothing
  shop.ui.selections = {9999};           // outside the list
  EXPECT_EQ(pick("cgsh = :gs_gsh"), 0);
  EXPECT_EQ(dw.getitemstring(1, "cwtsbh"), std::nullopt);
  EXPECT_EQ(shop.ui.selection_lists.size(), 2u);
}

TEST_F(SelectionList, ValuesAreBoundAndAnEmptyListShowsItsMessage) {
  shop.ui.selections = {1};
  EXPECT_EQ(pick("cwtsbh = :bh", {{"bh", "1' or '1'='1"}}, "该班组没有主修人，请先维护该班组对应主修人！"), 0);
  EXPECT_TRUE(shop.ui.selection_lists.empty());
  EXPECT_EQ(shop.ui.texts(), std::vector<std::string>{"该班组没有主修人，请先维护该班组对应主修人！"});
  EXPECT_EQ(pick("cwtsbh = :bh", {{"bh", "1' or '1'='1"}}), 0);  // no message: the empty list is shown
  ASSERT_EQ(shop.ui.selection_lists.size(), 1u);
  EXPECT_TRUE(shop.ui.selection_lists[0].rows.empty());
}

TEST_F(SelectionList, ArgumentsThatDoNotFitAreRefusedWithoutAList) {
  auto& sqlca = shop.session->sqlca;
  sqlca.exec("update svcb20d set lfgbs = 1 where cwtsbh = 'NONE'");
  ASSERT_EQ(sqlca.sqlcode, 100);
  EXPECT_EQ(f_set_back_value(dw, "v_svc300_01; delete from svcb20c", "cwtsbh", "委托书编号", "cwtsbh", "", "", "",
                             "cwtsbh"),
            -1);
  EXPECT_EQ(f_set_back_value(dw, "v_svc300_01", "cwtsbh,ckhmc", "委托书编号", "cwtsbh", "", "", "", "cwtsbh"), -1);
  EXPECT_EQ(f_set_back_value(dw, "v_svc300_01", "cwtsbh", "委托书编号", "cwtsbh", "", "", "", "nosuch"), -1);
  EXPECT_EQ(f_set_back_value(dw, "v_svc300_01", "cwtsbh)--", "委托书编号", "cwtsbh", "", "", "", "cwtsbh"), -1);
  EXPECT_TRUE(shop.ui.shown.empty());
  EXPECT_EQ(f_set_back_value(dw, "v_svc300_01", "nosuch", "委托书编号", "cwtsbh", "", "", "", "cwtsbh"), -1);
  EXPECT_EQ(shop.ui.texts(), std::vector<std::string>{"读取选择列表失败！"});
  EXPECT_TRUE(shop.ui.selection_lists.empty());
  EXPECT_EQ(sqlca.sqlcode, 100);  // the window's last statement keeps its outcome
  sqlca.rollback();
  dw.reset();
  EXPECT_EQ(pick("cgsh = :gs_gsh"), -1);  // no current row
}

TEST(DateRange, AnswersTwoDatesOrNull) {
  DemoShop shop;
  ui::Window* parent = shop.windows->open("w_svc302_03");
  ASSERT_NE(parent, nullptr);
  shop.ui.dateranges = {std::string("2026/12/01@2026/12/08"), std::nullopt, std::string("2026/12/01"),
                        std::string("2026-12-01@20261208"), std::string("2026/12/08@2026/12/01"),
                        std::string("2026/02/30@2026/12/08")};
  EXPECT_EQ(w_pop_rqts(parent), "2026/12/01@2026/12/08");
  EXPECT_EQ(shop.windows->message.text, "2026/12/01@2026/12/08");
  EXPECT_EQ(shop.ui.dateranges_shown.at(0).first, "2026/11/08");  // gd_qsrq
  EXPECT_EQ(shop.ui.dateranges_shown.at(0).last, "2026/12/08");   // gd_xtrq
  EXPECT_EQ(w_pop_rqts(parent), std::nullopt);                    // cancelled
  EXPECT_EQ(shop.windows->message.text, std::nullopt);
  EXPECT_EQ(w_pop_rqts(), std::nullopt);  // no "@"
  EXPECT_EQ(w_pop_rqts(), "2026/12/01@2026/12/08");
  EXPECT_EQ(w_pop_rqts(), std::nullopt);  // first after last
  EXPECT_EQ(w_pop_rqts(), std::nullopt);  // no such day
}

TEST(Progress, ShownUntilRemoved) {
  DemoShop shop;
  openbox("setup.avi", "正在取消结算，请稍候...");
  EXPECT_TRUE(shop.ui.progress_open);
  EXPECT_EQ(shop.ui.progress_shown.at(0), (ui::Progress{"setup.avi", "正在取消结算，请稍候..."}));
  delbox();
  delbox();
  EXPECT_FALSE(shop.ui.progress_open);
  EXPECT_EQ(shop.ui.log, (std::vector<std::string>{"progress: 正在取消结算，请稍候...", "progress done"}));
}

}  // namespace
}  // namespace kq::fw
