#pragma once
// The database file of the embedded default: the shop database, holding the
// club database's tables too, as kq_club_<table> (the dialect turns
// kq_club..club01c into kq_club_club01c). The file is in write-ahead-log mode,
// so that readers never hold a writer back, and one commit covers shop and
// club because they are one file.
//
// Shops from before that layout had the club database in a second file,
// "kq_club.db" beside the shop file: opening such a shop attaches that file as
// "kq_club", brings it to its last version (data/schema/club/NNN_*.sql) and
// copies its rows into the shop file in the same transaction as the shop's
// migration that makes the tables; afterwards the club file is renamed to
// "kq_club.db.moved" and never read again.
//
// Opening validates the files before anything is written: a missing file
// (unless creating), a file locked by another program, a file of a newer
// schema, a file that is not ours, or a corrupt file gives an error that names
// the file; nothing is ever recreated over existing data. An older schema is
// brought forward with the embedded scripts data/schema/shop/NNN_*.sql (see
// docs/schema.md).
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
// Name under which an old club database is attached, and its file name.
inline constexpr std::string_view kClubSchema = "kq_club";
inline constexpr std::string_view kClubFileName = "kq_club.db";
// The shop schema version whose script moved the club tables into the shop file.
inline constexpr int kClubTablesInShopVersion = 3;

// The two kinds with their embedded scripts; an error only when the embedded
// scripts are misnamed (a build fault).
Result<SchemaKind> shop_kind();
Result<SchemaKind> club_kind();

// The schema versions this program's scripts reach.
int latest_shop_version();
int latest_club_version();

// The old club file that belongs to a shop database: kq_club.db in its folder.
std::filesystem::path club_path_for(const std::filesystem::path& shop_path);
// Where that file goes once its rows are in the shop file: kq_club.db.moved.
std::filesystem::path set_aside_club_path(const std::filesystem::path& shop_path);

struct OpenOptions {
  // Create a missing file (and a missing folder) as a new, empty shop.
  bool create = false;
  // Bring an older schema forward; when false an older schema is an error.
  bool migrate = true;
  // How long to wait for a lock held by another program before giving up.
  int busy_timeout_ms = 5000;
  // Also run PRAGMA quick_check on the files (reads every page).
  bool check_integrity = false;
};

class DatabaseFiles;

// Opens (or with options.create creates) the shop database at `shop_path`,
// validates it and migrates it forward (taking in an old club file).
Result<DatabaseFiles> open_database_files(const std::filesystem::path& shop_path, const OpenOptions& options = {});

// A connection to a shop database (which holds the club tables).
class DatabaseFiles {
 public:
  DatabaseFiles(DatabaseFiles&&) noexcept = default;
  DatabaseFiles& operator=(DatabaseFiles&&) noexcept = default;
  ~DatabaseFiles() = default;

  sqlite3* handle() const { return db_.get(); }
  // Hands the connection over; the caller closes it with sqlite3_close_v2.
  sqlite3* release() { return db_.release(); }

  const std::filesystem::path& shop_path() const { return shop_path_; }

 private:
  struct Closer {
    void operator()(sqlite3* db) const;
  };
  friend Result<DatabaseFiles> open_database_files(const std::filesystem::path&, const OpenOptions&);
  DatabaseFiles(sqlite3* db, std::filesystem::path shop) : db_(db), shop_path_(std::move(shop)) {}

  std::unique_ptr<sqlite3, Closer> db_;
  std::filesystem::path shop_path_;
};

// Creates the schema on a connection whose main database and whose database
// attached as kq_club are both empty (":memory:" will do); the club tables end
// up in main, kq_club keeps the old club schema, empty. An error when either
// already holds anything.
Result<void> create_schema(sqlite3* db);

// Validates main and kq_club of `db` and brings both to the latest version
// (the club first: the shop's move of the club tables copies its rows); empty
// databases receive the whole schema.
Result<void> migrate(sqlite3* db);

}  // namespace kq::schema
