// The rework entry with labour-hour terminals (company 02): the rework job in
// wtcb01c created on the first save and re-sent on later ones, the
// station/controller check, the started-job refusal, and a delete that
// removes the rework job only.
#include <gtest/gtest.h>

#include <algorithm>

#include "rework/rework_desk.h"

namespace kq::svc {
namespace {

using testing::ReworkDesk;

std::string job(ReworkDesk& desk, const std::string& bh, const std::string& item, const std::string& columns) {
  return desk.text("select " + columns + " into :v from wtcb01c where lfxbs = 1 and cwtsbh = '" + bh +
                   "' and cwxxmdm = '" + item + "'");
}

Decimal number(const std::string& text) {
  auto d = Decimal::parse(text);
  EXPECT_TRUE(d.has_value()) << text;
  return d.value_or(Decimal(-999));
}

// A new record of `bh`/`item` of team B01 at station 01 (controller K1), entered through the lists.
w_svc304_01* enter(ReworkDesk& desk, const std::string& bh, const std::string& item) {
  if (auto* open = desk.entry()) ui::close(*open);
  w_svc304_01* w = desk.add();
  EXPECT_NE(w, nullptr);
  if (!w) return nullptr;
  EXPECT_EQ(desk.pick(*w, "cwtsbh", bh), 1) << bh;
  EXPECT_EQ(desk.pick(*w, "cwxxmdm", item), 1) << item;
  EXPECT_EQ(desk.pick(*w, "cbzdm", "B01"), 1);
  EXPECT_EQ(desk.pick(*w, "cgwdm", "01"), 1);
  return w;
}

TEST(ReworkTerminals, FirstSaveCreatesTheRunningJobAndLaterSavesResendIt) {
  ReworkDesk desk("02");
  w_svc304_01* w = enter(desk, "1020000000001", "BY001");
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->dw_edit->dataobject(), "d_svc304_01_01_gsgl");
  EXPECT_EQ(w->dw_edit->describe("cgwdm_t.text"), "*返修工位");
  EXPECT_EQ(w->dw_edit->describe("cwxgwdm_t.text"), "*工时控制器");
  EXPECT_EQ(w->dw_edit->getitemstring(1, "cwxgwdm"), "K1");
  EXPECT_EQ(w->dw_edit->getitemstring(1, "cwxgwmc"), "一号工位");
  desk.shop.ui.shown.clear();
  ASSERT_EQ(w->ue_cus(1), 1) << ::testing::PrintToString(desk.shop.ui.texts());

  const Decimal hours = number(desk.text("select ngs into :v from svcb20d where cwtsbh = '1020000000001' and cwxxmdm = 'BY001'"));
  EXPECT_EQ(job(desk, "1020000000001", "BY001", "cwtslsh || '/' || ckh || '/' || cwxgwdm || '/' || cgwdm || '/' || lzt || '/' || lzjbs || '/' || cgsh"),
            "10000001/11111111/K1/01/1/0/02");
  EXPECT_EQ(number(job(desk, "1020000000001", "BY001", "nscsj")), *Decimal::divide(hours, *Decimal::parse("0.5"))) << "unit 0.5";
  EXPECT_EQ(desk.flag("svcb20d", "1020000000001", "BY001"), "1");

  // Saved again at another station: the same job, re-sent.
  desk.shop.session->sqlca.exec("update wtcb01c set lzt = 3 where lfxbs = 1 and cwtsbh = '1020000000001' and cwxxmdm = 'BY001'");
  desk.shop.session->sqlca.commit();
  ASSERT_EQ(desk.pick(*w, "cgwdm", "03"), 1);
  ASSERT_EQ(w->ue_cus(1), 1) << ::testing::PrintToString(desk.shop.ui.texts());
  EXPECT_EQ(desk.rework_jobs("1020000000001", "BY001"), "1");
  EXPECT_EQ(job(desk, "1020000000001", "BY001", "cgwdm || '/' || cwxgwdm || '/' || lzt"), "03/K2/1");

