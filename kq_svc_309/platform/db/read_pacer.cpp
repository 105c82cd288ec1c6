#include "platform/db/read_pacer.h"

namespace kq::db {
namespace {

thread_local ReadPacer* current_pacer = nullptr;

}  // namespace

ReadPacer::ReadPacer(ReadScheduler& scheduler)
    : scheduler_(scheduler), urgent_(UrgentReads::active()), outer_(current_pacer) {
  current_pacer = this;
}

ReadPacer::~ReadPacer() {
  step_aside();
  current_pacer = outer_;
}

void ReadPacer::step_aside() {
  if (!holding_) return;
  holding_ = false;
  scheduler_.release(urgent_);
  next_check_ = rows_ + 1;
}

void ReadPacer::step_aside_current() {
  if (current_pacer) current_pacer->step_aside();
}

void ReadPacer::pace() {
  next_check_ = rows_ + kCheckRows;
  if (!holding_) {
    scheduler_.acquire(urgent_);
    holding_ = true;
    turn_began_ = Clock::now();
    return;
  }
  if (!scheduler_.anything_to_do()) return;
  if (!urgent_ && scheduler_.ordinary_must_yield()) {
    if (scheduler_.make_way(false, false)) turn_began_ = Clock::now();
    return;
  }
  const Clock::time_point now = Clock::now();
  if (now - turn_began_ < kTurn) return;
  if (scheduler_.make_way(urgent_, true)) turn_began_ = Clock::now();
  else turn_began_ = now;
}

}  // namespace kq::db
