// Password guessing at sign-in: the limiter on its own (a clock the tests
// move) and the sign-in requests it guards.
#include <atomic>
#include <thread>
#include <vector>

#include "server/sign_in_limiter.h"
#include "server_harness.h"

namespace kq::testing {
namespace {

using nlohmann::json;
using server::SignInLimiter;
using namespace std::chrono_literals;

class Limiter : public ::testing::Test {
 protected:
  SignInLimiter::Clock::time_point now_ = SignInLimiter::Clock::now();
  SignInLimiter limiter_{SignInLimiter::Policy{3, 5, 600s}, [this] { return now_; }};

  // Ends one attempt as told; false when the limiter refused to start it.
  bool attempt(const std::string& op, const std::string& address, bool right) {
    auto a = limiter_.begin("01", op, address);
    if (!a) return false;
    if (right) a->succeeded();
    else a->failed();
    return true;
  }
};

TEST_F(Limiter, AnOperatorIsRefusedAfterItsFailuresUntilTheCoolingOffEnds) {
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(attempt("001", "a", false)) << i;
  auto refused = limiter_.begin("01", "001", "a");
  ASSERT_FALSE(refused);
  EXPECT_EQ(refused.error().status, 429);
  EXPECT_EQ(refused.error().message, "该操作员登录失败次数过多，请 10 分钟后再试");
  EXPECT_FALSE(attempt("001", "other address", true)) << "the operator is locked from everywhere";
  EXPECT_EQ(limiter_.wait_seconds("01", "001", "a"), 600);

  now_ += 599s;
  EXPECT_FALSE(limiter_.begin("01", "001", "a"));
  now_ += 1s;
  EXPECT_TRUE(attempt("001", "a", true));
}

TEST_F(Limiter, RefusedAttemptsDoNotProlongTheLock) {
  for (int i = 0; i < 3; ++i) attempt("001", "a", false);
  now_ += 300s;
  EXPECT_FALSE(limiter_.begin("01", "001", "a"));
  auto later = limiter_.begin("01", "001", "a");
  ASSERT_FALSE(later);
  EXPECT_EQ(later.error().message, "该操作员登录失败次数过多，请 5 分钟后再试");
  now_ += 300s;
  EXPECT_TRUE(attempt("001", "a", false));
}

TEST_F(Limiter, ASuccessForgetsTheOperatorsFailures) {
  attempt("001", "a", false);
  attempt("001", "a", false);
  EXPECT_TRUE(attempt("001", "a", true));
  EXPECT_TRUE(attempt("001", "a", false));
  EXPECT_TRUE(attempt("001", "a", false));
  EXPECT_TRUE(attempt("001", "a", false));
  EXPECT_FALSE(limiter_.begin("01", "001", "a"));
}

TEST_F(Limiter, CompanyAndOperatorAreOneKeyComparedTrimmed) {
  for (int i = 0; i < 3; ++i) attempt("001", "a", false);
  EXPECT_FALSE(limiter_.begin(" 01 ", "001 ", "b"));
  EXPECT_TRUE(limiter_.begin("02", "001", "b")) << "the same code of another company is another operator";
  EXPECT_TRUE(limiter_.begin("01", "002", "b"));
}

TEST_F(Limiter, OneAddressIsCappedOverAllOperatorsAndASuccessDoesNotLiftIt) {
  for (const char* op : {"001", "002", "003", "004"}) EXPECT_TRUE(attempt(op, "a", false)) << op;
  EXPECT_TRUE(attempt("005", "a", true));
  EXPECT_TRUE(attempt("006", "a", false));  // the fifth failure from "a"
  auto refused = limiter_.begin("01", "007", "a");
  ASSERT_FALSE(refused);
  EXPECT_EQ(refused.error().message, "本机登录失败次数过多，请 10 分钟后再试");
  EXPECT_TRUE(attempt("007", "b", true)) << "other addresses go on";
  now_ += 600s;
  EXPECT_TRUE(attempt("007", "a", true));
}

TEST_F(Limiter, AttemptsStillBeingCheckedCountAsFailures) {
  std::vector<SignInLimiter::Attempt> running;
  for (int i = 0; i < 3; ++i) {
    auto a = limiter_.begin("01", "001", "a");
    ASSERT_TRUE(a) << i;
    running.push_back(std::move(*a));
  }
  EXPECT_FALSE(limiter_.begin("01", "001", "a")) << "a burst of requests cannot pass the limit";
  running[0].succeeded();
  running[1].not_counted();
  EXPECT_TRUE(limiter_.begin("01", "001", "a")) << "a success cleared the failures";
}

TEST_F(Limiter, AnAttemptLeftWithoutAnOutcomeCountsAsFailed) {
  for (int i = 0; i < 3; ++i) {
    auto a = limiter_.begin("01", "001", "a");
    ASSERT_TRUE(a);
  }
  EXPECT_FALSE(limiter_.begin("01", "001", "a"));
}

TEST_F(Limiter, ManyThreadsNeverGetMoreAttemptsThanTheLimit) {
  std::atomic<int> started{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 8; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < 20; ++i) {
        auto a = limiter_.begin("01", "001", "addr" + std::to_string(i));
        if (!a) continue;
        ++started;
        a->failed();
      }
    });
  }
  for (auto& t : threads) t.join();
  EXPECT_EQ(started.load(), 3);
}

