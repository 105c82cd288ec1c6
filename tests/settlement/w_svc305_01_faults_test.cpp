// The cancellation when the database itself refuses: a lock held by another
// program, a file that cannot be written. The cashier sees the step's own
// message; the server's log says what the database answered and to which
// statement; nothing is half written.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <chrono>
#include <filesystem>

#include "platform/db/sqlite_backend.h"
#include "settlement/cancellation_desk.h"
#include "support/database_dump.h"

namespace kq::svc {
namespace {

using testing::CancellationDesk;
using kq::testing::dump_database;

const std::string kCardSettlement = "1010000000006";

// Another program's connection to `path`, holding `lock_sql` until it ends.
class OtherProgram {
 public:
  OtherProgram(const std::filesystem::path& path, const char* lock_sql) {
    EXPECT_EQ(sqlite3_open(path.c_str(), &db_), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db_, lock_sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db_);
  }
  ~OtherProgram() {
    sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(db_);
  }

 private:
  sqlite3* db_ = nullptr;
};

TEST(CancellationFaults, ALockHeldElsewhereGivesUpAfterTheBusyWaitAndIsLogged) {
  CancellationDesk desk;
  w_svc305_01* w = desk.open(kCardSettlement);
  ASSERT_NE(w, nullptr);
  CancellationDesk::enter(*w, "0", "客户要求重新结算", "8801000001");
  const std::string before = dump_database(desk.shop.db_path());
  std::chrono::milliseconds waited{};
  std::string log;
  {
    // Another program in the middle of writing: reading goes on, writing waits.
    OtherProgram writer(desk.shop.db_path(), "BEGIN IMMEDIATE");
    ::testing::internal::CaptureStderr();
    const auto started = std::chrono::steady_clock::now();
    desk.save(*w);
    waited = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started);
    log = ::testing::internal::GetCapturedStderr();
  }
  ::testing::Test::RecordProperty("lock_wait_ms", static_cast<int>(waited.count()));
  std::printf("the cancellation waited %lld ms for the lock\n", static_cast<long long>(waited.count()));
  EXPECT_EQ(desk.told(), std::vector<std::string>{"更改结算状态失败!"}) << "the step's own message";
  EXPECT_NE(log.find("database is locked"), std::string::npos) << log;
  EXPECT_NE(log.find(" in: "), std::string::npos) << "the statement is named: " << log;
  // One wait for the whole save (10 s, the documented busy timeout), not one
  // for each statement that writes.
  EXPECT_GE(waited.count(), 5000) << "gave up without waiting for the lock";
  EXPECT_LT(waited.count(), 20000) << "waited for the lock statement after statement";
  EXPECT_FALSE(desk.shop.session->sqlca.in_transaction());
  EXPECT_EQ(dump_database(desk.shop.db_path()), before);
}

TEST(CancellationFaults, AFileThatCannotBeWrittenIsLoggedAndChangesNothing) {
  CancellationDesk desk;
  w_svc305_01* w = desk.open(kCardSettlement);
  ASSERT_NE(w, nullptr);
  CancellationDesk::enter(*w, "0", "客户要求重新结算", "8801000001");
  const std::string before = dump_database(desk.shop.db_path());
  // The files become read-only under the running session (a file system
  // remounted read-only): its connection is now one that cannot write.
  sqlite3* read_only = nullptr;
  ASSERT_EQ(sqlite3_open_v2(desk.shop.db_path().c_str(), &read_only, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
  db::ConnectOptions options;
  options.company = "01";
  auto connection = db::adopt_sqlite_connection(read_only, options);
  ASSERT_TRUE(connection) << connection.error();
  ASSERT_TRUE(desk.shop.session->sqlca.connect(std::move(*connection)));
  ::testing::internal::CaptureStderr();
  desk.save(*w);
  const std::string log = ::testing::internal::GetCapturedStderr();
  ASSERT_EQ(desk.told().size(), 1u) << "one message from the step that failed";
  EXPECT_NE(log.find("readonly"), std::string::npos) << log;
  EXPECT_NE(log.find(" in: "), std::string::npos) << log;
  EXPECT_FALSE(desk.shop.session->sqlca.in_transaction());
  EXPECT_EQ(dump_database(desk.shop.db_path()), before);
  EXPECT_TRUE(desk.listed(kCardSettlement));
}

}  // namespace
}  // namespace kq::svc
