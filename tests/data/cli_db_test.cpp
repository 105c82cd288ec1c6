// kq_svc_309 db init | demo as a user runs them.
#include <gtest/gtest.h>

#include "data/schema/database_files.h"
#include "db_test_util.h"
#include "framework/password.h"
#include "support/run_process.h"

namespace kq {
namespace {

namespace fs = std::filesystem;
using testing::exec;
using testing::number;
using testing::run_kq;
using testing::shell_quote;
using testing::TempDir;
using testing::text;

bool contains(const std::string& haystack, const std::string& needle) { return haystack.find(needle) != std::string::npos; }

TEST(CliDb, InitCreatesAndThenAcceptsThePair) {
  TempDir dir;
  const std::string shop = (dir / "new" / "shop.db").string();
  auto first = run_kq("db init --db " + shell_quote(shop));
  EXPECT_EQ(first.status, 0) << first.err;
  EXPECT_TRUE(contains(first.out, "schema " + std::to_string(schema::latest_shop_version()))) << first.out;
  EXPECT_TRUE(fs::exists(dir / "new" / "shop.db"));
  EXPECT_FALSE(fs::exists(dir / "new" / "kq_club.db")) << "the club tables are in the shop file";
  auto second = run_kq("db init --db " + shell_quote(shop));
  EXPECT_EQ(second.status, 0) << second.err;
  EXPECT_EQ(second.err, "");
}

TEST(CliDb, InitRefusesWhatIsNotOurs) {
  TempDir dir;
  const fs::path shop = dir / "shop.db";
  exec(testing::open_raw(shop).get(), "CREATE TABLE ledger (x)");
  auto r = run_kq("db init --db " + shell_quote(shop.string()));
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(contains(r.err, "db init: ")) << r.err;
  EXPECT_TRUE(contains(r.err, "not a kq_svc_309 shop database")) << r.err;
  EXPECT_EQ(number(testing::open_raw(shop).get(), "SELECT count(*) FROM sqlite_schema"), 1);
}

TEST(CliDb, DemoBuildsASignInReadyShopAndReplacesOnlyWhenAsked) {
  TempDir dir;
  const std::string shop = (dir / "shop.db").string();
  auto built = run_kq("db demo --db " + shell_quote(shop) + " --today 2024/02/29 --scale 40");
  ASSERT_EQ(built.status, 0) << built.err;
  EXPECT_TRUE(contains(built.out, "2024/02/29")) << built.out;
  EXPECT_TRUE(contains(built.err, "100% 40/40")) << built.err;  // the progress bar
  {
    auto files = schema::open_database_files(shop);
    ASSERT_TRUE(files) << files.error();
    sqlite3* db = files->handle();
    EXPECT_EQ(text(db, "PRAGMA main.journal_mode"), "wal");
    EXPECT_EQ(text(db, "SELECT dywrq FROM kq_company WHERE cgsh = '01'"), "2024-02-29 00:00:00");
    EXPECT_GT(number(db, "SELECT count(*) FROM kq_club_club08"), 0);
    const std::string hash = text(db, "SELECT cmmhash FROM kq_operator WHERE cgsh = '01' AND cczydm = '001'");
    EXPECT_TRUE(fw::verify_password(hash, "kq01001"));
    EXPECT_FALSE(fw::verify_password(hash, "kq01002"));
  }
  EXPECT_FALSE(fs::exists(dir / "shop.db-wal"));

  auto refused = run_kq("db demo --db " + shell_quote(shop) + " --today 2024/03/01");
  EXPECT_EQ(refused.status, 1);
  EXPECT_TRUE(contains(refused.err, "--replace")) << refused.err;

  auto replaced = run_kq("db demo --db " + shell_quote(shop) + " --today 2024/03/01 --replace");
  ASSERT_EQ(replaced.status, 0) << replaced.err;
  auto files = schema::open_database_files(shop);
  ASSERT_TRUE(files) << files.error();
  EXPECT_EQ(text(files->handle(), "SELECT dywrq FROM kq_company WHERE cgsh = '02'"), "2024-03-01 00:00:00");
  EXPECT_EQ(number(files->handle(), "SELECT count(*) FROM svcb20c WHERE cwtsbh LIKE '_019%'"), 0);  // no scale this time
  // Nothing is left of the scratch folder.
  for (const auto& entry : fs::directory_iterator(dir.path()))
    EXPECT_FALSE(contains(entry.path().filename().string(), ".kq_demo")) << entry.path();
}

TEST(CliDb, DemoLeavesForeignFilesAloneEvenWithReplace) {
  TempDir dir;
  const fs::path shop = dir / "shop.db";
  exec(testing::open_raw(shop).get(), "CREATE TABLE precious (x); INSERT INTO precious VALUES (1)");
  auto r = run_kq("db demo --replace --db " + shell_quote(shop.string()));
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(contains(r.err, "left alone")) << r.err;
  EXPECT_EQ(number(testing::open_raw(shop).get(), "SELECT count(*) FROM precious"), 1);
}

TEST(CliDb, BadArgumentsFailWithAMessage) {
  TempDir dir;
  const std::string shop = shell_quote((dir / "shop.db").string());
  auto date = run_kq("db demo --db " + shop + " --today 2023/02/29");
  EXPECT_EQ(date.status, 1);
  EXPECT_TRUE(contains(date.err, "yyyy/mm/dd")) << date.err;
  EXPECT_FALSE(fs::exists(dir / "shop.db"));
  EXPECT_NE(run_kq("db demo --db " + shop + " --scale -5").status, 0);
  EXPECT_NE(run_kq("db init").status, 0);
  EXPECT_NE(run_kq("db").status, 0);
  auto nested = run_kq("db init --db " + shell_quote((dir / "a" / "b" / "shop.db").string()));
  EXPECT_EQ(nested.status, 0) << nested.err;  // missing folders are created
}

}  // namespace
}  // namespace kq
