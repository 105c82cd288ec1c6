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
  void acquire(bool urgent);
  // Gives a held slot back (to the first waiter, if any).
  void release();
  // For a holder between two turns: when a waiter it must make way for is
  // queued, gives the slot to it and waits for its own next turn at the end
  // of its queue; otherwise keeps the slot. An urgent holder makes way only
  // for urgent waiters and only when `turn_over` (its turn has lasted long
  // enough); an ordinary holder makes way for an urgent waiter at once, and
  // for an ordinary one when `turn_over`. True when it made way.
  bool make_way(bool urgent, bool turn_over);

  // Cheap checks for the holder's loop (no lock): somebody waits.
  bool anyone_waiting() const { return waiting_.load(std::memory_order_relaxed) != 0; }
  bool urgent_waiting() const { return urgent_waiting_.load(std::memory_order_relaxed) != 0; }

  // Observation (tests, diagnostics).
  int in_use() const;
  int queued() const;

 private:
  struct Waiter {
    bool urgent = false;
    bool granted = false;
    std::condition_variable cv;
  };
  void enqueue_locked(Waiter& w);
  void grant_locked();
  void wait_locked(std::unique_lock<std::mutex>& lock, Waiter& w);

  mutable std::mutex mutex_;
  int slots_;
  int in_use_ = 0;
  std::deque<Waiter*> urgent_;
  std::deque<Waiter*> ordinary_;
  std::atomic<int> waiting_{0};
  std::atomic<int> urgent_waiting_{0};
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
