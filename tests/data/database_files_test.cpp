// Opening the shop file: creation, reopening, taking in the club file of an
// older shop, and every refusal, each with the files left as they were.
#include <gtest/gtest.h>

#include <fstream>

#include "data/schema/database_files.h"
#include "db_test_util.h"

namespace kq::schema {
namespace {

namespace fs = std::filesystem;
using testing::exec;
using testing::number;
using testing::open_raw;
using testing::TempDir;
using testing::text;

bool contains(const std::string& haystack, const std::string& needle) { return haystack.find(needle) != std::string::npos; }

OpenOptions creating() {
  OpenOptions o;
  o.create = true;
  return o;
}

OpenOptions quick() {
  OpenOptions o;
  o.busy_timeout_ms = 50;
  return o;
}

// Creates an initialised shop in `dir` and closes it.
fs::path make_pair(const TempDir& dir) {
  fs::path shop = dir / "shop.db";
  auto files = open_database_files(shop, creating());
  EXPECT_TRUE(files) << files.error();
  return shop;
}

// A shop of the schema version before the move of the club tables, with its
// club database in kq_club.db beside it, holding one card and its points.
fs::path make_old_pair(const TempDir& dir) {
  fs::path shop = dir / "shop.db";
  auto db = open_raw(shop);
  exec(db.get(), "ATTACH DATABASE '" + (dir / "kq_club.db").string() + "' AS kq_club");
  SchemaKind old_shop = *shop_kind();
  old_shop.scripts.resize(kClubTablesInShopVersion - 1);
  EXPECT_TRUE(migrate_schema(db.get(), *club_kind()));
  EXPECT_TRUE(migrate_schema(db.get(), old_shop));
  exec(db.get(), "INSERT INTO kq_club.club01c (id, ckh, ndhjf, nknye, cgsh) VALUES (7, '8801', 120.5, 300, '01');"
                 "INSERT INTO kq_club.club08 (nkid, cdyywdh, cywfl, nbcdhjf, cgsh) VALUES (7, 'W1', 'SVC', 20, '01')");
  return shop;
}

std::string club_rows(sqlite3* db) {
  return text(db, "SELECT group_concat(id || ':' || ckh || ':' || ndhjf || ':' || nknye) FROM kq_club_club01c") + " / " +
         text(db, "SELECT group_concat(nkid || ':' || cdyywdh || ':' || nbcdhjf) FROM kq_club_club08");
}

TEST(DatabaseFiles, CreatesOneShopFileInWalModeAndReopensIt) {
  TempDir dir;
  fs::path shop = dir / "sub" / "shop.db";  // the folder is created as well
  {
    auto files = open_database_files(shop, creating());
    ASSERT_TRUE(files) << files.error();
    sqlite3* db = files->handle();
    EXPECT_EQ(text(db, "PRAGMA main.journal_mode"), "wal");
    exec(db, "INSERT INTO kq_club_club01c (ckh, cgsh) VALUES ('8801', '01')");
  }
  EXPECT_FALSE(fs::exists(dir / "sub" / "kq_club.db")) << "the club tables are in the shop file";
  auto again = open_database_files(shop);
  ASSERT_TRUE(again) << again.error();
  EXPECT_EQ(number(again->handle(), "SELECT count(*) FROM kq_club_club01c"), 1);
  EXPECT_EQ(number(again->handle(), "PRAGMA main.user_version"), latest_shop_version());

  sqlite3* taken = again->release();
  EXPECT_EQ(again->handle(), nullptr);
  EXPECT_EQ(number(taken, "SELECT count(*) FROM kq_club_club01c"), 1);
  sqlite3_close_v2(taken);
}

TEST(DatabaseFiles, AnOlderShopTakesItsClubFileInOnce) {
  TempDir dir;
  fs::path shop = make_old_pair(dir);
  {
    auto files = open_database_files(shop);
    ASSERT_TRUE(files) << files.error();
    sqlite3* db = files->handle();
    EXPECT_EQ(number(db, "PRAGMA main.user_version"), latest_shop_version());
    EXPECT_EQ(text(db, "PRAGMA main.journal_mode"), "wal");
    EXPECT_EQ(club_rows(db), "7:8801:120.5:300.0 / 7:W1:20.0");
    // New cards go on from the old file's ids.
    exec(db, "INSERT INTO kq_club_club01c (ckh, cgsh) VALUES ('8802', '01')");
    EXPECT_EQ(number(db, "SELECT max(id) FROM kq_club_club01c"), 8);
  }
  EXPECT_FALSE(fs::exists(dir / "kq_club.db"));
  EXPECT_TRUE(fs::exists(dir / "kq_club.db.moved")) << "the old file is kept aside, not deleted";
  // Even when the old file is back under its name (a crash before the
  // rename, a restore), its rows are never taken in a second time.
  fs::copy_file(dir / "kq_club.db.moved", dir / "kq_club.db");
  auto again = open_database_files(shop);
  ASSERT_TRUE(again) << again.error();
  EXPECT_EQ(number(again->handle(), "SELECT count(*) FROM kq_club_club01c"), 2);
  EXPECT_EQ(number(again->handle(), "SELECT count(*) FROM kq_club_club08"), 1);
}

TEST(DatabaseFiles, AFailedMoveOfTheClubTablesLeavesBothFilesAsTheyWere) {
  TempDir dir;
  fs::path shop = make_old_pair(dir);
  // A club table that no longer fits the shop's copy makes the move fail.
  exec(open_raw(dir / "kq_club.db").get(), "ALTER TABLE club03 ADD COLUMN extra TEXT; INSERT INTO club03 "
                                           "(ncldaid, nkid, cgsh, extra) VALUES (1, 7, '01', 'x')");
  auto files = open_database_files(shop);
  ASSERT_FALSE(files);
  EXPECT_TRUE(contains(files.error(), "the database stays at version")) << files.error();
  auto raw = open_raw(shop);
  EXPECT_EQ(number(raw.get(), "PRAGMA user_version"), kClubTablesInShopVersion - 1);
  EXPECT_EQ(number(raw.get(), "SELECT count(*) FROM sqlite_schema WHERE name = 'kq_club_club01c'"), 0);
  EXPECT_TRUE(fs::exists(dir / "kq_club.db")) << "the club file stays where it was";
  EXPECT_EQ(number(open_raw(dir / "kq_club.db").get(), "SELECT count(*) FROM club08"), 1);
}

TEST(DatabaseFiles, MissingFilesAreReportedAndNotCreated) {
  TempDir dir;
  auto files = open_database_files(dir / "shop.db");
  ASSERT_FALSE(files);
  EXPECT_TRUE(contains(files.error(), "does not exist")) << files.error();
  EXPECT_TRUE(contains(files.error(), "db init")) << files.error();
  EXPECT_TRUE(files.failure().is_not_found()) << files.error();
  EXPECT_FALSE(fs::exists(dir / "shop.db"));
  EXPECT_FALSE(fs::exists(dir / "kq_club.db"));
}

TEST(DatabaseFiles, AnOlderShopWithoutItsClubFileIsRefusedAndLeftAsItIs) {
  TempDir dir;
  fs::path shop = make_old_pair(dir);
  fs::remove(dir / "kq_club.db");
  for (bool create : {false, true}) {
    OpenOptions o;
    o.create = create;
    auto files = open_database_files(shop, o);
    ASSERT_FALSE(files);
    EXPECT_TRUE(contains(files.error(), "kq_club.db")) << files.error();
    EXPECT_TRUE(files.failure().is_not_found()) << files.error();
    EXPECT_FALSE(fs::exists(dir / "kq_club.db")) << "a new, empty club would lose the cards";
  }
  EXPECT_EQ(number(open_raw(shop).get(), "PRAGMA user_version"), kClubTablesInShopVersion - 1);
}

TEST(DatabaseFiles, EmptyFilesAreInitialisedOnlyWhenCreating) {
  TempDir dir;
  std::ofstream(dir / "shop.db").close();
  std::ofstream(dir / "kq_club.db").close();
  auto refused = open_database_files(dir / "shop.db");
  ASSERT_FALSE(refused);
  EXPECT_TRUE(contains(refused.error(), "is empty")) << refused.error();
  auto created = open_database_files(dir / "shop.db", creating());
  ASSERT_TRUE(created) << created.error();
  EXPECT_EQ(number(created->handle(), "PRAGMA main.application_id"), kShopApplicationId);
}

TEST(DatabaseFiles, ANewerSchemaIsRefusedAndLeftAsItIs) {
  TempDir dir;
  fs::path shop = make_pair(dir);
  const int newer = latest_shop_version() + 1;
  exec(open_raw(shop).get(), "PRAGMA user_version = " + std::to_string(newer));
  for (bool create : {false, true}) {
    OpenOptions o;
    o.create = create;
    auto files = open_database_files(shop, o);
    ASSERT_FALSE(files);
    EXPECT_TRUE(contains(files.error(), "schema version " + std::to_string(newer))) << files.error();
    EXPECT_TRUE(contains(files.error(), "newer")) << files.error();
    EXPECT_TRUE(files.failure().is_unsupported_version()) << files.error();
    EXPECT_TRUE(contains(files.error(), shop.string())) << files.error();
  }
  EXPECT_EQ(number(open_raw(shop).get(), "PRAGMA user_version"), newer);
}

TEST(DatabaseFiles, AForeignDatabaseIsRefusedAndNotTouched) {
  TempDir dir;
  fs::path shop = dir / "shop.db";
  exec(open_raw(shop).get(), "CREATE TABLE invoices (no TEXT); INSERT INTO invoices VALUES ('1')");
  auto files = open_database_files(shop, creating());
  ASSERT_FALSE(files);
  EXPECT_TRUE(contains(files.error(), "not a kq_svc_309 shop database")) << files.error();
  EXPECT_TRUE(files.failure().is_foreign()) << files.error();
  auto raw = open_raw(shop);
    EXPECT_EQ(number(raw.get(), "SELECT count(*) FROM sqlite_schema"), 1);
  EXPECT_FALSE(fs::exists(dir / "kq_club.db"));
}

TEST(DatabaseFiles, AClubFileInTheShopsPlaceIsNamedAsSuch) {
  TempDir dir;
  fs::path shop = make_old_pair(dir);
  fs::copy_file(dir / "kq_club.db", dir / "other.db");
  auto files = open_database_files(dir / "other.db");
  ASSERT_FALSE(files);
  EXPECT_TRUE(contains(files.error(), "club database, not a shop database")) << files.error();
  EXPECT_TRUE(files.failure().is_foreign()) << files.error();
}

TEST(DatabaseFiles, AFileThatIsNoDatabaseIsReportedAsSuch) {
  TempDir dir;
  fs::path shop = dir / "shop.db";
  {
    std::ofstream out(shop, std::ios::binary);
    out << std::string(8192, 'x');
  }
  auto files = open_database_files(shop, creating());
  ASSERT_FALSE(files);
  EXPECT_TRUE(contains(files.error(), "is not a database")) << files.error();
  EXPECT_TRUE(files.failure().is_foreign()) << files.error();
  EXPECT_EQ(fs::file_size(shop), 8192u);
}

TEST(DatabaseFiles, ADamagedSchemaPageIsReportedAsCorrupt) {
  TempDir dir;
  fs::path shop = make_pair(dir);
  {
    // Overwrite the b-tree header and cell pointers of page 1 (the schema table).
    std::fstream f(shop, std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(100);
    std::string junk(64, '\xFF');
    f.write(junk.data(), static_cast<std::streamsize>(junk.size()));
  }
  auto files = open_database_files(shop);
  ASSERT_FALSE(files);
  EXPECT_TRUE(contains(files.error(), "corrupt") || contains(files.error(), "not a database")) << files.error();
  EXPECT_TRUE(files.failure().is_corrupt()) << files.error();
  EXPECT_TRUE(contains(files.error(), shop.string())) << files.error();
}

TEST(DatabaseFiles, ALockedFileIsReportedAsLocked) {
  TempDir dir;
  fs::path shop = make_pair(dir);
  auto holder = open_raw(shop);
  exec(holder.get(), "PRAGMA locking_mode = EXCLUSIVE; BEGIN EXCLUSIVE; INSERT INTO kq_company (cgsh) VALUES ('09')");
  auto files = open_database_files(shop, quick());
  ASSERT_FALSE(files);
  EXPECT_TRUE(contains(files.error(), "locked by another program")) << files.error();
  EXPECT_TRUE(files.failure().is_busy()) << files.error();
  exec(holder.get(), "ROLLBACK");
}

TEST(DatabaseFiles, AFailedCreationRemovesWhatItCreated) {
  TempDir dir;
  fs::create_directories(dir / "kq_club.db");  // the club file cannot be made
  auto files = open_database_files(dir / "shop.db", creating());
  ASSERT_FALSE(files);
  EXPECT_TRUE(contains(files.error(), "club database")) << files.error();
  EXPECT_FALSE(fs::exists(dir / "shop.db"));
}

TEST(DatabaseFiles, IntegrityCheckPassesOnAHealthyPair) {
  TempDir dir;
  fs::path shop = make_pair(dir);
  OpenOptions o;
  o.check_integrity = true;
  auto files = open_database_files(shop, o);
  ASSERT_TRUE(files) << files.error();
}

}  // namespace
}  // namespace kq::schema
