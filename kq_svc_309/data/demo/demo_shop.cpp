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
#include "data/transfer/shop_tables.h"
#include "framework/password.h"
#include "platform/db/sqlite_backend.h"

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

namespace {

// The count of a query of the module's Transact-SQL ("select count(*) from t");
// nullopt when it cannot run (no such table).
std::optional<int64_t> count_of(db::Connection& c, std::string_view tsql) {
  auto t = c.dialect().translate(tsql, c.catalog());
  if (!t) return std::nullopt;
  auto st = c.prepare(t->sql);
  if (!st) return std::nullopt;
  auto row = (*st)->step();
  if (!row || !*row) return std::nullopt;
  Value v;
  (*st)->read(0, v);
  return v.as_long();
}

}  // namespace

Result<void> fill_demo(db::Connection& connection, const DemoOptions& options) {
  if (!options.clear_first && (count_of(connection, "select count(*) from kq_company").value_or(-1) != 0 ||
                                count_of(connection, "select count(*) from kq_club..club01c").value_or(-1) != 0))
    return make_error("the database already holds data (or has no shop schema); the demo needs an empty one");
  if (options.days < 1 || options.days > 365)
    return make_error("demo: the generated settlements spread over 1 to 365 days, not " + std::to_string(options.days));
  const DateTime today = options.today.value_or(DateTime::now()).date();
  detail::Hasher hash = options.hash_password ? options.hash_password
                                              : detail::Hasher([](std::string_view p) { return fw::hash_password(p); });

  if (auto begun = connection.begin(); !begun) return make_error("demo: cannot begin a transaction: " + begun.error());
  std::optional<std::string> error;
  {
    RowWriter w(connection);
    if (options.clear_first) {
      auto tables = data::list_shop_tables(connection);
      if (!tables) w.fail(tables.error());
      else if (tables->empty()) w.fail("the database has no shop schema");
      else
        for (const data::ShopTable& t : *tables) w.execute("delete from " + t.tsql(), {});
    }
    try {
      detail::write_fixed_content(w, today, hash);
      detail::write_generated(w, today, options.scale, options.days, options.progress);
    } catch (const std::exception& e) {
      w.fail(std::string("demo content: ") + e.what());
    }
    error = w.error();
  }
  if (!error) {
    if (auto committed = connection.commit(); !committed) error = committed.error();
  }
  if (error) {
    (void)connection.rollback();
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
    // The connection of the build is the backend's own, so the demo is
    // written exactly as on any other backend; its journal is switched off
    // for the build and to the write-ahead log after.
    auto connection = db::adopt_sqlite_connection(files->release(), db::ConnectOptions{});
    if (!connection) return discard(connection.error());
    RowWriter tune(**connection);
    tune.exec_native("PRAGMA main.journal_mode = OFF");
    tune.exec_native("PRAGMA main.synchronous = OFF");
    tune.exec_native("PRAGMA main.cache_size = -131072");
    if (!tune.ok()) return discard("demo: " + *tune.error());
    if (auto ok = fill_demo(**connection, options); !ok) return discard(ok.error());
    std::string mode;
    if (auto st = (*connection)->prepare("PRAGMA main.journal_mode = WAL"); st) {
      if (auto row = (*st)->step(); row && *row) {
        Value v;
        (*st)->read(0, v);
        mode = v.as_string().value_or("");
      }
    }
    if (mode != "wal") return discard("demo: cannot switch to write-ahead logging");
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
