// The turn-taking of long retrievals. No timing is asserted: the waits only
// guard against a hang.
#include <gtest/gtest.h>

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
#include "platform/db/sqlite_lock_wait.h"

namespace kq::db {
namespace {

bool eventually(const std::function<bool()>& done) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (!done() && std::chrono::steady_clock::now() < until) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  return done();
}

TEST(ReadScheduler, ServesUrgentFirstNeverExceedsItsSlotsAndAlwaysGetsTheSlotBack) {
  ReadScheduler s(1);
  std::mutex m;
  std::string order;
  std::vector<std::thread> threads;
  auto waiter = [&](const std::string& name, bool urgent) {
    const int before = s.queued();
    threads.emplace_back([&, name, urgent] {
      s.acquire(urgent);
      std::lock_guard lock(m);
      order += name + " ";
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
  EXPECT_TRUE(s.ordinary_must_yield());
  EXPECT_TRUE(s.make_way(false, false)) << "the ordinary holder makes way for urgent work at once";
  s.release(false);
  for (auto& t : threads) t.join();
  EXPECT_EQ(order, "urgent1 urgent2 ordinary1 ordinary2 ");

  // An urgent holder keeps its slot for ordinary waiters; beside it, ordinary
  // work leaves a slot free: a holder makes way, a newcomer waits.
  threads.clear();
  order.clear();
  s.set_slots(2);
  s.acquire(false);
  s.acquire(true);
  waiter("newcomer", false);
  EXPECT_FALSE(s.make_way(true, true));
  EXPECT_TRUE(s.ordinary_must_yield()) << "two slots, one urgent holder: no room for an ordinary one";
  threads.emplace_back([&] { EXPECT_TRUE(s.make_way(false, false)); s.release(false); });
  ASSERT_TRUE(eventually([&] { return s.queued() == 2 && s.in_use() == 1; })) << "the ordinary holder kept its slot";
  EXPECT_EQ(order, "") << "ordinary work ran beside urgent work";
  s.release(true);
  for (auto& t : threads) t.join();
  EXPECT_EQ(order, "newcomer ");
  EXPECT_EQ(s.in_use(), 0);

  // Many paced retrievals, some urgent: beyond their free rows they step only
  // in a slot, never more than two at once, and every one reaches its end.
  std::atomic<int> most{0}, finished{0}, unslotted{0};
  threads.clear();
  for (int i = 0; i < 8; ++i)
    threads.emplace_back([&, urgent = i % 3 == 0] {
      std::optional<UrgentReads> scope;
      if (urgent) scope.emplace();
      ReadPacer pacer(s);
      for (int64_t row = 1; row <= 20 * ReadPacer::kFreeRows; ++row) {
        pacer.row();
        if (row > ReadPacer::kFreeRows && !pacer.holding()) ++unslotted;
        for (int used = s.in_use(), seen = most; used > seen && !most.compare_exchange_weak(seen, used);) {
        }
      }
      ++finished;
    });
  for (auto& t : threads) t.join();
  EXPECT_EQ(finished, 8);
  EXPECT_EQ(unslotted, 0);
  EXPECT_LE(most, 2);
  EXPECT_EQ(s.in_use(), 0) << "the pacers gave their slots back";

  // A retrieval that throws, or that waits for a database lock, holds no slot.
  try {
    ReadPacer pacer(s);
    for (int64_t row = 0; row <= ReadPacer::kFreeRows; ++row) pacer.row();
    EXPECT_EQ(s.in_use(), 1);
    throw std::runtime_error("the retrieval failed");
  } catch (const std::runtime_error&) {
  }
  EXPECT_EQ(s.in_use(), 0) << "a retrieval that threw kept its slot";
  ReadPacer pacer(s);
  for (int64_t row = 0; row <= ReadPacer::kFreeRows; ++row) pacer.row();
  EXPECT_TRUE(LockWait(std::chrono::milliseconds(50)).on_busy(0));
  EXPECT_EQ(s.in_use(), 0) << "a retrieval kept its slot while waiting for a lock";
  pacer.row();
  EXPECT_TRUE(pacer.holding()) << "the next row takes the slot again";
}

}  // namespace
}  // namespace kq::db
