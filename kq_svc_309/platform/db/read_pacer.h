#pragma once
// The pacing of one retrieval loop by the process's ReadScheduler:
//
//   db::ReadPacer pacer;
//   while (cursor->next()) {
//     pacer.row();
//     ...convert and keep the row...
//   }
//
// The first kFreeRows rows are stepped without a slot (a short list never
// waits). Beyond them the loop holds a slot; every kCheckRows rows it looks
// (one relaxed atomic load) whether anything is asked of it, and only then
// makes way as ReadScheduler::make_way says: an ordinary retrieval at once
// for urgent work, otherwise after a turn of kTurn. The destructor gives
// the slot back, so a retrieval that fails, is cancelled or throws never
// keeps it. While the thread waits for a database lock (the busy handler
// calls step_aside_current) it holds no slot. Pacers do not nest: a loop
// holding a slot never starts another retrieval.
#include <chrono>
#include <cstdint>

#include "platform/db/read_scheduler.h"

namespace kq::db {

class ReadPacer {
 public:
  static constexpr int64_t kFreeRows = 1024;
  static constexpr int64_t kCheckRows = 256;
  static constexpr std::chrono::milliseconds kTurn{10};

  // Urgent when the thread is inside an UrgentReads scope now.
  explicit ReadPacer(ReadScheduler& scheduler = ReadScheduler::instance());
  ~ReadPacer();
  ReadPacer(const ReadPacer&) = delete;
  ReadPacer& operator=(const ReadPacer&) = delete;

  // Called once per row before the row is stepped or converted; may block
  // until the retrieval's turn.
  void row() {
    if (++rows_ >= next_check_) pace();
  }
  // Gives the slot back until the next row asks for it again.
  void step_aside();
  // step_aside() of the innermost pacer alive on this thread, if any.
  static void step_aside_current();

  bool urgent() const { return urgent_; }
  bool holding() const { return holding_; }

 private:
  using Clock = std::chrono::steady_clock;
  void pace();

  ReadScheduler& scheduler_;
  const bool urgent_;
  bool holding_ = false;
  int64_t rows_ = 0;
  int64_t next_check_ = kFreeRows + 1;
  Clock::time_point turn_began_;
  ReadPacer* outer_;  // the pacer this one nests in on the thread
};

}  // namespace kq::db
