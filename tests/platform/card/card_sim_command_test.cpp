// kq_svc_309 card-sim as a person runs it: the link, the card file that
// follows the host's writes and is reloaded when edited, and a clean stop.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <thread>

#include "platform/card/card.h"
#include "platform/card/link.h"

extern char** environ;

namespace kq::card {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

std::string slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// Waits (at most 10 s) until `done` holds.
bool eventually(const std::function<bool()>& done) {
  for (int i = 0; i < 200; ++i) {
    if (done()) return true;
    std::this_thread::sleep_for(50ms);
  }
  return done();
}

class CardSimCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("kq_card_sim_" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override {
    stop();
    fs::remove_all(dir);
  }

  // Starts `kq_svc_309 card-sim args...` with its output in dir/out.
  void start(std::vector<std::string> args) {
    std::vector<std::string> argv{KQ_BINARY, "card-sim"};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> raw;
    for (auto& a : argv) raw.push_back(a.data());
    raw.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    std::string out = (dir / "out").string();
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    ASSERT_EQ(posix_spawn(&pid, KQ_BINARY, &actions, nullptr, raw.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
  }
  // Stops it with SIGTERM; its exit status.
  int stop() {
    if (pid <= 0) return -1;
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
    pid = 0;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  int wait_exit() {
    int status = 0;
    waitpid(pid, &status, 0);
    pid = 0;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  fs::path dir;
  pid_t pid = 0;
};

TEST_F(CardSimCommand, FollowsTheCardFileBothWays) {
  Card c;
  c.present = true;
  c.number = "8801000001";
  c.valid = "1";
  c.password = "pw";
  c.points = "1350";
  std::ofstream(dir / "card.json") << to_json(c).dump(2);
  start({"--link", (dir / "reader").string(), "--card", (dir / "card.json").string()});
  ASSERT_TRUE(eventually([&] { return fs::is_symlink(dir / "reader"); })) << slurp(dir / "out");
  EXPECT_NE(slurp(dir / "out").find("card-sim: reader on /dev/"), std::string::npos) << slurp(dir / "out");

  auto link = Link::open((dir / "reader").string());
  ASSERT_TRUE(link) << link.error();
  Reply r = link->call("NUMBER");
  ASSERT_TRUE(r.ok()) << r.detail;
  EXPECT_EQ(r.values[0], "8801000001");

  // The host's write reaches the file.
  ASSERT_TRUE(link->call("WRITE", {"pw", "points", "1200"}).ok());
  EXPECT_TRUE(eventually([&] {
    auto saved = parse_card(slurp(dir / "card.json"));
    return saved && saved->points == "1200";
  })) << slurp(dir / "card.json");

  // A person presents another card by editing the file.
  c.number = "8802000001";
  c.points = "400";
  {
    std::ofstream(dir / "edit.tmp") << to_json(c).dump(2);
    fs::rename(dir / "edit.tmp", dir / "card.json");
  }
  EXPECT_TRUE(eventually([&] {
    Reply n = link->call("NUMBER");
    return n.ok() && n.values[0] == "8802000001";
  }));
  // A broken file leaves the reader's card as it was.
  std::ofstream(dir / "card.json") << "{ broken";
  EXPECT_TRUE(eventually([&] { return slurp(dir / "out").find("not valid JSON") != std::string::npos; }));
  EXPECT_EQ(link->call("READ", {"points"}).values, std::vector<std::string>{"400"});

  EXPECT_EQ(stop(), 0);
  EXPECT_FALSE(fs::exists(fs::symlink_status(dir / "reader"))) << "the link goes with the reader";
}

TEST_F(CardSimCommand, StartsWithoutACardAndCreatesTheFile) {
  start({"--card", (dir / "new.json").string()});
  ASSERT_TRUE(eventually([&] { return fs::exists(dir / "new.json"); })) << slurp(dir / "out");
  auto saved = parse_card(slurp(dir / "new.json"));
  ASSERT_TRUE(saved) << saved.error();
  EXPECT_FALSE(saved->present);
  EXPECT_EQ(stop(), 0);
}

TEST_F(CardSimCommand, RefusesABrokenCardFileAndAFileInThePlaceOfTheLink) {
  std::ofstream(dir / "bad.json") << "[]";
  start({"--card", (dir / "bad.json").string()});
  EXPECT_EQ(wait_exit(), 1);
  EXPECT_NE(slurp(dir / "out").find("a card is a JSON object"), std::string::npos) << slurp(dir / "out");

  std::ofstream(dir / "taken") << "keep me";
  start({"--link", (dir / "taken").string()});
  EXPECT_EQ(wait_exit(), 1);
  EXPECT_EQ(slurp(dir / "taken"), "keep me");
  EXPECT_NE(slurp(dir / "out").find("is not a link"), std::string::npos) << slurp(dir / "out");
}

}  // namespace
}  // namespace kq::card
