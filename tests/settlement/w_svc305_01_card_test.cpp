// The membership card functions of the cancellation window w_svc305_01 on the
// demo shop, with the reader simulator on a pseudo-terminal standing in for
// the IC card and club card readers.
//
// Work order 1010000000006 (company 01, status 1) was paid with card
// 8801000001: 200.00 from its stored value, 150 points; club01d records it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <filesystem>
#include <fstream>

#include "framework/demo_fixture.h"
#include "framework/openbox.h"
#include "platform/card/simulator.h"
#include "platform/ui/event_dispatch.h"
#include "settlement/w_svc305.h"
#include "settlement/cancellation_desk.h"
#include "settlement/w_svc305_01.h"

namespace kq::svc {
namespace {

using testing::DemoShop;
using V = std::vector<std::string>;

const char* const kCardOrder = "1010000000006";

card::Card member_card() {
  card::Card c;
  c.present = true;
  c.number = "8801000001";
  c.valid = "1";
  c.password = "880101";
  c.points = "1350";
  c.scoring_code = "01";
  c.service = {"3", "2860.00", "450.00", "420", "1010000000006", "2026/12/08", "1200.00", "200.00", "150", "0", "", ""};
  return c;
}

class CardWindow : public ::testing::Test {
 protected:
  // An operator who handles cards here ("CP") and must read them (no "CQ").
  explicit CardWindow(std::vector<std::string> authorities = {"CJ", "CP"}) : shop(std::move(authorities)) {}

