// The turn-taking of long retrievals: who gets a slot first, that the slots
// are never exceeded, and that a slot always comes back. No timing is
// asserted: the waits below only guard against a hang.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "platform/db/read_pacer.h"
#include "platform/db/read_scheduler.h"
#include "platform/db/sqlite_lock_wait.h"

namespace kq::db {
namespace {

// Polls `done` until it holds; false after half a minute (a hang, not a slowness).
bool eventually(const std::function<bool()>& done) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (!done()) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

// The names of the threads in the order they got their slot.
struct GrantOrder {
  std::mutex m;
  std::vector<std::string> names;
  void add(const std::string& name) {
    std::lock_guard lock(m);
    names.push_back(name);
  }
  std::string text() {
    std::lock_guard lock(m);
    std::string s;
    for (const auto& n : names) s += (s.empty() ? "" : " ") + n;
    return s;
  }
};

TEST(ReadScheduler, ServesUrgentWaitersFirstThenInArrivalOrderAndMakesWayOnlyForThoseItMust) {
  ReadScheduler s(1);
  GrantOrder order;
  std::vector<std::thread> threads;
  auto waiter = [&](std::string name, bool urgent) {
    const int before = s.queued();
    threads.emplace_back([&s, &order, name, urgent] {
      s.acquire(urgent);
      order.add(name);
      s.release(urgent);
    });
    ASSERT_TRUE(eventually([&] { return s.queued() == before + 1; })) << name << " never queued";
  };

  s.acquire(false);  // a long ordinary retrieval holds the only slot
  waiter("ordinary1", false);
  waiter("ordinary2", false);
  EXPECT_FALSE(s.make_way(false, false)) << "an ordinary turn not yet over keeps its slot for ordinary waiters";
  waiter("urgent1", true);
  waiter("urgent2", true);
  EXPECT_TRUE(s.ordinary_must_yield()) << "urgent work waits for the ordinary holder";
  EXPECT_EQ(s.in_use(), 1);

  // The ordinary holder makes way for the urgent waiters at once, and comes
  // back after them and after the ordinary ones that were waiting before it.
  EXPECT_TRUE(s.make_way(false, false));
  order.add("holder");
  s.release(false);
  for (auto& t : threads) t.join();
  EXPECT_EQ(order.text(), "urgent1 urgent2 ordinary1 ordinary2 holder");
  EXPECT_EQ(s.in_use(), 0);
  EXPECT_EQ(s.queued(), 0);
  EXPECT_FALSE(s.anyone_waiting());

  // An urgent holder keeps its slot while only ordinary work waits, and
  // passes it to another urgent waiter once its turn is over.
  threads.clear();
  order.names.clear();
  s.acquire(true);
  waiter("ordinary", false);
  EXPECT_FALSE(s.make_way(true, true));
  waiter("urgent", true);
  EXPECT_FALSE(s.make_way(true, false)) << "the urgent holder's turn is not over";
  EXPECT_TRUE(s.make_way(true, true));
  order.add("holder");
  s.release(true);
  for (auto& t : threads) t.join();
  EXPECT_EQ(order.text(), "urgent holder ordinary");

  // Added slots are granted to those waiting at once.
  threads.clear();
  order.names.clear();
  s.acquire(false);
  waiter("waiting", false);
  s.set_slots(2);
  ASSERT_TRUE(eventually([&] { return s.queued() == 0; }));
  threads[0].join();
  s.release(false);
  EXPECT_EQ(order.text(), "waiting");
  EXPECT_EQ(s.in_use(), 0);

  // While urgent work steps its rows, ordinary work leaves a slot free
  // besides it: an ordinary holder makes way, an ordinary newcomer waits
  // although a slot is free, and both go on once the urgent work is done.
  threads.clear();
  order.names.clear();
  s.acquire(false);
  EXPECT_FALSE(s.ordinary_must_yield());
  s.acquire(true);
  EXPECT_TRUE(s.ordinary_must_yield()) << "two slots, one urgent holder: no room for an ordinary one";
  waiter("newcomer", false);
  EXPECT_EQ(s.in_use(), 2);
  std::thread holder([&] {
    EXPECT_TRUE(s.make_way(false, false));
    order.add("holder");
    s.release(false);
  });
  ASSERT_TRUE(eventually([&] { return s.queued() == 2; })) << "the ordinary holder never made way";
  EXPECT_EQ(s.in_use(), 1);
  EXPECT_FALSE(s.ordinary_must_yield());
  EXPECT_EQ(order.text(), "") << "ordinary work ran beside urgent work";
  s.release(true);
  holder.join();
  for (auto& t : threads) t.join();
  std::sort(order.names.begin(), order.names.end());  // both slots are free again: granted together
  EXPECT_EQ(order.text(), "holder newcomer");
  EXPECT_EQ(s.in_use(), 0);
  EXPECT_EQ(s.queued(), 0);
}

TEST(ReadPacer, RetrievalsBeyondTheirFreeRowsStepOnlyInASlotAndAlwaysGiveItBack) {
  constexpr int kSlots = 2;
  ReadScheduler s(kSlots);
  constexpr int64_t kRows = 20 * ReadPacer::kFreeRows;
  std::atomic<int> most_in_use{0};
  std::atomic<int64_t> stepped_without_slot{0};
  std::atomic<int> finished{0};
  std::vector<std::thread> threads;
  for (int i = 0; i < 8; ++i)
    threads.emplace_back([&, urgent = i % 3 == 0] {
      std::optional<UrgentReads> scope;
      if (urgent) scope.emplace();
      ReadPacer pacer(s);
      EXPECT_EQ(pacer.urgent(), urgent);
      for (int64_t row = 1; row <= kRows; ++row) {
        pacer.row();
        if (row > ReadPacer::kFreeRows && !pacer.holding()) ++stepped_without_slot;
        const int used = s.in_use();
        int seen = most_in_use.load();
        while (used > seen && !most_in_use.compare_exchange_weak(seen, used)) {
        }
      }
      ++finished;
    });
  for (auto& t : threads) t.join();
  EXPECT_EQ(finished, 8) << "every retrieval, ordinary or urgent, reaches its end";
  EXPECT_LE(most_in_use, kSlots);
  EXPECT_GE(most_in_use, 1);
  EXPECT_EQ(stepped_without_slot, 0) << "rows beyond the free ones were stepped without a slot";
  EXPECT_EQ(s.in_use(), 0) << "the pacers gave their slots back";
  EXPECT_EQ(s.queued(), 0);

  // A short retrieval never asks for a slot: it runs while every slot is taken.
  s.acquire(false);
  s.acquire(false);
  {
    ReadPacer pacer(s);
    for (int64_t row = 0; row < ReadPacer::kFreeRows; ++row) pacer.row();
    EXPECT_FALSE(pacer.holding());
  }
  s.release(false);
  s.release(false);

  // A retrieval that throws, or that waits for a database lock, holds no slot.
  try {
    ReadPacer pacer(s);
    for (int64_t row = 0; row <= ReadPacer::kFreeRows; ++row) pacer.row();
    EXPECT_TRUE(pacer.holding());
    EXPECT_EQ(s.in_use(), 1);
    throw std::runtime_error("the retrieval failed");
  } catch (const std::runtime_error&) {
  }
  EXPECT_EQ(s.in_use(), 0) << "a retrieval that threw kept its slot";

  ReadPacer pacer(s);
  for (int64_t row = 0; row <= ReadPacer::kFreeRows; ++row) pacer.row();
  ASSERT_TRUE(pacer.holding());
  LockWait lock_wait(std::chrono::milliseconds(50));
  EXPECT_TRUE(lock_wait.on_busy(0)) << "the lock is waited for";
  EXPECT_FALSE(pacer.holding()) << "a retrieval kept its slot while waiting for a lock";
  EXPECT_EQ(s.in_use(), 0);
  pacer.row();
  EXPECT_TRUE(pacer.holding()) << "the next row takes the slot again";
}

}  // namespace
}  // namespace kq::db
