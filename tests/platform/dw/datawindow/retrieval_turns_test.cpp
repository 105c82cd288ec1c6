// A data window's retrieval takes its turns from the process's read
// scheduler: a long list waits for a slot once past its free rows, a save's
// retrieval asks as urgent, and a retrieval that fails gives its slot back.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <limits>
#include <thread>

#include "platform/db/read_pacer.h"
#include "platform/db/read_scheduler.h"
#include "platform/dw/datawindow/datawindow.h"
#include "test_database.h"

namespace kq::dw {
namespace {

using testing::InlineDefinitions;
using testing::kReworkGrid;
using testing::TestDatabase;

bool eventually(const std::function<bool()>& done) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (!done()) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

// The scheduler of the process with one slot for the test's time.
struct OneSlot {
  db::ReadScheduler& s = db::ReadScheduler::instance();
  const int before = s.slots();
  OneSlot() { s.set_slots(1); }
  ~OneSlot() { s.set_slots(before); }
};

TEST(DataWindowRetrievalTurns, ALongListWaitsForItsTurnAsUrgentWorkAndGivesTheSlotBackWhenItFails) {
  TestDatabase db;
  const int64_t rows = db::ReadPacer::kFreeRows + 500;
  for (int64_t i = 1; i <= rows; ++i)
    db.sqlca.exec("insert into svcb50 (cwtsbh, cwxxmdm, cgsh, cxmmc, lksbs) values (:bh, 'X01', '01', '换机油', :n)",
                  {{"bh", "L" + std::to_string(100000 + i)},
                   {"n", i == rows ? Value(std::numeric_limits<int64_t>::min()) : Value(i)}});
  ASSERT_EQ(db.sqlca.commit(), 0) << db.sqlca.sqlerrtext;
  InlineDefinitions defs;
  defs.add("d_rework", kReworkGrid);
  // abs() of the smallest integer is an error SQLite reports at the last row.
  defs.add("d_overflow", R"yaml(name: d_overflow
style: grid
arguments: [{name: bh, type: string}]
query: "SELECT cwtsbh, abs(lksbs) as lksbs FROM svcb50 WHERE cwtsbh like :bh ORDER BY cwtsbh"
columns:
  - {name: cwtsbh, type: char(13)}
  - {name: lksbs, type: number}
grid: [{column: cwtsbh}]
)yaml");
  DataWindow list{nullptr, defs.lookup()};
  ASSERT_EQ(list.dataobject("d_rework"), 1) << list.last_error();
  list.settransobject(db.sqlca);

  OneSlot one;
  one.s.acquire(false);  // another workstation's long list holds the only slot
  std::atomic<long> retrieved{-2};
  std::thread save([&] {
    db::UrgentReads urgent;  // the refresh after a save
    retrieved = list.retrieve("L%");
  });
  const bool waited = eventually([&] { return one.s.queued() == 1; });
  EXPECT_TRUE(waited) << "the retrieval never asked for a slot";
  EXPECT_TRUE(one.s.ordinary_must_yield()) << "a retrieval inside a save asks as urgent";
  EXPECT_EQ(retrieved, -2) << "the retrieval went on without a slot";
  one.s.release(false);
  save.join();
  EXPECT_EQ(retrieved, rows) << list.last_error();
  EXPECT_EQ(one.s.in_use(), 0);

  DataWindow overflow{nullptr, defs.lookup()};
  ASSERT_EQ(overflow.dataobject("d_overflow"), 1) << overflow.last_error();
  overflow.settransobject(db.sqlca);
  EXPECT_EQ(overflow.retrieve("L%"), -1);
  EXPECT_NE(overflow.last_error().find("overflow"), std::string::npos) << overflow.last_error();
  EXPECT_EQ(overflow.rowcount(), 0);
  EXPECT_EQ(one.s.in_use(), 0) << "a failed retrieval kept its slot";
  EXPECT_EQ(list.retrieve("L%"), rows) << "the next retrieval finds the slot free: " << list.last_error();
}

}  // namespace
}  // namespace kq::dw
