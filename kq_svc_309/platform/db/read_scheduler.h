#pragma once
// The process-wide turn-taking of long retrievals. Stepping the rows of a
// long list is pure processor work; with more workstations retrieving than
// the machine has processors, every retrieval (and the refresh a cashier's
// save waits for) would get only its share of them. The scheduler hands out
// a fixed number of slots (the processors by default); a retrieval steps its
// rows only while it holds one (see ReadPacer, which takes and gives back the
// slot in short turns).
//
// Waiters are served urgent first (the work of a save, marked by an
// UrgentReads scope on the thread), then in order of arrival. Writes and
// single statements are never held up: only a retrieval loop asks for a slot.
#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>

namespace kq::db {

class ReadScheduler {
 public:
  // The scheduler of the process, with as many slots as processors.
  static ReadScheduler& instance();

  explicit ReadScheduler(int slots);
  ReadScheduler(const ReadScheduler&) = delete;
  ReadScheduler& operator=(const ReadScheduler&) = delete;

  // Changes the number of slots (at least 1); waiters are granted at once
  // when slots were added. Holders beyond a lowered number finish their turn.
  void set_slots(int slots);
  int slots() const;

  // Blocks until the caller holds a slot. Urgent callers go before every
  // ordinary waiter; among themselves waiters are served in arrival order.
  // While an urgent holder steps its rows, ordinary ones leave one slot
  // free besides it (the rest of the save, the processor it runs on): with
  // two slots, ordinary retrievals pause for the time of a save's refresh.
  void acquire(bool urgent);
  // Gives back a slot held as `urgent` (to the first waiter, if any).
  void release(bool urgent);
  // For a holder between two turns: when it must make way, gives the slot
  // to the waiter first in line and waits for its own next turn at the end
  // of its queue; otherwise keeps the slot. True when it made way.
  // - An ordinary holder makes way at once for an urgent waiter or when
  //   ordinary holders exceed what urgent work leaves them, and for an
  //   ordinary waiter when `turn_over` (its turn has lasted long enough).
  // - An urgent holder makes way only for an urgent waiter, when `turn_over`.
  bool make_way(bool urgent, bool turn_over);

  // Cheap checks for the holder's loop (one relaxed load, no lock).
  // Somebody waits for a slot:
  bool anyone_waiting() const { return (signals_.load(std::memory_order_relaxed) & kSomeoneWaits) != 0; }
  // An ordinary holder has to make way now:
  bool ordinary_must_yield() const { return (signals_.load(std::memory_order_relaxed) & kOrdinaryYields) != 0; }
  bool anything_to_do() const { return signals_.load(std::memory_order_relaxed) != 0; }

  // Observation (tests, diagnostics).
  int in_use() const;
  int queued() const;

 private:
  static constexpr int kSomeoneWaits = 1;
  static constexpr int kOrdinaryYields = 2;
  struct Waiter {
    bool urgent = false;
    bool granted = false;
    std::condition_variable cv;
  };
  // Slots ordinary holders may fill (counting urgent holders) at the moment.
  int ordinary_limit_locked() const;
  bool may_grant_locked(bool urgent) const;
  void take_locked(bool urgent);
  void give_back_locked(bool urgent);
  void enqueue_locked(Waiter& w);
  void grant_locked();
  void wait_locked(std::unique_lock<std::mutex>& lock, Waiter& w);
  void update_signals_locked();

  mutable std::mutex mutex_;
  int slots_;
  int urgent_in_use_ = 0;
  int ordinary_in_use_ = 0;
  std::deque<Waiter*> urgent_;
  std::deque<Waiter*> ordinary_;
  std::atomic<int> signals_{0};
};

// Marks the work of this thread as urgent while it lives: the retrievals the
// thread starts meanwhile go before ordinary ones. Scopes nest.
class UrgentReads {
 public:
  UrgentReads();
  ~UrgentReads();
  UrgentReads(const UrgentReads&) = delete;
  UrgentReads& operator=(const UrgentReads&) = delete;
  // True inside a scope on this thread.
  static bool active();
};

}  // namespace kq::db
