#pragma once
// The database files of the embedded default: the shop database, and beside
// it the club database "kq_club.db", attached to the shop's connection as
// "kq_club" (so that kq_club.club01c names the club's table).
//
// Opening validates both files before anything is written: a missing file
// (unless creating), a file locked by another program, a file of a newer
// schema, a file that is not ours, or a corrupt file gives an error that names
// the file; nothing is ever recreated over existing data. An older schema is
// brought forward with the embedded scripts data/schema/shop/NNN_*.sql and
// data/schema/club/NNN_*.sql (see docs/schema.md). File databases use rollback
// journals, so that one commit covers both files atomically.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string_view>

#include "data/schema/migrations.h"
#include "platform/result.h"

struct sqlite3;

namespace kq::schema {

// PRAGMA application_id of our two kinds of database ("KQSH", "KQCL").
inline constexpr int32_t kShopApplicationId = 0x4B515348;
inline constexpr int32_t kClubApplicationId = 0x4B51434C;
// Name under which the club database is attached, and its file name.
inline constexpr std::string_view kClubSchema = "kq_club";
inline constexpr std::string_view kClubFileName = "kq_club.db";

// The two kinds with their embedded scripts; an error only when the embedded
// scripts are misnamed (a build fault).
Result<SchemaKind> shop_kind();
Result<SchemaKind> club_kind();

// The schema versions this program's scripts reach.
int latest_shop_version();
int latest_club_version();

// The club file that belongs to a shop database: kq_club.db in its folder.
std::filesystem::path club_path_for(const std::filesystem::path& shop_path);

struct OpenOptions {
  // Create missing files (and a missing folder) as a new, empty pair. A club
  // file is never created beside a shop database that already has a schema.
  bool create = false;
  // Bring an older schema forward; when false an older schema is an error.
  bool migrate = true;
  // How long to wait for a lock held by another program before giving up.
  int busy_timeout_ms = 5000;
  // Also run PRAGMA quick_check on both files (reads every page).
  bool check_integrity = false;
};

class DatabaseFiles;

// Opens (or with options.create creates) the shop database at `shop_path` and
// its club database, validates both and migrates them forward.
Result<DatabaseFiles> open_database_files(const std::filesystem::path& shop_path, const OpenOptions& options = {});

// A connection to a shop database with its club database attached.
class DatabaseFiles {
 public:
  DatabaseFiles(DatabaseFiles&&) noexcept = default;
  DatabaseFiles& operator=(DatabaseFiles&&) noexcept = default;
  ~DatabaseFiles() = default;

  sqlite3* handle() const { return db_.get(); }
  // Hands the connection over; the caller closes it with sqlite3_close_v2.
  sqlite3* release() { return db_.release(); }

  const std::filesystem::path& shop_path() const { return shop_path_; }
  const std::filesystem::path& club_path() const { return club_path_; }

 private:
  struct Closer {
    void operator()(sqlite3* db) const;
  };
  friend Result<DatabaseFiles> open_database_files(const std::filesystem::path&, const OpenOptions&);
  DatabaseFiles(sqlite3* db, std::filesystem::path shop, std::filesystem::path club)
      : db_(db), shop_path_(std::move(shop)), club_path_(std::move(club)) {}

  std::unique_ptr<sqlite3, Closer> db_;
  std::filesystem::path shop_path_;
  std::filesystem::path club_path_;
};

// Creates the schema of both databases on a connection whose main database
// and whose database attached as kq_club are both empty (":memory:" will do).
// An error when either already holds anything.
Result<void> create_schema(sqlite3* db);

// Validates main and kq_club of `db` and brings both to the latest version;
// empty databases receive the whole schema.
Result<void> migrate(sqlite3* db);

}  // namespace kq::schema
