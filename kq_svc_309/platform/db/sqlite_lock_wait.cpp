#include "platform/db/sqlite_lock_wait.h"

#include <sqlite3.h>

#include <algorithm>
#include <thread>

#include "platform/db/read_pacer.h"

namespace kq::db {

namespace {

int busy_callback(void* self, int attempt) { return static_cast<LockWait*>(self)->on_busy(attempt) ? 1 : 0; }

// Pauses between tries: short at first, then a tenth of a second.
std::chrono::milliseconds pause_before(int attempt) {
  static constexpr int kPausesMs[] = {1, 2, 5, 10, 15, 20, 25, 25, 25, 50, 50};
  constexpr int n = sizeof kPausesMs / sizeof kPausesMs[0];
  return std::chrono::milliseconds(attempt < n ? kPausesMs[attempt] : 100);
}

}  // namespace

void LockWait::install(sqlite3* db) { sqlite3_busy_handler(db, busy_callback, this); }

void LockWait::remove_from(sqlite3* db) { sqlite3_busy_handler(db, nullptr, nullptr); }

bool LockWait::on_busy(int attempt) {
  const Clock::time_point now = Clock::now();
  if (attempt == 0) {
    // A new wait: the statement before either got its lock (a fresh count)
    // or gave up moments ago (the same action: no second wait).
    if (gave_up_at_ && now - *gave_up_at_ < kSameAction) {
      gave_up_at_ = now;
      return false;
    }
    gave_up_at_.reset();
    waiting_since_ = now;
  }
  if (!waiting_since_) waiting_since_ = now;
  const auto waited = now - *waiting_since_;
  if (waited >= timeout_) {
    gave_up_at_ = now;
    waiting_since_.reset();
    return false;
  }
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(timeout_ - waited);
  // A retrieval of this thread does not keep its turn while it waits.
  ReadPacer::step_aside_current();
  std::this_thread::sleep_for(std::min(pause_before(attempt), std::max(left, std::chrono::milliseconds(1))));
  return true;
}

}  // namespace kq::db
