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
  return in_use_;
}

int ReadScheduler::queued() const {
  std::lock_guard lock(mutex_);
  return static_cast<int>(urgent_.size() + ordinary_.size());
}

void ReadScheduler::acquire(bool urgent) {
  std::unique_lock lock(mutex_);
  // Nobody to pass: a free slot is taken at once.
  if (in_use_ < slots_ && urgent_.empty() && (urgent || ordinary_.empty())) {
    ++in_use_;
    return;
  }
  Waiter w;
  w.urgent = urgent;
  enqueue_locked(w);
  wait_locked(lock, w);
}

void ReadScheduler::release() {
  std::lock_guard lock(mutex_);
  --in_use_;
  grant_locked();
}

bool ReadScheduler::make_way(bool urgent, bool turn_over) {
  std::unique_lock lock(mutex_);
  const bool yield = urgent ? turn_over && !urgent_.empty() : !urgent_.empty() || (turn_over && !ordinary_.empty());
  if (!yield) return false;
  Waiter w;
  w.urgent = urgent;
  enqueue_locked(w);  // behind those already waiting
  --in_use_;
  grant_locked();
  wait_locked(lock, w);
  return true;
}

void ReadScheduler::enqueue_locked(Waiter& w) {
  (w.urgent ? urgent_ : ordinary_).push_back(&w);
  waiting_.fetch_add(1, std::memory_order_relaxed);
  if (w.urgent) urgent_waiting_.fetch_add(1, std::memory_order_relaxed);
}

void ReadScheduler::grant_locked() {
  while (in_use_ < slots_) {
    std::deque<Waiter*>& queue = !urgent_.empty() ? urgent_ : ordinary_;
    if (queue.empty()) return;
    Waiter* w = queue.front();
    queue.pop_front();
    waiting_.fetch_sub(1, std::memory_order_relaxed);
    if (w->urgent) urgent_waiting_.fetch_sub(1, std::memory_order_relaxed);
    ++in_use_;
    w->granted = true;
    // Notified under the lock: the waiter lives on its own stack and may
    // leave as soon as it sees `granted`.
    w->cv.notify_one();
  }
}

void ReadScheduler::wait_locked(std::unique_lock<std::mutex>& lock, Waiter& w) {
  w.cv.wait(lock, [&] { return w.granted; });
}

UrgentReads::UrgentReads() { ++urgent_depth; }
UrgentReads::~UrgentReads() { --urgent_depth; }
bool UrgentReads::active() { return urgent_depth > 0; }

}  // namespace kq::db