  // Only completed items without a rework record of this work order are offered ...
  ui::close(*w);
  w = desk.add();
  ASSERT_EQ(desk.pick(*w, "cwtsbh", "1020000000001"), 1);
  desk.pick(*w, "cwxxmdm");
  EXPECT_EQ(desk.offered(), std::vector<std::string>{"ZD001"});
  // ... while another work order's BY001 is still open to rework.
  ASSERT_EQ(desk.pick(*w, "cwtsbh", "2020000000003"), 1);
  desk.pick(*w, "cwxxmdm");
  std::vector<std::string> items = desk.offered();
  std::sort(items.begin(), items.end());
  EXPECT_EQ(items, (std::vector<std::string>{"BY001", "BY002", "DP001"}));
  // Work orders without a completed item are not offered.
  desk.pick(*w, "cwtsbh");
  const auto orders = desk.offered();
  EXPECT_NE(std::find(orders.begin(), orders.end(), "2020000000003"), orders.end());
  EXPECT_EQ(std::find(orders.begin(), orders.end(), "1020000000008"), orders.end());
}

TEST(ReworkTerminals, TimeUnitOfZeroOrNoneStoresZero) {
  for (const char* unit_statement : {"update wtci90 set nsjdw = 0 where cgsh = '02'", "delete from wtci90 where cgsh = '02'"}) {
    ReworkDesk desk("02");
    desk.shop.session->sqlca.exec(unit_statement);
    desk.shop.session->sqlca.commit();
    w_svc304_01* w = enter(desk, "2020000000003", "BY002");
    ASSERT_NE(w, nullptr);
    desk.shop.ui.shown.clear();
    ASSERT_EQ(w->ue_cus(1), 1) << unit_statement << ": " << ::testing::PrintToString(desk.shop.ui.texts());
    EXPECT_EQ(number(job(desk, "2020000000003", "BY002", "nscsj")), Decimal(0)) << unit_statement;
  }
}

TEST(ReworkTerminals, StationAndControllerMustBeAPairOfTheCompany) {
  ReworkDesk desk("02");
  w_svc304_01* w = enter(desk, "2020000000003", "DP001");
  ASSERT_NE(w, nullptr);
  auto save_with = [&](const char* station, const char* controller) {
    desk.set(*w, "cgwdm", Value(station));
    desk.set(*w, "cwxgwdm", Value(controller));
    desk.shop.ui.shown.clear();
    w->ue_cus(1);
    return desk.shop.ui.texts().empty() ? std::string("<saved>") : desk.shop.ui.texts().back();
  };
  EXPECT_EQ(save_with("", ""), "请选择返修工位！");
  EXPECT_EQ(save_with("", "K1"), "请先选择返修工位！");
  EXPECT_EQ(save_with("04", "K2"), "返修工位不存在或已停用！");
  EXPECT_EQ(save_with("9'", "K1"), "返修工位不存在或已停用！");
  EXPECT_EQ(save_with("05", ""), "该返修工位没有工时控制器，不能下传！");
  EXPECT_EQ(save_with("01", "K2"), "工时控制器与返修工位不对应！");
  EXPECT_EQ(desk.rework_jobs("2020000000003", "DP001"), "0");
  EXPECT_EQ(desk.text("select count(*) into :v from svcb50 where cwtsbh = '2020000000003'"), "0");
  EXPECT_EQ(save_with("01", "K1"), "<saved>");

  // Without the station requirement a record may go without a station.
  desk.shop.session->sqlca.exec("update sysi90 set ccsz = '0' where ccsdm = 'lxmzdgw' and cgsh = '02'");
  desk.shop.session->sqlca.commit();
  EXPECT_EQ(save_with("", ""), "<saved>");
  EXPECT_EQ(job(desk, "2020000000003", "DP001", "cgwdm || '/' || cwxgwdm"), "/");
}

TEST(ReworkTerminals, StartedRecordStaysAndDeleteRemovesOnlyTheReworkJob) {
  ReworkDesk desk("02");
  w_svc304_01* w = desk.open_record("1020000000002", "ZD002");
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->dw_edit->getitemnumber(1, "lksbs"), Decimal(1));
  EXPECT_EQ(w->ue_do_delete(), 0);
  EXPECT_EQ(desk.shop.ui.texts(), std::vector<std::string>{"项目已经开始维修，不能删除"});
  EXPECT_EQ(desk.rework_jobs("1020000000002", "ZD002"), "1");
  ui::close(*w);

