// The serial driver and the protocol's host end against the reader simulator
// on a pseudo-terminal: answers, refusals, silence, damaged answers, missing
// devices. Every failure comes back as a value within the answer timeout.
#include "support/sample_card.h"
#include "platform/card/link.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>

#include "platform/card/frame.h"
#include "platform/card/simulator.h"

namespace kq::card {
namespace {

using namespace std::chrono_literals;
using V = std::vector<std::string>;

card::Card sample() { return kq::testing::sample_card(); }

class CardLink : public ::testing::Test {
 protected:
  void SetUp() override {
    auto s = Simulator::start(sample());
    ASSERT_TRUE(s) << s.error();
    sim = std::move(*s);
    auto l = Link::open(sim->path(), Link::Options{300ms});
    ASSERT_TRUE(l) << l.error();
    link = std::move(*l);
  }

  std::unique_ptr<Simulator> sim;
  Link link;
};

TEST_F(CardLink, RequestsAreAnsweredAndRecorded) {
  Reply r = link.call("READ", {"number", "points"});
  ASSERT_TRUE(r.ok()) << r.detail;
  EXPECT_EQ(r.values, (V{"8801000001", "1350"}));
  r = link.call("WRITE", {"pw", "points", "1200"});
  EXPECT_TRUE(r.ok()) << r.detail;
  EXPECT_EQ(sim->card().points, "1200");
  EXPECT_EQ(sim->commands(), (V{"READ", "WRITE"}));
}

TEST_F(CardLink, RefusalsArriveAsTheReadersStatus) {
  sim->remove();
  Reply r = link.call("NUMBER");
  EXPECT_TRUE(r.answered());
  EXPECT_FALSE(r.ok());
  EXPECT_EQ(r.status, "NOCARD");

  sim->present(sample());
  sim->fail_next("READ");
  r = link.call("READ", {"valid"});
  EXPECT_TRUE(r.answered());
  EXPECT_EQ(r.status, "FAIL");
  r = link.call("READ", {"valid"});  // only the next one failed
  EXPECT_TRUE(r.ok());
  EXPECT_EQ(r.values, V{"1"});
}

TEST_F(CardLink, SilenceIsATimeoutAndTheNextRequestStillWorks) {
  sim->ignore_next("STATUS");
  Reply r = link.call("STATUS");
  EXPECT_EQ(r.outcome, Outcome::Timeout);
  EXPECT_NE(r.detail.find("no answer"), std::string::npos) << r.detail;
  r = link.call("STATUS");
  ASSERT_TRUE(r.ok()) << r.detail;
  EXPECT_EQ(r.values, V{"1"});
}

TEST_F(CardLink, ADamagedAnswerIsNeverTaken) {
  sim->garble_next("NUMBER");
  Reply r = link.call("NUMBER");
  EXPECT_EQ(r.outcome, Outcome::Timeout);
  EXPECT_NE(r.detail.find("checksum mismatch"), std::string::npos) << r.detail;
  EXPECT_TRUE(link.call("NUMBER").ok());
}

TEST_F(CardLink, NoiseAndAnswersToOtherRequestsAreSkipped) {
  // Noise on the line while the host waits: sent by the reader right after
  // it received the request, before its real answer.
  sim->ignore_next("PING");
  std::thread noise([&] {
    for (int i = 0; i < 200 && sim->commands().size() < 1; ++i) std::this_thread::sleep_for(5ms);
    sim->send_raw("garbage\n" + std::string(kMaxLine + 5, '#') + "\n" +
                  encode(Frame{Frame::Kind::Answer, 0, {"OK", "stale"}}));
  });
  Reply r = link.call("PING");
  noise.join();
  EXPECT_EQ(r.outcome, Outcome::Timeout) << "neither noise nor an answer to another request counts";
  r = link.call("READ", {"points"});
  ASSERT_TRUE(r.ok()) << r.detail;
  EXPECT_EQ(r.values, V{"1350"});
}

TEST_F(CardLink, AReaderThatWentAwayFailsWithoutHanging) {
  sim.reset();
  Reply r = link.call("PING");
  EXPECT_FALSE(r.answered());
  EXPECT_TRUE(r.outcome == Outcome::Broken || r.outcome == Outcome::Timeout) << r.detail;
}

TEST_F(CardLink, AClosedLinkDoesNotTalk) {
  link.close();
  Reply r = link.call("PING");
  EXPECT_EQ(r.outcome, Outcome::NotOpen);
  EXPECT_TRUE(sim->commands().empty());
}

TEST_F(CardLink, ChangesAreReportedWithTheNewCard) {
  std::mutex mu;
  std::vector<Card> seen;
  sim->on_change([&](const Card& c) {
    std::lock_guard lock(mu);
    seen.push_back(c);
  });
  ASSERT_TRUE(link.call("READ", {"points"}).ok());
  ASSERT_TRUE(link.call("LOG", {"pw", "8801000001", "1010000000006", "2026/12/08", "1350", "150", "001"}).ok());
  sim->on_change(nullptr);
  std::lock_guard lock(mu);
  ASSERT_EQ(seen.size(), 1u);
  ASSERT_EQ(seen[0].records.size(), 1u);
  EXPECT_EQ(seen[0].records[0].work_order, "1010000000006");
}

TEST(CardDevice, MissingOrUnsuitableDevicesDoNotOpen) {
  auto missing = Link::open("/dev/kq-no-such-reader");
  ASSERT_FALSE(missing);
  EXPECT_NE(missing.error().find("/dev/kq-no-such-reader"), std::string::npos) << missing.error();

  auto file = std::filesystem::temp_directory_path() / ("kq_not_a_tty_" + std::to_string(getpid()));
  std::ofstream(file) << "x";
  auto plain = Link::open(file.string());
  ASSERT_FALSE(plain);
  EXPECT_NE(plain.error().find("not a serial device"), std::string::npos) << plain.error();
  std::filesystem::remove(file);

  EXPECT_FALSE(Link::open(""));
  EXPECT_FALSE(serial::Port::open("/dev/null"));  // a character device, but no terminal
}

TEST(CardDevice, UnsupportedBaudRateIsRefused) {
  auto sim = Simulator::start();
  ASSERT_TRUE(sim);
  auto l = Link::open((*sim)->path(), Link::Options{100ms, 12345});
  ASSERT_FALSE(l);
  EXPECT_NE(l.error().find("baud"), std::string::npos);
}

}  // namespace
}  // namespace kq::card
