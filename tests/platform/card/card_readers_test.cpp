// The card reader objects uo_clu100 (IC card) and uo_clu180 (club card)
// against the simulator: the session's configured reader, statuses of each
// operation, and writes the card refuses.
#include "support/sample_card.h"
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "framework/session.h"
#include "framework/uo_clu100.h"
#include "framework/uo_clu180.h"
#include "platform/card/simulator.h"

namespace kq::fw {
namespace {

using namespace std::chrono_literals;
using V = std::vector<std::string>;

card::Card sample() { return kq::testing::sample_card(); }

// A session (without a database) whose start folder holds pb.ini.
class CardReaders : public ::testing::Test {
 protected:
  void SetUp() override {
    auto s = card::Simulator::start(sample());
    ASSERT_TRUE(s) << s.error();
    sim = std::move(*s);
    dir = std::filesystem::temp_directory_path() / ("kq_readers_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    session.g.gs_startfile = dir.string();
    scope = std::make_unique<SessionScope>(session);
  }
  void TearDown() override {
    scope.reset();
    std::filesystem::remove_all(dir);
  }
  void profile(const std::string& text) { std::ofstream(dir / "pb.ini") << text; }

  std::unique_ptr<card::Simulator> sim;
  std::filesystem::path dir;
  Session session;
  std::unique_ptr<SessionScope> scope;
};

TEST_F(CardReaders, TheConfiguredReaderComesFromTheProfile) {
  profile("[database]\nickcom=" + sim->path() + "\n");
  EXPECT_EQ(configured_card_reader(), sim->path());
  profile("[database]\nickcom=COM4\n[ports]\nCOM4=" + sim->path() + "\n");
  EXPECT_EQ(configured_card_reader(), sim->path());
  profile("[database]\nickcom=3\n");
  EXPECT_EQ(configured_card_reader(), "/dev/ttyS2");
  profile("");
  EXPECT_EQ(configured_card_reader(), "");  // no profile entry, no database for sys/ickcom
}

TEST_F(CardReaders, IcCardNumberReads) {
  uo_clu100 uo;
  uo.set_answer_timeout(300ms);
  int status = 5;
  std::string number;
  EXPECT_EQ(uo.of_hyk_readcard(status, number), 0) << "not open: abandoned";
  EXPECT_EQ(uo.of_gsgl_opencom(0), 0) << "no reader configured";

  profile("[database]\nickcom=" + sim->path() + "\n");
  ASSERT_NE(uo.of_gsgl_opencom(0), 0);
  EXPECT_EQ(uo.of_hyk_readcard(status, number), 1);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(number, "8801000001");

  sim->remove();
  EXPECT_EQ(uo.of_hyk_readcard(status, number), 1);
  EXPECT_EQ(status, -1);
  sim->present(sample());
  sim->ignore_next("NUMBER");
  EXPECT_EQ(uo.of_hyk_readcard(status, number), 0) << "no answer: abandoned";

  EXPECT_EQ(uo.of_gsgl_colsecom(), 1);
  EXPECT_EQ(uo.of_hyk_readcard(status, number), 0);
}

TEST_F(CardReaders, IcPortNumbersGoThroughThePortsSection) {
  uo_clu100 uo;
  uo.set_answer_timeout(300ms);
  profile("[ports]\nCOM2=" + sim->path() + "\n");
  EXPECT_EQ(uo.of_gsgl_opencom(2), 1);
  EXPECT_EQ(uo.open_comm("COM2"), 1);
  EXPECT_EQ(uo.open_comm("2"), 1);
  EXPECT_EQ(uo.open_comm(sim->path()), 1);
  EXPECT_EQ(uo.open_comm("COM0"), -1);
  EXPECT_EQ(uo.open_comm("/dev/kq-no-such-reader"), -1);
  sim->ignore_next("PING");
  EXPECT_EQ(uo.open_comm(sim->path()), -1) << "a device whose reader does not answer";
}

// What the cancellation window does not reach: refused writes, fields that
// are no whole number, codes that name no standard, closed connections.
TEST_F(CardReaders, IcWriteBackRefusals) {
  uo_clu100 uo;
  uo.set_answer_timeout(300ms);
  std::string value;
  EXPECT_EQ(uo.cardready(), -1) << "not open";
  EXPECT_EQ(uo.of_read("valid", value), -1);
  ASSERT_EQ(uo.open_comm(sim->path()), 1);

  EXPECT_EQ(uo.of_read("nosuchfield", value), -1);
  V values;
  EXPECT_EQ(uo.of_read(V{"s01", "points"}, values), 1);
  EXPECT_EQ(values, (V{"3", "1350"}));

  long points = 7;
  EXPECT_EQ(uo.of_part_int("s02", points), -1) << "empty";
  EXPECT_EQ(uo.of_part_int("password", points), -1) << "\"pw\"";
  EXPECT_EQ(points, 7);
  EXPECT_EQ(uo.of_part_int("scoring_code", points), 1);
  EXPECT_EQ(points, 1);

  std::string standard;
  EXPECT_EQ(uo.of_retu_jfbz("  ", standard), 0);
  EXPECT_EQ(uo.of_retu_jfbz("0-1", standard), 0);
  EXPECT_EQ(uo.of_retu_jfbz("ABCDEFGHIJK", standard), 0);
  EXPECT_EQ(uo.of_retu_jfbz(" V2 ", standard), 1);
  EXPECT_EQ(standard, "V2");

  EXPECT_EQ(uo.of_write("wrong", "points", "1"), -1);
  EXPECT_EQ(uo.of_write("pw", {{"points", "1"}, {"number", "1"}}), -1);
  EXPECT_EQ(uo.of_wgjs("wrong", "8801000001", "1010000000006", "2026/12/08", 1350, 150, "001"), -1);
  EXPECT_EQ(sim->card(), sample());

  EXPECT_EQ(uo.close_comm(), 1);
  EXPECT_EQ(uo.cardready(), -1);
  EXPECT_EQ(uo.of_write("pw", "points", "1"), -1);
}

TEST_F(CardReaders, ClubReaderWithoutDeviceOrCard) {
  uo_clu180 uo;
  uo.set_answer_timeout(300ms);
  std::string number = "kept";
  EXPECT_EQ(uo.of_clu_opendevice(), -1) << "no reader configured";
  EXPECT_EQ(uo.of_clu_getckh(number), -1);
  EXPECT_EQ(uo.of_clu_closedevice(), 1) << "closing a closed device";

  profile("[database]\nickcom=" + sim->path() + "\n");
  ASSERT_EQ(uo.of_clu_opendevice(), 1);
  sim->remove();
  EXPECT_EQ(uo.of_clu_getckh(number), -1);
  EXPECT_EQ(number, "kept");
}

}  // namespace
}  // namespace kq::fw
