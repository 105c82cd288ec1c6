#pragma once
// How long a connection waits for a lock another connection holds: up to
// the busy timeout in all for one action of the person, not once per
// statement. An action that meets a held lock runs several statements
// (reads, the writes of its unit of work); once one of them gave up after
// the full wait, those that follow within kSameAction try the lock once and
// fail at once instead of waiting the whole timeout again, so that a save
// reports the lock after the documented wait rather than a multiple of it.
// A statement that got its lock starts the count afresh.
#include <chrono>
#include <optional>

struct sqlite3;

namespace kq::db {

class LockWait {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr std::chrono::seconds kSameAction{2};

  explicit LockWait(std::chrono::milliseconds timeout) : timeout_(timeout) {}

  // Makes this the busy handler of `db` (replacing a busy timeout). The
  // LockWait must outlive the handle or be removed with remove_from().
  void install(sqlite3* db);
  static void remove_from(sqlite3* db);

  // The busy handler: true to try again after a pause, false to give up.
  // `attempt` counts the tries of one lock, from 0.
  bool on_busy(int attempt);

 private:
  std::chrono::milliseconds timeout_;
  std::optional<Clock::time_point> waiting_since_;  // the wait of the current statement began
  std::optional<Clock::time_point> gave_up_at_;     // the last statement that gave up
};

}  // namespace kq::db