// Through the sign-in requests.
class ServerSignInLimits : public ServerTest {
 protected:
  Reply try_sign_in(const std::string& op, const std::string& password, const std::string& address = "10.0.0.7") {
    return call("POST", "/api/signin", json{{"company", "01"}, {"operator", op}, {"password", password}}.dump(), "",
                {}, address);
  }
};

TEST_F(ServerSignInLimits, FiveWrongPasswordsLockTheOperatorEvenForTheRightOne) {
  for (int i = 0; i < 5; ++i) EXPECT_EQ(try_sign_in("002", "guess" + std::to_string(i)).status, 401) << i;
  Reply locked = try_sign_in("002", "kq01002");
  EXPECT_EQ(locked.status, 429) << locked.raw;
  EXPECT_EQ(error_message(locked), "该操作员登录失败次数过多，请 10 分钟后再试");
  EXPECT_EQ(locked.body["error"]["status"], 429);
  bool retry_after = false;
  for (const auto& [name, value] : locked.headers) retry_after = retry_after || (name == "Retry-After" && value == "600");
  EXPECT_TRUE(retry_after) << "Retry-After: 600";
  EXPECT_EQ(sessions_->size(), 0u);

  EXPECT_EQ(try_sign_in("001", "kq01001").status, 200) << "other operators sign in";
  now_ += std::chrono::minutes(10);
  EXPECT_EQ(try_sign_in("002", "kq01002").status, 200);
}

TEST_F(ServerSignInLimits, ASuccessfulSignInClearsTheCount) {
  for (int i = 0; i < 4; ++i) try_sign_in("003", "wrong");
  EXPECT_EQ(try_sign_in("003", "kq01003").status, 200);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(try_sign_in("003", "wrong").status, 401) << i;
  EXPECT_EQ(try_sign_in("003", "kq01003").status, 200);
}

TEST_F(ServerSignInLimits, UnknownOperatorsAndCompaniesCountForTheAddress) {
  for (int i = 0; i < 20; ++i) {
    Reply r = call("POST", "/api/signin",
                   json{{"company", i % 2 ? "01" : "77"}, {"operator", std::to_string(100 + i)}, {"password", "x"}}.dump(),
                   "", {}, "10.0.0.9");
    EXPECT_EQ(r.status, 401) << i;
  }
  Reply capped = try_sign_in("001", "kq01001", "10.0.0.9");
  EXPECT_EQ(capped.status, 429);
  EXPECT_EQ(error_message(capped), "本机登录失败次数过多，请 10 分钟后再试");
  EXPECT_EQ(try_sign_in("001", "kq01001", "10.0.0.10").status, 200);
}

TEST_F(ServerSignInLimits, BadRequestsAndAStoppedOperatorDoNotCount) {
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(call("POST", "/api/signin", R"({"company":"01","operator":"004","password":""})").status, 400);
    EXPECT_EQ(try_sign_in("009", "kq01009").status, 403);
  }
  EXPECT_EQ(try_sign_in("004", "kq01004").status, 200);
}

}  // namespace
}  // namespace kq::testing