  void SetUp() override {
    auto s = card::Simulator::start(member_card());
    ASSERT_TRUE(s) << s.error();
    sim = std::move(*s);
    folder = std::filesystem::temp_directory_path() / ("kq_card_window_" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    shop.session->g.gs_startfile = folder.string();
    // The session's reader and the port of sys/ickcom ("COM1") both reach the simulator.
    profile(sim->path());
  }
  void TearDown() override {
    shop.windows->close_all();
    std::filesystem::remove_all(folder);
  }

  void profile(const std::string& ickcom) {
    std::ofstream(folder / "pb.ini") << "[database]\nickcom=" << ickcom << "\n[ports]\nCOM1=" << sim->path() << "\n";
  }
  void parameter(const std::string& key, const std::string& value) {
    db::Transaction& sqlca = shop.session->sqlca;
    sqlca.exec("update sysi90 set ccsz = :v where cssxt = 'sys' and ccsdm = :k and cgsh = '01'",
               {{"v", value}, {"k", key}});
    ASSERT_EQ(sqlca.sqlcode, 0) << key << ": " << sqlca.sqlerrtext;
    ASSERT_EQ(sqlca.sqlnrows, 1) << key;
    sqlca.commit();
  }
  // Company 01 with the IC card module instead of the club.
  void ic_card_shop() {
    parameter("LVIPAZ", "1");
    parameter("LCLUAZ", "0");
  }

  // Opens the cancellation window from the list for work order `bh`.
  w_svc305_01& open_edit(const std::string& bh) {
    auto* list = dynamic_cast<w_svc305*>(shop.windows->open("w_svc305"));
    EXPECT_NE(list, nullptr) << shop.windows->last_error();
    long row = 0;
    for (long r = 1; r <= list->dw_display->rowcount(); ++r)
      if (list->dw_display->getitemstring(r, "cwtsbh") == bh) row = r;
    EXPECT_GT(row, 0) << bh;
    EXPECT_TRUE(ui::dispatch_event(*shop.windows, {.window = list->id(), .control = "dw_display", .event = "doubleclicked",
                                                   .row = row, .column = "cwtsbh"})
                    .ok);
    auto* edit = dynamic_cast<w_svc305_01*>(shop.windows->find("w_svc305_01"));
    EXPECT_NE(edit, nullptr);
    return *edit;
  }
  // The window with the unsettled status chosen, ready to read the card.
  w_svc305_01& open_unsettled(const std::string& bh = kCardOrder) {
    w_svc305_01& w = open_edit(bh);
    w.dw_edit->setitem(w.dw_edit->getrow(), "cwxzt", Value("0"));
    return w;
  }
  // The messages shown since the window opened.
  V texts() { return shop.ui.texts(); }
  // The messages told, the question of the save left out.
  V told() { return svc::testing::CancellationDesk::told_by(shop.ui); }
  // The cancellation command, answering 是 to its question.
  long save(w_svc305_01& w) {
    shop.ui.answers.push_back(1);
    const long result = w.ue_cus(1);
    shop.ui.answers.clear();
    return result;
  }
  bool read(const std::string& command) {
    auto c = sim->commands();
    return std::find(c.begin(), c.end(), command) != c.end();
  }

  DemoShop shop;
  std::unique_ptr<card::Simulator> sim;
  std::filesystem::path folder;
};

class CardWindowCQ : public CardWindow {
 protected:
  CardWindowCQ() : CardWindow({"CJ", "CP", "CQ"}) {}
};

// ---------------------------------------------------------------- wf_hysf

TEST_F(CardWindow, ValidCardsOfTheWorkOrderByModule) {
  w_svc305_01& w = open_edit(kCardOrder);
  w.is_wtsbh = kCardOrder;
  w.is_azclu = "1";
  w.is_azhyk = "0";
  EXPECT_EQ(w.wf_hysf(), 2);  // club cards 8801000001 and 8801000002 of vehicle 1
  w.is_azclu = "0";
  w.is_azhyk = "1";
  EXPECT_EQ(w.wf_hysf(), 1);  // the VIP record of vehicle 1
  w.is_azhyk = "0";
  EXPECT_EQ(w.wf_hysf(), 0);
  w.is_wtsbh = "1010000000028";  // card 8801000004 expired since
  w.is_azclu = "1";
  EXPECT_EQ(w.wf_hysf(), 0);
}

// ---------------------------------------------------------------- wf_hyk_read

TEST_F(CardWindowCQ, WithCqTheSettledNumberIsCopiedWithoutAReader) {
  w_svc305_01& w = open_unsettled();
  EXPECT_EQ(w.wf_hyk_read(), 1);
  EXPECT_EQ(w.sle_1.text, "8801000001");
  EXPECT_EQ(w.em_1.text, "200.00");
  EXPECT_EQ(w.em_2.text, "150.00");
  EXPECT_TRUE(texts().empty());
  EXPECT_TRUE(sim->commands().empty()) << "no reader was asked";
}

TEST_F(CardWindow, ReadingIsRefusedBeforeTheUnsettledStatusIsChosen) {
  w_svc305_01& w = open_edit(kCardOrder);
  w.sle_1.text = "kept";
  EXPECT_EQ(w.wf_hyk_read(), 0);
  EXPECT_EQ(texts(), V{"请先选择结算状态为“未结”。"});
  EXPECT_EQ(shop.ui.shown[0].title, "提示信息");
  EXPECT_EQ(w.sle_1.text, "kept");
  EXPECT_FALSE(read("NUMBER"));
}

TEST_F(CardWindow, ReadingIsRefusedWhenTheSettlementWasNotPaidByCard) {
  w_svc305_01& w = open_unsettled("1010000000027");  // card number on record, not paid by card
  w.sle_1.text = "kept";
  EXPECT_EQ(w.wf_hyk_read(), 0);
  EXPECT_EQ(texts(), V{"当前委托书结算未刷卡消费。"});
  EXPECT_EQ(w.sle_1.text, "kept");
  EXPECT_FALSE(read("NUMBER"));
}

TEST_F(CardWindow, ClubCardIsReadThroughTheClubReaderAndClosedAgain) {
  w_svc305_01& w = open_unsettled();
  EXPECT_TRUE(w.cb_2.visible);
  EXPECT_EQ(w.cb_2_clicked(), 1);
  EXPECT_EQ(w.sle_1.text, "8801000001");
  EXPECT_EQ(w.em_1.text, "200.00");
  EXPECT_EQ(w.em_2.text, "150.00");
  EXPECT_TRUE(texts().empty());
  EXPECT_EQ(sim->commands(), (V{"PING", "NUMBER"}));
  EXPECT_EQ(w.uo_2->of_clu_getdevicestatus(), 0) << "closed after reading";
}

TEST_F(CardWindow, ClubReaderThatCannotBeOpened) {
  profile("/dev/kq-no-such-reader");
  w_svc305_01& w = open_unsettled();
  EXPECT_EQ(w.wf_hyk_read(), 0);
  EXPECT_EQ(texts(), V{"打开串口失败,请检查读卡器连接情况！"});
  EXPECT_EQ(w.sle_1.text, "");
}

TEST_F(CardWindow, AnotherCardLeavesNoNumber) {
  card::Card other = member_card();
  other.number = "8801000002";
  sim->present(other);
  w_svc305_01& w = open_unsettled();
  w.sle_1.text = "8801000001";
  EXPECT_EQ(w.wf_hyk_read(), 0);
  EXPECT_EQ(texts(), V{"当前卡信息与结算时会员卡信息不一致，请核实！\n\n结算时会员卡号：8801000001   当前卡号：8801000002"});
  EXPECT_EQ(w.sle_1.text, "") << "a number read before does not stay";
  EXPECT_EQ(w.em_1.text, "");
}

TEST_F(CardWindow, IcCardNumbersCountTenCharacters) {
  ic_card_shop();
  card::Card long_number = member_card();
  long_number.number = "8801000001 0042";
  sim->present(long_number);
  w_svc305_01& w = open_unsettled();
  EXPECT_TRUE(w.ib_opencom);
  EXPECT_EQ(w.sle_1_modified(), 1);
  EXPECT_EQ(w.sle_1.text, "8801000001");
  EXPECT_TRUE(texts().empty());

  long_number.number = "88010000010042";
  sim->present(long_number);
  EXPECT_EQ(w.wf_hyk_read(), 1);
  EXPECT_EQ(w.sle_1.text, "8801000001");
}

TEST_F(CardWindow, IcReaderFailuresAreTold) {
  ic_card_shop();
  w_svc305_01& w = open_unsettled();
  sim->remove();
  EXPECT_EQ(w.wf_hyk_read(), 0);
  sim->present(member_card());
  w.uo_1->set_answer_timeout(std::chrono::milliseconds(200));
  sim->ignore_next("NUMBER");
  EXPECT_EQ(w.wf_hyk_read(), 0);
  EXPECT_EQ(texts(), (V{"读卡不成功 ，请重试！", "读卡器没有响应，请检查读卡器连接情况！"}));
  EXPECT_EQ(w.sle_1.text, "");
}

// Without an ickcom entry in the profile file the reader is the system
// parameter's: a device path opens as it stands (even one ending in a digit),
// a port name maps through [ports].
TEST_F(CardWindow, IcReaderOfTheSystemParameter) {
  ic_card_shop();
  const std::filesystem::path device = folder / "ic-reader7";
  std::filesystem::create_symlink(sim->path(), device);
  std::ofstream(folder / "pb.ini") << "[ports]\nCOM1=" << sim->path() << "\n";
  for (const std::string& port : {device.string(), std::string("COM1")}) {
    SCOPED_TRACE(port);
    parameter("ickcom", port);
    shop.ui.shown.clear();
    w_svc305_01& w = open_unsettled();
    EXPECT_TRUE(w.ib_opencom);
    EXPECT_EQ(texts(), V{});
    EXPECT_EQ(w.wf_hyk_read(), 1);
    EXPECT_EQ(w.sle_1.text, "8801000001");
    shop.windows->close_all();
  }
}

TEST_F(CardWindow, IcPortNotOpen) {
  ic_card_shop();
  profile("/dev/kq-no-such-reader");
  w_svc305_01& w = open_unsettled();
  EXPECT_FALSE(w.ib_opencom);
  EXPECT_EQ(texts(), V{"串口连接失败！请检查刷卡器连接是否正确，退出程序再试！"});
  EXPECT_EQ(w.wf_hyk_read(), 0);
  EXPECT_EQ(texts().back(), "串口尚未打开，请查看相关参数设置是否正确。");
  EXPECT_EQ(w.sle_1.text, "");
}

// ---------------------------------------------------------------- wf_card_exe

class CardWriteBack : public CardWindow {
 protected:
  void SetUp() override {
    CardWindow::SetUp();
    ic_card_shop();
  }
  // The window ready for the write-back, the progress indicator showing as
  // the cancellation command leaves it.
  w_svc305_01& ready() {
    w_svc305_01& w = open_unsettled();
    EXPECT_EQ(w.wf_hyk_read(), 1);
    request = CancellationRequest{};
    request.is_wtsbh = kCardOrder;
    shop.ui.shown.clear();
    shop.ui.log.clear();
    sim->clear_commands();
    fw::openbox("setup.avi", "正在取消结算，请稍候...");
    return w;
  }
  // A failed write-back: only `text` was shown, after the progress indicator
  // went away; the write-back connection is closed when `closed`.
  void expect_failure(w_svc305_01& w, const std::string& text) {
    EXPECT_EQ(w.wf_card_exe(1, request), 0);
    EXPECT_EQ(texts(), V{text});
    EXPECT_FALSE(shop.ui.progress_open);
    const auto& log = shop.ui.log;
    auto done = std::find(log.begin(), log.end(), "progress done");
    auto shown = std::find(log.begin(), log.end(), "messagebox: " + text);
    EXPECT_TRUE(done < shown) << "the indicator goes before the message";
    EXPECT_EQ(w.uo_1->cardready(), -1) << "the write-back connection is closed";
  }
  CancellationRequest request;  // what validation handed over
};

TEST_F(CardWriteBack, OnlyTheAModeWritesTheCard) {
  w_svc305_01& w = ready();
  EXPECT_EQ(w.wf_card_exe(2, request), 1);
  EXPECT_EQ(w.wf_card_exe(0, request), 1);
  EXPECT_TRUE(sim->commands().empty());
  EXPECT_EQ(sim->card(), member_card());
  EXPECT_TRUE(shop.ui.progress_open);
}

TEST_F(CardWriteBack, PointsServiceDataAndTheRecordGoBackOntoTheCard) {
  w_svc305_01& w = ready();
  EXPECT_EQ(w.wf_card_exe(1, request), 1);
  EXPECT_TRUE(texts().empty());
  EXPECT_TRUE(shop.ui.progress_open) << "removed by the cancellation command after the commit";
  card::Card c = sim->card();
  EXPECT_EQ(c.points, "1200");  // 1350 on the card less the settlement's 150
  // One visit and its figures fewer (the settlement's total is in svcb20c).
  EXPECT_EQ(c.service[0], "2");
  EXPECT_EQ(c.service[2], "250.00");
  EXPECT_EQ(c.service[3], "270");
  EXPECT_EQ(c.service[4], "");
  EXPECT_EQ(c.service[9], "1");
  EXPECT_EQ(c.service[10], kCardOrder);
  EXPECT_EQ(c.service[11], "2026/12/08");
  ASSERT_EQ(c.records.size(), 1u);
  EXPECT_EQ(c.records[0], (card::CancellationRecord{"8801000001", kCardOrder, "2026/12/08", "1350", "150", "001"}));
  EXPECT_EQ(w.uo_1->cardready(), -1) << "closed after the write-back";
  V commands = sim->commands();
  ASSERT_FALSE(commands.empty());
  EXPECT_EQ(commands.front(), "PING");
  EXPECT_EQ(commands.back(), "LOG");
  EXPECT_EQ(std::count(commands.begin(), commands.end(), "WRITE"), 2);
}

TEST_F(CardWriteBack, AFreeWorkOrderKeepsThePoints) {
  w_svc305_01& w = ready();
  request.ii_mfbs = 1;
  EXPECT_EQ(w.wf_card_exe(1, request), 1);
  card::Card c = sim->card();
  EXPECT_EQ(c.points, "1350");
  EXPECT_EQ(c.service[3], "420");
  EXPECT_EQ(c.service[10], kCardOrder);
  ASSERT_EQ(c.records.size(), 1u);
  EXPECT_EQ(c.records[0].points_taken, "0");
  V commands = sim->commands();
  EXPECT_EQ(std::count(commands.begin(), commands.end(), "WRITE"), 1);
}

TEST_F(CardWriteBack, PortOfTheSystemParameterThatCannotBeOpened) {
  w_svc305_01& w = ready();
  parameter("ickcom", "/dev/kq-no-such-reader");
  EXPECT_EQ(w.wf_card_exe(1, request), 0);
  EXPECT_EQ(texts(), V{"打开串口错误警告"});
  EXPECT_FALSE(shop.ui.progress_open);
  EXPECT_EQ(sim->card(), member_card());
}

// Each step that fails stops the write-back with its message; nothing is
// written before the step that writes.
TEST_F(CardWriteBack, EachFailedStepStopsWithItsMessage) {
  card::Card invalid = member_card();
  invalid.valid = "0";
  card::Card bad_points = member_card();
  bad_points.points = "12a";
  card::Card unpaid = member_card();
  unpaid.number = "8801000002";  // booked points on the work order, but did not pay: no club01d row
  card::Card no_standard = member_card();
  no_standard.scoring_code = " ";
  auto db_fault = [this](const char* statement) {
    shop.session->sqlca.faults().fail_matching(statement, "lost connection");
  };
  struct Case {
    const char* step;
    std::function<void()> arrange;
    const char* message;
    int written;  // 0 nothing, 1 the points, 2 the points and the service data
  };
  const Case cases[] = {
      {"no card", [&] { sim->remove(); }, "卡未找到警告", 0},
      {"password", [&] { sim->fail_next("READ"); }, "读卡不成功 ，请重试！", 0},
      {"validity", [&] { sim->fail_next("READ", 1); }, "读卡不成功 ，请重试！", 0},
      {"invalid card", [&] { sim->present(invalid); }, "该卡为无效卡 ，不能取消结算！", 0},
      {"points no number", [&] { sim->present(bad_points); }, "读卡不成功 ，请重试！", 0},
      {"not paid with this card", [&] { sim->present(unpaid); }, "请先进行会员结算，再执行取消会员结算！", 0},
      {"no scoring standard", [&] { sim->present(no_standard); }, "没有对应的计分标准，请维护！", 0},
      {"settlement points", [&] { db_fault("select nhykbcjf into"); }, "回写客户积分不成功，请重试！", 0},
      {"points write", [&] { sim->fail_next("WRITE"); }, "回写客户积分不成功，请重试！", 0},
      // password, valid, number, points, scoring code, then the service data
      {"service data read", [&] { sim->fail_next("READ", 5); }, "读卡不成功 ，请重试！", 1},
      {"settlement figures", [&] { db_fault("select nhjje , nhykbcxfje"); }, "读取信息不成功，请重试！", 1},
      {"service data write", [&] { sim->fail_next("WRITE", 1); }, "写卡不成功 ，请重试！", 1},
      {"record", [&] { sim->fail_next("LOG"); }, "写卡不成功 ，请重试！", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.step);
    shop.windows->close_all();
    sim->present(member_card());
    w_svc305_01& w = ready();
    c.arrange();
    const card::Card presented = sim->card();
    expect_failure(w, c.message);
    card::Card after = sim->card();
    if (c.written == 0) {
      EXPECT_EQ(after, presented);
    } else {
      EXPECT_EQ(after.points, "1200");
    }
    if (c.written == 1) {
      EXPECT_EQ(after.service, presented.service) << "the service data goes in one write";
    }
    EXPECT_TRUE(after.records.empty());
  }
}

// ---------------------------------------------------------------- the cancellation command

TEST_F(CardWriteBack, TheCancellationCommandWritesTheCardBeforeTheCommit) {
  parameter("czjcdm", "A");
  w_svc305_01& w = open_unsettled();
  w.mle_1.text = "客户要求重新结算";
  ASSERT_EQ(w.cb_2_clicked(), 1);
  EXPECT_EQ(save(w), 1) << ::testing::PrintToString(texts());
  EXPECT_EQ(told(), V{"取消结算成功！"});
  EXPECT_FALSE(shop.ui.progress_open);
  EXPECT_EQ(sim->card().points, "1200");
  EXPECT_EQ(shop.committed("select cwxzt into :v from svcb20c where cwtsbh = '1010000000006'"), "0");
}

TEST_F(CardWriteBack, ACancellationThatFailsAfterTheWriteBackPutsTheCardBack) {
  parameter("czjcdm", "A");
  w_svc305_01& w = open_unsettled();
  w.mle_1.text = "客户要求重新结算";
  ASSERT_EQ(w.cb_2_clicked(), 1);
  shop.session->sqlca.faults().fail_matching("update svcb20c set cwxzt", "injected failure");
  save(w);
  EXPECT_EQ(told(), V{"更改结算状态失败!"});
  EXPECT_FALSE(shop.ui.progress_open);
  EXPECT_EQ(shop.committed("select cwxzt into :v from svcb20c where cwtsbh = '1010000000006'"), "1");
  card::Card c = sim->card();
  EXPECT_EQ(c.points, "1350");
  EXPECT_EQ(c.service, member_card().service);
  ASSERT_EQ(c.records.size(), 2u);
  EXPECT_EQ(c.records[1], (card::CancellationRecord{"8801000001", kCardOrder, "2026/12/08", "1200", "-150", "001"}));

  // Saved again, the points come off the card once.
  shop.ui.shown.clear();
  EXPECT_EQ(save(w), 1);
  EXPECT_EQ(told(), V{"取消结算成功！"});
  EXPECT_EQ(sim->card().points, "1200");
  EXPECT_EQ(shop.committed("select cwxzt into :v from svcb20c where cwtsbh = '1010000000006'"), "0");
}

TEST_F(CardWriteBack, ACardThatCannotBePutBackIsTold) {
  parameter("czjcdm", "A");
  w_svc305_01& w = open_unsettled();
  w.mle_1.text = "客户要求重新结算";
  ASSERT_EQ(w.cb_2_clicked(), 1);
  shop.session->sqlca.faults().fail_matching("update svcb20c set cwxzt", "injected failure");
  sim->fail_next("WRITE", 2);  // the write-back writes twice; the third write puts the card back
  save(w);
  EXPECT_EQ(told(), (V{"更改结算状态失败!", "取消结算未完成，会员卡上的积分和消费信息未能恢复，请核实会员卡！"}));
  EXPECT_FALSE(shop.ui.progress_open);
  EXPECT_EQ(w.uo_1->cardready(), -1) << "the connection is closed";
}

TEST_F(CardWriteBack, AFailedWriteBackCancelsNothing) {
  parameter("czjcdm", "A");
  w_svc305_01& w = open_unsettled();
  w.mle_1.text = "客户要求重新结算";
  ASSERT_EQ(w.cb_2_clicked(), 1);
  sim->remove();
  EXPECT_EQ(save(w), 0);
  EXPECT_EQ(told(), V{"卡未找到警告"});
  EXPECT_FALSE(shop.ui.progress_open);
  EXPECT_EQ(shop.committed("select cwxzt into :v from svcb20c where cwtsbh = '1010000000006'"), "1");
}

}  // namespace
}  // namespace kq::svc
