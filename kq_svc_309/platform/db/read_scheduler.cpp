#include "platform/db/read_scheduler.h"

#include <algorithm>
#include <thread>

namespace kq::db {
namespace {

thread_local int urgent_depth = 0;

int processors() { return std::max(1, static_cast<int>(std::thread::hardware_concurrency())); }

}  // namespace

ReadScheduler& ReadScheduler::instance() {
  static ReadScheduler scheduler(processors());
  return scheduler;
}

ReadScheduler::ReadScheduler(int slots) : slots_(std::max(1, slots)) {}

void ReadScheduler::set_slots(int slots) {
  std::lock_guard lock(mutex_);
  slots_ = std::max(1, slots);
  grant_locked();
}

int ReadScheduler::slots() const {
  std::lock_guard lock(mutex_);
  return slots_;
}

int ReadScheduler::in_use() const {
  std::lock_guard lock(mutex_);
  return urgent_in_use_ + ordinary_in_use_;
}

int ReadScheduler::queued() const {
  std::lock_guard lock(mutex_);
  return static_cast<int>(urgent_.size() + ordinary_.size());
}

void ReadScheduler::acquire(bool urgent) {
  std::unique_lock lock(mutex_);
  // Nobody to pass: a free slot is taken at once.
  if (urgent_.empty() && (urgent || ordinary_.empty()) && may_grant_locked(urgent)) {
    take_locked(urgent);
    return;
  }
  Waiter w;
  w.urgent = urgent;
  enqueue_locked(w);
  wait_locked(lock, w);
}

void ReadScheduler::release(bool urgent) {
  std::lock_guard lock(mutex_);
  give_back_locked(urgent);
  grant_locked();
}

bool ReadScheduler::make_way(bool urgent, bool turn_over) {
  std::unique_lock lock(mutex_);
  const bool yield = urgent ? turn_over && !urgent_.empty()
                            : !urgent_.empty() || urgent_in_use_ + ordinary_in_use_ > ordinary_limit_locked() ||
                                  (turn_over && !ordinary_.empty());
  if (!yield) return false;
  Waiter w;
  w.urgent = urgent;
  enqueue_locked(w);  // behind those already waiting
  give_back_locked(urgent);
  grant_locked();
  wait_locked(lock, w);
  return true;
}

int ReadScheduler::ordinary_limit_locked() const { return urgent_in_use_ > 0 ? slots_ - 1 : slots_; }

bool ReadScheduler::may_grant_locked(bool urgent) const {
  const int used = urgent_in_use_ + ordinary_in_use_;
  return used < (urgent ? slots_ : ordinary_limit_locked());
}

void ReadScheduler::take_locked(bool urgent) {
  ++(urgent ? urgent_in_use_ : ordinary_in_use_);
  update_signals_locked();
}

void ReadScheduler::give_back_locked(bool urgent) {
  --(urgent ? urgent_in_use_ : ordinary_in_use_);
  update_signals_locked();
}

void ReadScheduler::enqueue_locked(Waiter& w) {
  (w.urgent ? urgent_ : ordinary_).push_back(&w);
  update_signals_locked();
}

void ReadScheduler::grant_locked() {
  for (;;) {
    std::deque<Waiter*>& queue = !urgent_.empty() ? urgent_ : ordinary_;
    if (queue.empty() || !may_grant_locked(&queue == &urgent_)) break;
    Waiter* w = queue.front();
    queue.pop_front();
    take_locked(w->urgent);
    w->granted = true;
    // Notified under the lock: the waiter lives on its own stack and may
    // leave as soon as it sees `granted`.
    w->cv.notify_one();
  }
  update_signals_locked();
}

void ReadScheduler::wait_locked(std::unique_lock<std::mutex>& lock, Waiter& w) {
  w.cv.wait(lock, [&] { return w.granted; });
}

void ReadScheduler::update_signals_locked() {
  int signals = 0;
  if (!urgent_.empty() || !ordinary_.empty()) signals |= kSomeoneWaits;
  if (ordinary_in_use_ > 0 &&
      (!urgent_.empty() || urgent_in_use_ + ordinary_in_use_ > ordinary_limit_locked()))
    signals |= kOrdinaryYields;
  signals_.store(signals, std::memory_order_relaxed);
}

UrgentReads::UrgentReads() { ++urgent_depth; }
UrgentReads::~UrgentReads() { --urgent_depth; }
bool UrgentReads::active() { return urgent_depth > 0; }

}  // namespace kq::db
