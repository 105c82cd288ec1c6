// How many sessions the server holds, and a server out of file descriptors.
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>

#include "server/descriptor_headroom.h"
#include "server_harness.h"

namespace kq::testing {
namespace {

using nlohmann::json;

class ServerSessionLimits : public ServerTest {};


TEST_F(ServerSessionLimits, SessionsAreCappedPerOperatorAndInAll) {
  session_limits_ = {4, 2};
  make_api();
  auto attempt = [this](const std::string& op) {
    return post("/api/signin", {{"company", "01"}, {"operator", op}, {"password", "kq01" + op}});
  };
  const std::string first = sign_in("01", "001", "kq01001");
  sign_in("01", "001", "kq01001");
  Reply third = attempt("001");
  EXPECT_EQ(third.status, 409) << third.raw;
  EXPECT_NE(error_message(third).find("上限"), std::string::npos) << third.raw;

  ASSERT_EQ(post("/api/signout", json::object(), first).status, 200);
  EXPECT_EQ(attempt("001").status, 200) << "a signed-out session leaves room";

  sign_in("01", "002", "kq01002");
  sign_in("01", "003", "kq01003");
  Reply full = attempt("004");
  EXPECT_EQ(full.status, 503) << full.raw;
  EXPECT_NE(error_message(full).find("上限（4 个）"), std::string::npos) << full.raw;
  EXPECT_EQ(sessions_->size(), 4u);

  Reply guess = post("/api/signin", {{"company", "01"}, {"operator", "004"}, {"password", "wrong"}});
  EXPECT_EQ(guess.status, 503) << "a full server does not check passwords: " << guess.raw;

  now_ += std::chrono::minutes(31);  // every session outlives the idle limit
  EXPECT_EQ(attempt("004").status, 200) << "idle sessions leave room";
  EXPECT_EQ(sessions_->size(), 1u);
}

// Fills the process's file descriptors up to `spare` free ones (under a
// lowered soft limit), and gives them back.
class DescriptorFill {
 public:
  explicit DescriptorFill(rlim_t limit) {
    getrlimit(RLIMIT_NOFILE, &saved_);
    rlimit lowered = saved_;
    lowered.rlim_cur = std::min<rlim_t>(saved_.rlim_cur, limit);
    setrlimit(RLIMIT_NOFILE, &lowered);
    for (int fd; (fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC)) >= 0;) held_.push_back(fd);
  }
  void free(size_t count) {
    while (count-- > 0 && !held_.empty()) {
      ::close(held_.back());
      held_.pop_back();
    }
  }
  ~DescriptorFill() {
    free(held_.size());
    setrlimit(RLIMIT_NOFILE, &saved_);
  }

 private:
  rlimit saved_{};
  std::vector<int> held_;
};

TEST_F(ServerSessionLimits, AServerOutOfFileDescriptorsSaysSo) {
  const size_t open_now = static_cast<size_t>(std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                                                            std::filesystem::directory_iterator()));
  std::vector<std::pair<size_t, Reply>> replies;
  {
    DescriptorFill fill(open_now + 256);
    ASSERT_FALSE(server::descriptors_available(1));
    // Every count of free descriptors from none to enough for a session.
    for (size_t freed = 0; freed <= 24; freed += 2) {
      replies.emplace_back(freed, post("/api/signin", {{"company", "01"}, {"operator", "003"}, {"password", "kq01003"}}));
      fill.free(2);
    }
  }
  bool refused = false;
  for (const auto& [freed, r] : replies) {
    if (r.status == 200) continue;
    refused = true;
    EXPECT_EQ(r.status, 503) << freed << " free: " << r.raw;
    EXPECT_EQ(error_message(r), server::kOutOfDescriptors) << freed << " free: " << r.raw;
  }
  EXPECT_TRUE(refused) << "no sign-in was refused with no descriptor free";
  EXPECT_EQ(post("/api/signin", {{"company", "01"}, {"operator", "003"}, {"password", "kq01003"}}).status, 200);
}

TEST_F(ServerSessionLimits, ADatabaseThatCannotBeReadIsToldWithoutTheEnginesWords) {
  std::filesystem::create_directories(dir_ / "broken");
  db_path_ = (dir_ / "broken" / "shop.db").string();
  std::ofstream(db_path_) << std::string(4096, 'x');
  std::ofstream((dir_ / "broken" / "kq_club.db").string()) << std::string(4096, 'y');
  make_api();
  Reply r = post("/api/signin", {{"company", "01"}, {"operator", "001"}, {"password", "kq01001"}});
  EXPECT_EQ(r.status, 503) << r.raw;
  const std::string message = error_message(r);
  EXPECT_FALSE(message.empty()) << r.raw;
  EXPECT_EQ(std::count_if(message.begin(), message.end(), [](unsigned char c) { return std::isalpha(c); }), 0)
      << "technical words reach the person: " << message;
}

}  // namespace
}  // namespace kq::testing
