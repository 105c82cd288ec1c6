#include "data/schema/database_files.h"

#include <sqlite3.h>

#include <cctype>
#include <system_error>

namespace kq::schema {
namespace fs = std::filesystem;

namespace {

constexpr std::string_view kShopFolder = "data/schema/shop/";
constexpr std::string_view kClubFolder = "data/schema/club/";

// Runs a one-value statement into `out`; the result code.
int query_text(sqlite3* db, const std::string& sql, std::string& out) {
  sqlite3_stmt* st = nullptr;
  int rc = sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr);
  if (rc == SQLITE_OK) {
    rc = sqlite3_step(st);
    if (rc == SQLITE_ROW) {
      const unsigned char* t = sqlite3_column_text(st, 0);
      out = t != nullptr ? reinterpret_cast<const char*>(t) : "";
      rc = SQLITE_OK;
    } else if (rc == SQLITE_DONE) {
      out.clear();
      rc = SQLITE_OK;
    }
  }
  if (rc != SQLITE_OK) rc = sqlite3_extended_errcode(db);
  sqlite3_finalize(st);
  return rc;
}

// "file:" URI of a path, so that ATTACH can be told not to create the file.
std::string file_uri(const fs::path& path, bool create) {
  static const char* hex = "0123456789ABCDEF";
  std::string uri = "file:";
  for (unsigned char c : fs::absolute(path).string()) {
    if (std::isalnum(c) || c == '/' || c == '-' || c == '_' || c == '.' || c == '~') {
      uri += static_cast<char>(c);
    } else {
      uri += '%';
      uri += hex[c >> 4];
      uri += hex[c & 15];
    }
  }
  return uri + (create ? "?mode=rwc" : "?mode=rw");
}

void remove_database_file(const fs::path& p) {
  std::error_code ec;
  fs::remove(p, ec);
  fs::remove(fs::path(p.string() + "-wal"), ec);
  fs::remove(fs::path(p.string() + "-shm"), ec);
  fs::remove(fs::path(p.string() + "-journal"), ec);
}

// The shop file in write-ahead-log mode: readers never wait for a writer nor
// hold one back, and since the club tables live in the same file one commit
// still covers both. The mode is kept in the file.
Result<void> use_write_ahead_log(sqlite3* db, const SchemaKind& kind) {
  std::string mode;
  int rc = query_text(db, "PRAGMA \"" + kind.schema + "\".journal_mode", mode);
  if (rc == SQLITE_OK && mode == "wal") return {};
  if (rc == SQLITE_OK) rc = query_text(db, "PRAGMA \"" + kind.schema + "\".journal_mode = WAL", mode);
  if (rc != SQLITE_OK || mode != "wal")
    return make_error(describe(db, kind) + " cannot be switched to write-ahead logging (" +
                          (rc != SQLITE_OK ? std::string(sqlite3_errmsg(db)) : "journal mode " + mode) + ")",
                      failure_kind(rc));
  return {};
}

// Attaches `target` (a file: URI, or ":memory:") as kq_club.
Result<void> attach_club(sqlite3* db, const std::string& target, const std::string& label) {
  sqlite3_stmt* st = nullptr;
  int rc = sqlite3_prepare_v2(db, "ATTACH DATABASE ?1 AS kq_club", -1, &st, nullptr);
  if (rc == SQLITE_OK) {
    sqlite3_bind_text(st, 1, target.c_str(), -1, SQLITE_TRANSIENT);
    rc = sqlite3_step(st);
    if (rc == SQLITE_DONE) rc = SQLITE_OK;
  }
  std::string msg = sqlite3_errmsg(db);
  sqlite3_finalize(st);
  if (rc != SQLITE_OK) return make_error(label + " cannot be attached (" + msg + ")", failure_kind(sqlite3_extended_errcode(db)));
  return {};
}

Result<void> quick_check(sqlite3* db, const SchemaKind& kind) {
  std::string result;
  int rc = query_text(db, "PRAGMA \"" + kind.schema + "\".quick_check(1)", result);
  if (rc != SQLITE_OK)
    return make_error(describe(db, kind) + " is corrupt (" + sqlite3_errmsg(db) + ")", ErrorKind::Corrupt);
  if (result != "ok") return make_error(describe(db, kind) + " is corrupt (" + result + ")", ErrorKind::Corrupt);
  return {};
}

}  // namespace

void DatabaseFiles::Closer::operator()(sqlite3* db) const { sqlite3_close_v2(db); }

Result<SchemaKind> shop_kind() {
  auto scripts = embedded_scripts(kShopFolder);
  if (!scripts) return make_error(scripts.error());
  return SchemaKind{"shop database", "main", kShopApplicationId, std::move(*scripts)};
}

Result<SchemaKind> club_kind() {
  auto scripts = embedded_scripts(kClubFolder);
  if (!scripts) return make_error(scripts.error());
  return SchemaKind{"club database", std::string(kClubSchema), kClubApplicationId, std::move(*scripts)};
}

int latest_shop_version() {
  auto k = shop_kind();
  return k ? static_cast<int>(k->scripts.size()) : 0;
}

int latest_club_version() {
  auto k = club_kind();
  return k ? static_cast<int>(k->scripts.size()) : 0;
}

fs::path club_path_for(const fs::path& shop_path) {
  return shop_path.parent_path() / std::string(kClubFileName);
}

fs::path set_aside_club_path(const fs::path& shop_path) {
  return shop_path.parent_path() / (std::string(kClubFileName) + ".moved");
}

