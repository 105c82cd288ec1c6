// The UI thread on its own: stops, parking, reads and shutdown.
#include <gtest/gtest.h>

#include <atomic>

#include "server/ui_thread.h"

namespace kq::server {
namespace {

using nlohmann::json;
using std::chrono::milliseconds;

constexpr milliseconds kLong{10000};

UiThread::AnswerCheck any_answer() {
  return [](const json&) -> std::optional<std::string> { return std::nullopt; };
}

TEST(UiThread, EventsRunOneAfterAnotherOnTheThread) {
  std::vector<std::thread::id> seen;
  UiThread t({});
  for (int i = 0; i < 3; ++i) {
    Stop s = t.start(
        [&]() -> std::optional<ApiError> {
          seen.push_back(std::this_thread::get_id());
          return std::nullopt;
        },
        kLong);
    EXPECT_EQ(s.kind, Stop::Kind::Finished);
    EXPECT_FALSE(s.error);
  }
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0], seen[1]);
  EXPECT_EQ(seen[1], seen[2]);
  EXPECT_NE(seen[0], std::this_thread::get_id());
}

TEST(UiThread, AskParksUntilAnsweredAndReturnsTheAnswer) {
  UiThread t({});
  json got;
  Stop s = t.start(
      [&]() -> std::optional<ApiError> {
        got = t.ask(json{{"kind", "messagebox"}}, any_answer()).value_or(json("none"));
        return std::nullopt;
      },
      kLong);
  ASSERT_EQ(s.kind, Stop::Kind::Dialog);
  const int id = s.body["dialog"]["id"];
  EXPECT_EQ(t.pending_dialog()["id"], id);
  Stop done = t.answer(id, json(42), kLong);
  EXPECT_EQ(done.kind, Stop::Kind::Finished);
  EXPECT_EQ(got, json(42));
}

TEST(UiThread, TheDescribeHookRunsOnTheThreadAtEveryStop) {
  std::atomic<int> described{0};
  UiThread::Hooks hooks;
  std::thread::id describe_thread;
  hooks.describe = [&] {
    describe_thread = std::this_thread::get_id();
    return json{{"windows", json::array({described++})}};
  };
  UiThread t(hooks);
  std::thread::id event_thread;
  Stop s = t.start(
      [&]() -> std::optional<ApiError> {
        event_thread = std::this_thread::get_id();
        t.ask(json::object(), any_answer());
        return std::nullopt;
      },
      kLong);
  EXPECT_EQ(s.body["windows"], json::array({0}));
  Stop done = t.answer(s.body["dialog"]["id"], 1, kLong);
  EXPECT_EQ(done.body["windows"], json::array({1}));
  EXPECT_EQ(describe_thread, event_thread);
}

TEST(UiThread, StoppingWhileParkedAnswersNothingAndRunsLeave) {
  std::optional<json> got = json("unset");
  std::atomic<bool> left{false};
  UiThread::Hooks hooks;
  hooks.leave = [&] { left = true; };
  {
    UiThread t(hooks);
    Stop s = t.start(
        [&]() -> std::optional<ApiError> {
          got = t.ask(json::object(), any_answer());
          return std::nullopt;
        },
        kLong);
    ASSERT_EQ(s.kind, Stop::Kind::Dialog);
    t.stop();
    EXPECT_TRUE(left);
    Stop after = t.start([]() -> std::optional<ApiError> { return std::nullopt; }, kLong);
    ASSERT_TRUE(after.error);
    EXPECT_EQ(after.error->status, 503);
  }
  EXPECT_FALSE(got.has_value());
}

TEST(UiThread, AReadTimesOutWhileAnEventRunsAndIsDroppedNotRunLater) {
  std::mutex m;
  std::condition_variable cv;
  bool release = false;
  std::atomic<int> reads{0};
  UiThread t({});
  Stop busy = t.start(
      [&]() -> std::optional<ApiError> {
        std::unique_lock lock(m);
        cv.wait(lock, [&] { return release; });
        return std::nullopt;
      },
      milliseconds(50));
  EXPECT_EQ(busy.kind, Stop::Kind::Busy);
  EXPECT_FALSE(t.read([&] { reads++; }, milliseconds(50)));
  {
    std::lock_guard lock(m);
    release = true;
  }
  cv.notify_all();
  Stop done = t.wait(kLong);
  EXPECT_EQ(done.kind, Stop::Kind::Finished);
  EXPECT_TRUE(t.read([&] { reads += 10; }, kLong));
  EXPECT_EQ(reads.load(), 10);
}

TEST(UiThread, StopsNobodyCarriedAreMergedIntoTheNextAnswer) {
  UiThread::Hooks hooks;
  int n = 0;  // each stop shows one more window
  hooks.describe = [&] { return json{{"windows", json::array({json{{"id", ++n}}})}, {"closed", json::array()}}; };
  UiThread t(hooks);
  std::mutex m;
  std::condition_variable cv;
  bool release = false;
  Stop busy = t.start(
      [&]() -> std::optional<ApiError> {
        t.show_progress(json{{"text", "first"}});
        std::unique_lock lock(m);
        cv.wait(lock, [&] { return release; });
        lock.unlock();
        t.show_progress(json{{"text", "second"}});  // nobody waits for this stop
        return std::nullopt;
      },
      kLong);
  EXPECT_EQ(busy.kind, Stop::Kind::Busy);
  EXPECT_EQ(busy.body["progress"]["text"], "first");
  EXPECT_EQ(busy.body["windows"], json::array({json{{"id", 1}}}));
  {
    std::lock_guard lock(m);
    release = true;
  }
  cv.notify_all();
  // A read runs only once the event has ended, so both later stops are published by now.
  ASSERT_TRUE(t.read([] {}, kLong));
  Stop done = t.wait(kLong);
  EXPECT_EQ(done.kind, Stop::Kind::Finished);
  EXPECT_EQ(done.body["windows"], json::array({json{{"id", 2}}, json{{"id", 3}}}));
  Stop nothing = t.wait(kLong);
  EXPECT_EQ(nothing.kind, Stop::Kind::Finished);
  EXPECT_FALSE(nothing.body.contains("windows"));
}

}  // namespace
}  // namespace kq::server
