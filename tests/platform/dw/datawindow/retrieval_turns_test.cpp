// A data window's retrieval takes its turns from the process's read scheduler.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <limits>
#include <thread>

#include "platform/db/read_pacer.h"
#include "platform/dw/datawindow/datawindow.h"
#include "test_database.h"

namespace kq::dw {
namespace {

TEST(DataWindowRetrievalTurns, ALongListWaitsForItsTurnAsUrgentWorkAndGivesTheSlotBackWhenItFails) {
  testing::TestDatabase db;
  const int64_t rows = db::ReadPacer::kFreeRows + 500;
  for (int64_t i = 1; i <= rows; ++i)  // abs() of the last row's lksbs fails in SQLite
    db.sqlca.exec("insert into svcb50 (cwtsbh, cwxxmdm, cgsh, lksbs) values (:bh, 'X01', '01', :n)",
                  {{"bh", "L" + std::to_string(100000 + i)},
                   {"n", i == rows ? Value(std::numeric_limits<int64_t>::min()) : Value(i)}});
  ASSERT_EQ(db.sqlca.commit(), 0) << db.sqlca.sqlerrtext;
  testing::InlineDefinitions defs;
  defs.add("d_rework", testing::kReworkGrid);
  defs.add("d_overflow", R"yaml(name: d_overflow
style: grid
arguments: [{name: bh, type: string}]
query: "SELECT cwtsbh, abs(lksbs) as lksbs FROM svcb50 WHERE cwtsbh like :bh ORDER BY cwtsbh"
columns: [{name: cwtsbh, type: char(13)}, {name: lksbs, type: number}]
grid: [{column: cwtsbh}]
)yaml");
  DataWindow list{nullptr, defs.lookup()}, overflow{nullptr, defs.lookup()};
  ASSERT_EQ(list.dataobject("d_rework"), 1) << list.last_error();
  ASSERT_EQ(overflow.dataobject("d_overflow"), 1) << overflow.last_error();
  list.settransobject(db.sqlca);
  overflow.settransobject(db.sqlca);

  db::ReadScheduler& s = db::ReadScheduler::instance();
  const int slots = s.slots();
  s.set_slots(1);
  s.acquire(false);  // another workstation's long list holds the only slot
  std::atomic<long> retrieved{-2};
  std::thread save([&] {
    db::UrgentReads urgent;  // the refresh after a save
    retrieved = list.retrieve("L%");
  });
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (s.queued() == 0 && std::chrono::steady_clock::now() < until) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  EXPECT_EQ(s.queued(), 1) << "the retrieval never asked for a slot";
  EXPECT_TRUE(s.ordinary_must_yield()) << "a retrieval inside a save asks as urgent";
  EXPECT_EQ(retrieved, -2) << "the retrieval went on without a slot";
  s.release(false);
  save.join();
  EXPECT_EQ(retrieved, rows) << list.last_error();

  EXPECT_EQ(overflow.retrieve("L%"), -1);
  EXPECT_NE(overflow.last_error().find("overflow"), std::string::npos) << overflow.last_error();
  EXPECT_EQ(s.in_use(), 0) << "a failed retrieval kept its slot";
  s.set_slots(slots);
}

}  // namespace
}  // namespace kq::dw