Result<void> migrate(sqlite3* db) {
  auto shop = shop_kind();
  if (!shop) return make_error(shop.error());
  auto club = club_kind();
  if (!club) return make_error(club.error());
  // The club first: the shop's move of the club tables copies its rows.
  if (auto ok = migrate_schema(db, *club, {}, {*shop}); !ok) return ok;
  return migrate_schema(db, *shop, {}, {*club});
}

Result<void> create_schema(sqlite3* db) {
  auto shop = shop_kind();
  if (!shop) return make_error(shop.error());
  auto club = club_kind();
  if (!club) return make_error(club.error());
  for (const SchemaKind* kind : {&*shop, &*club}) {
    auto state = read_state(db, *kind);
    if (!state) return state.failure();
    if (!state->fresh()) return make_error(describe(db, *kind) + " is not empty; its schema cannot be created");
  }
  return migrate(db);
}

Result<DatabaseFiles> open_database_files(const fs::path& shop_path, const OpenOptions& options) {
  if (shop_path.empty()) return make_error("no shop database file given");
  auto shop = shop_kind();
  if (!shop) return make_error(shop.error());
  auto club = club_kind();
  if (!club) return make_error(club.error());

  const fs::path club_path = club_path_for(shop_path);
  const std::string shop_name = "shop database " + shop_path.string();
  const std::string club_name = "club database " + club_path.string();

  std::error_code ec;
  const bool shop_exists = fs::exists(shop_path, ec);
  if (ec) return make_error(shop_name + " cannot be reached (" + ec.message() + ")");
  const bool club_exists = fs::exists(club_path, ec);
  if (ec) return make_error(club_name + " cannot be reached (" + ec.message() + ")");
  if (shop_exists && fs::is_directory(shop_path, ec)) return make_error(shop_name + " is a folder, not a file");
  if (!shop_exists && !options.create)
    return make_error(shop_name + " does not exist; create it with `kq_svc_309 db init --db " + shop_path.string() + "`",
                      ErrorKind::NotFound);
  if (options.create && !shop_path.parent_path().empty()) {
    fs::create_directories(shop_path.parent_path(), ec);
    if (ec) return make_error("folder " + shop_path.parent_path().string() + " cannot be created (" + ec.message() + ")");
  }

  // A file this call creates is removed again when it fails.
  bool created_shop = !shop_exists;
  sqlite3* raw = nullptr;
  auto fail = [&](Error error) -> Result<DatabaseFiles> {
    if (raw != nullptr) sqlite3_close_v2(raw);
    raw = nullptr;
    if (created_shop) remove_database_file(shop_path);
    return error;
  };

  int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_URI | (options.create ? SQLITE_OPEN_CREATE : 0);
  int rc = sqlite3_open_v2(shop_path.c_str(), &raw, flags, nullptr);
  if (rc != SQLITE_OK)
    return fail(make_error(shop_name + " cannot be opened (" + (raw != nullptr ? sqlite3_errmsg(raw) : "out of memory") + ")",
                           failure_kind(rc)));
  sqlite3_extended_result_codes(raw, 1);
  sqlite3_busy_timeout(raw, options.busy_timeout_ms);

  MigrateOptions migrate_options{options.create, options.migrate};
  auto shop_state = read_state(raw, *shop);
  if (!shop_state) return fail(shop_state.failure());
  if (auto ok = check_state(*shop_state, *shop, migrate_options, {*club}, describe(raw, *shop)); !ok)
    return fail(ok.failure());
  if (options.check_integrity) {
    if (auto ok = quick_check(raw, *shop); !ok) return fail(ok.failure());
  }

  // A shop from before the move of the club tables takes them from its club
  // file; a new shop from an empty club database in memory.
  const bool club_still_apart = shop_state->version < kClubTablesInShopVersion;
  bool used_club_file = false;
  if (club_still_apart) {
    if (club_exists) {
      if (auto ok = attach_club(raw, file_uri(club_path, false), club_name); !ok) return fail(ok.failure());
      used_club_file = true;
    } else if (shop_state->fresh()) {
      if (auto ok = attach_club(raw, ":memory:", club_name); !ok) return fail(ok.failure());
    } else {
      return fail(make_error(club_name + " is missing beside the " + describe(raw, *shop) +
                                 "; restore it (a new, empty club database would lose the membership cards)",
                             ErrorKind::NotFound));
    }
    auto club_state = read_state(raw, *club);
    if (!club_state) return fail(club_state.failure());
    MigrateOptions club_options{true, true};
    if (auto ok = check_state(*club_state, *club, club_options, {*shop}, describe(raw, *club)); !ok)
      return fail(ok.failure());
    if (used_club_file && options.check_integrity) {
      if (auto ok = quick_check(raw, *club); !ok) return fail(ok.failure());
    }
    if (auto ok = migrate_schema(raw, *club, club_options, {*shop}); !ok) return fail(ok.failure());
  }
  if (auto ok = migrate_schema(raw, *shop, migrate_options, {*club}); !ok) return fail(ok.failure());
  if (club_still_apart && sqlite3_exec(raw, "DETACH DATABASE kq_club", nullptr, nullptr, nullptr) != SQLITE_OK)
    return fail(make_error(club_name + " cannot be detached (" + sqlite3_errmsg(raw) + ")"));
  if (auto ok = use_write_ahead_log(raw, *shop); !ok) return fail(ok.failure());
  // The club file's rows are in the shop file now: set it aside under another
  // name, so that nobody takes it for the club's data (it is never read again).
  if (used_club_file) fs::rename(club_path, set_aside_club_path(shop_path), ec);

  sqlite3* db = raw;
  raw = nullptr;
  return DatabaseFiles(db, shop_path);
}

}  // namespace kq::schema
