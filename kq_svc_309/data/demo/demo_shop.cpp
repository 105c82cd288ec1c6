#include "data/demo/demo_shop.h"

#include <sqlite3.h>
#include <unistd.h>

#include <cctype>
#include <exception>
#include <string>
#include <system_error>

#include "data/demo/demo_content.h"
#include "data/demo/row_writer.h"
#include "data/schema/database_files.h"
#include "framework/password.h"

namespace kq::demo {
namespace fs = std::filesystem;

namespace {

int64_t count_rows(sqlite3* db, const char* sql) {
  sqlite3_stmt* st = nullptr;
  int64_t n = -1;
  if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
    n = sqlite3_column_int64(st, 0);
  sqlite3_finalize(st);
  return n;
}

void remove_database_file(const fs::path& p) {
  std::error_code ec;
  for (const char* suffix : {"", "-wal", "-shm", "-journal"}) fs::remove(fs::path(p.string() + suffix), ec);
}

// An existing file that --replace may overwrite: empty, or a database of the
// expected kind that no other program is writing.
Result<void> replaceable(const fs::path& file, int32_t application_id, const std::string& label) {
  std::error_code ec;
  if (!fs::exists(file, ec)) return {};
  if (!fs::is_regular_file(file, ec)) return make_error(label + " " + file.string() + " is not a regular file");
  if (fs::file_size(file, ec) == 0) return {};
  sqlite3* db = nullptr;
  std::string problem;
  if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
    problem = "cannot be opened";
  } else {
    sqlite3_busy_timeout(db, 200);
    int64_t id = count_rows(db, "PRAGMA application_id");
    if (id < 0) {
      problem = sqlite3_errcode(db) == SQLITE_BUSY ? "is locked by another program" : "is not a database";
    } else if (static_cast<int32_t>(id) != application_id && count_rows(db, "SELECT count(*) FROM sqlite_schema") != 0) {
      problem = "is not a kq_svc_309 " + label + "; it is left alone";
    } else if (sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK) {
      problem = "is locked by another program";
    } else {
      sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    }
  }
  sqlite3_close_v2(db);
  if (!problem.empty()) return make_error(label + " " + file.string() + " " + problem);
  return {};
}

}  // namespace

std::optional<DateTime> parse_business_date(std::string_view text) {
  if (text.size() != 10 || text[4] != '/' || text[7] != '/') return std::nullopt;
  for (size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) return std::nullopt;
  auto num = [&](size_t pos, size_t len) { return std::stoi(std::string(text.substr(pos, len))); };
  return DateTime::from_parts(num(0, 4), num(5, 2), num(8, 2));
}

Result<void> fill_demo(sqlite3* db, const DemoOptions& options) {
  if (count_rows(db, "SELECT count(*) FROM kq_company") != 0 ||
      count_rows(db, "SELECT count(*) FROM kq_club_club01c") != 0)
    return make_error("the database already holds data (or has no shop schema); the demo needs an empty one");
  if (options.days < 1 || options.days > 365)
    return make_error("demo: the generated settlements spread over 1 to 365 days, not " + std::to_string(options.days));
  const DateTime today = options.today.value_or(DateTime::now()).date();
  detail::Hasher hash = options.hash_password ? options.hash_password
                                              : detail::Hasher([](std::string_view p) { return fw::hash_password(p); });

  if (sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr) != SQLITE_OK)
    return make_error(std::string("demo: cannot begin a transaction: ") + sqlite3_errmsg(db));
  std::optional<std::string> error;
  {
    RowWriter w(db);
    try {
      detail::write_fixed_content(w, today, hash);
      detail::write_generated(w, today, options.scale, options.days, options.progress);
    } catch (const std::exception& e) {
      w.fail(std::string("demo content: ") + e.what());
    }
    error = w.error();
  }
  if (!error && sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) error = sqlite3_errmsg(db);
  if (error) {
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    return make_error("demo: " + *error);
  }
  return {};
}

Result<void> build_demo_files(const fs::path& shop_path, const DemoOptions& options, bool replace) {
  if (shop_path.empty() || !shop_path.has_filename()) return make_error("no shop database file given");
  const fs::path club_path = schema::club_path_for(shop_path);
  std::error_code ec;
  const bool shop_exists = fs::exists(shop_path, ec);
  const bool club_exists = fs::exists(club_path, ec);
  if ((shop_exists || club_exists) && !replace)
    return make_error((shop_exists ? shop_path : club_path).string() +
                      " already exists; pass --replace to build the demo in its place");
  if (auto ok = replaceable(shop_path, schema::kShopApplicationId, "shop database"); !ok) return ok;
  if (auto ok = replaceable(club_path, schema::kClubApplicationId, "club database"); !ok) return ok;

  // Build beside the target, then move into place.
  const fs::path folder = shop_path.parent_path().empty() ? fs::path(".") : shop_path.parent_path();
  fs::create_directories(folder, ec);
  if (ec) return make_error("folder " + folder.string() + " cannot be created (" + ec.message() + ")");
  const fs::path scratch = folder / (".kq_demo_" + std::to_string(::getpid()));
  fs::remove_all(scratch, ec);
  auto discard = [&](const std::string& message) -> Result<void> {
    std::error_code ignored;
    fs::remove_all(scratch, ignored);
    return make_error(message);
  };
  const fs::path scratch_shop = scratch / shop_path.filename();
  {
    schema::OpenOptions open;
    open.create = true;
    auto files = schema::open_database_files(scratch_shop, open);
    if (!files) return discard(files.error());
    // A scratch file needs no protection against a crash (a failure discards
    // it): write it without journal, and leave it in the write-ahead-log mode
    // every connection uses, so that opening it never needs to switch the
    // journal mode (which another program holding the file open would block).
    sqlite3* db = files->handle();
    sqlite3_exec(db, "PRAGMA main.journal_mode = OFF; PRAGMA main.synchronous = OFF; PRAGMA main.cache_size = -131072",
                 nullptr, nullptr, nullptr);
    if (auto ok = fill_demo(db, options); !ok) return discard(ok.error());
    std::string mode;
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, "PRAGMA main.journal_mode = WAL", -1, &st, nullptr) == SQLITE_OK &&
        sqlite3_step(st) == SQLITE_ROW && sqlite3_column_text(st, 0) != nullptr)
      mode = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
    sqlite3_finalize(st);
    if (mode != "wal") return discard(std::string("demo: cannot switch to write-ahead logging: ") + sqlite3_errmsg(db));
  }
  // The closed scratch file has no log left beside it: one file moves into place.
  remove_database_file(shop_path);
  remove_database_file(club_path);  // an old club file of a replaced shop
  fs::rename(scratch_shop, shop_path, ec);
  if (ec) return discard("the demo could not be moved to " + shop_path.string() + " (" + ec.message() + ")");
  fs::remove_all(scratch, ec);
  return {};
}

}  // namespace kq::demo