  const std::string ordinary = "select count(*) into :v from wtcb01c where lfxbs = 0 and cwtsbh = '1020000000001' and cwxxmdm = 'KT001'";
  EXPECT_EQ(desk.text(ordinary), "1");
  w = desk.open_record("1020000000001", "KT001");
  ASSERT_NE(w, nullptr);
  desk.shop.ui.answers = {1};
  EXPECT_EQ(w->ue_do_delete(), 1) << ::testing::PrintToString(desk.shop.ui.texts());
  EXPECT_EQ(desk.rework_jobs("1020000000001", "KT001"), "0");
  EXPECT_EQ(desk.text(ordinary), "1") << "the item's ordinary job was deleted with the rework job";
  EXPECT_EQ(desk.flag("svcb20d", "1020000000001", "KT001"), "0");
  EXPECT_EQ(desk.text("select count(*) into :v from svcb50 where cwtsbh = '1020000000001' and cwxxmdm = 'KT001'"), "0");
}

TEST(ReworkTerminals, TwoWorkstationsSavingTheSameItemMakeOneReworkJob) {
  ReworkDesk first("02");
  w_svc304_01* mine = enter(first, "2020000000003", "BY001");
  ASSERT_NE(mine, nullptr);

  // The second workstation enters the same rework before the first saves.
  auto second_session = first.shop.open_session();
  second_session->g.gs_gsh = "02";
  second_session->sqlca.set_company("02");
  ui::ScriptedUi second_ui;
  second_session->ui = &second_ui;
  ui::WindowManager second_windows(first.shop.registry);
  w_svc304_01* theirs = nullptr;
  {
    fw::SessionScope scope(*second_session);
    fw::us_edit_row r;
    r.mode = "add";
    r.key_columns = {"cwtsbh", "cwxxmdm"};
    theirs = dynamic_cast<w_svc304_01*>(second_windows.open("w_svc304_01", ui::Message::of_object(std::move(r))));
    ASSERT_NE(theirs, nullptr);
    for (const long row = theirs->dw_edit->getrow();
         const auto& [column, value] : std::vector<std::pair<std::string, Value>>{
             {"cwtsbh", Value("2020000000003")}, {"cwxxmdm", Value("BY001")}, {"cbzdm", Value("B01")},
             {"cgwdm", Value("02")}, {"cwxgwdm", Value("K1")}})
      theirs->dw_edit->setitem(row, column, value);
  }
  ASSERT_EQ(mine->ue_cus(1), 1) << ::testing::PrintToString(first.shop.ui.texts());

  fw::SessionScope scope(*second_session);
  EXPECT_EQ(theirs->ue_cus(1), 0);
  EXPECT_FALSE(second_ui.texts().empty()) << "the second save failed silently";
  EXPECT_FALSE(second_session->sqlca.in_transaction());
  EXPECT_EQ(first.rework_jobs("2020000000003", "BY001"), "1");
  EXPECT_EQ(job(first, "2020000000003", "BY001", "cgwdm"), "01") << "the second workstation's station was sent";
  EXPECT_EQ(first.text("select count(*) into :v from svcb50 where cwtsbh = '2020000000003'"), "1");
}

TEST(ReworkTerminals, TheDatabaseRefusesASecondReworkJobForAnItem) {
  ReworkDesk desk("02");
  auto& sqlca = desk.shop.session->sqlca;
  sqlca.exec("insert into wtcb01c (cwtsbh, cwxxmdm, lfxbs, cgsh) values ('1020000000001', 'KT001', 1, '02')");
  EXPECT_EQ(sqlca.sqlcode, -1) << "a second rework job was accepted";
  sqlca.rollback();
  sqlca.exec("insert into wtcb01c (cwtsbh, cwxxmdm, lfxbs, cgsh) values ('1020000000001', 'KT001', 0, '02')");
  EXPECT_EQ(sqlca.sqlcode, 0) << sqlca.sqlerrtext;
  sqlca.rollback();
}

}  // namespace
}  // namespace kq::svc
