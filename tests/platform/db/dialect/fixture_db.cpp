#include "fixture_db.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include "fixture_schema.h"
#include "platform/value/datetime.h"

namespace kq::db::testing {
namespace {

std::string lower(std::string_view s) {
  std::string out(s);
  std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
  return out;
}

// Column kinds from the declared types of the fixture: DATETIME, REAL(18,s),
// INTEGER, CHAR/VARCHAR, BLOB.
ColumnInfo kind_of(std::string declared) {
  declared = lower(declared);
  if (declared.rfind("datetime", 0) == 0) return {ColumnKind::DateTime, 0};
  if (declared.rfind("real", 0) == 0) {
    size_t comma = declared.find(',');
    int scale = comma == std::string::npos ? 0 : std::stoi(declared.substr(comma + 1));
    return {ColumnKind::Decimal, scale};
  }
  if (declared.rfind("int", 0) == 0) return {ColumnKind::Integer, 0};
  if (declared.rfind("blob", 0) == 0) return {ColumnKind::Blob, 0};
  return {ColumnKind::Text, 0};
}

class PragmaCatalog final : public Catalog {
 public:
  explicit PragmaCatalog(sqlite3* db) : db_(db) {}

  std::optional<ColumnInfo> column(std::string_view table, std::string_view column) const override {
    std::string schema = "main", name = lower(table);
    if (size_t dot = name.find('.'); dot != std::string::npos) {
      schema = name.substr(0, dot);
      name = name.substr(dot + 1);
    }
    if (schema == "kq_club") {  // the club's tables are kq_club_<table> of the shop
      schema = "main";
      name = "kq_club_" + name;
    }
    std::string sql = "PRAGMA \"" + schema + "\".table_info(\"" + name + "\")";
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) return std::nullopt;
    std::optional<ColumnInfo> found;
    const std::string wanted = lower(column);
    while (sqlite3_step(st) == SQLITE_ROW) {
      std::string col = reinterpret_cast<const char*>(sqlite3_column_text(st, 1));
      if (lower(col) == wanted) {
        const unsigned char* type = sqlite3_column_text(st, 2);
        found = kind_of(type ? reinterpret_cast<const char*>(type) : "");
        break;
      }
    }
    sqlite3_finalize(st);
    return found;
  }

 private:
  sqlite3* db_;
};

std::vector<Row> step_all(sqlite3* db, sqlite3_stmt* st, int* changes) {
  std::vector<Row> rows;
  int rc;
  while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
    Row row;
    for (int c = 0; c < sqlite3_column_count(st); ++c) {
      const unsigned char* text = sqlite3_column_text(st, c);
      row.push_back(sqlite3_column_type(st, c) == SQLITE_NULL ? "NULL" : reinterpret_cast<const char*>(text));
    }
    rows.push_back(std::move(row));
  }
  if (rc != SQLITE_DONE) ADD_FAILURE() << "step failed: " << sqlite3_errmsg(db);
  if (changes) *changes = sqlite3_changes(db);
  return rows;
}

}  // namespace

FixtureDb::FixtureDb() {
  if (sqlite3_open(":memory:", &db_) != SQLITE_OK) {
    ADD_FAILURE() << "cannot open an in-memory database";
    return;
  }
  sqlite3_create_function(db_, "f_retu_gsh", 0, SQLITE_UTF8, this, &FixtureDb::company_function, nullptr, nullptr);
  exec(fixture_schema());
  exec(fixture_club_schema());
  catalog_ = std::make_unique<PragmaCatalog>(db_);
}

FixtureDb::~FixtureDb() {
  catalog_.reset();
  sqlite3_close(db_);
}

void FixtureDb::company_function(sqlite3_context* ctx, int, sqlite3_value**) {
  auto* self = static_cast<FixtureDb*>(sqlite3_user_data(ctx));
  sqlite3_result_text(ctx, self->company_.c_str(), -1, SQLITE_TRANSIENT);
}

const Catalog& FixtureDb::catalog() const { return *catalog_; }

void FixtureDb::exec(const std::string& sql) {
  char* message = nullptr;
  if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
    ADD_FAILURE() << "fixture SQL failed: " << (message ? message : "") << "\n" << sql;
    sqlite3_free(message);
  }
}

std::string FixtureDb::prepare_error(const std::string& sql, int* parameter_count) const {
  sqlite3_stmt* st = nullptr;
  const char* tail = nullptr;
  if (sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &st, &tail) != SQLITE_OK)
    return sqlite3_errmsg(db_);
  if (parameter_count) *parameter_count = sqlite3_bind_parameter_count(st);
  std::string rest = tail ? tail : "";
  sqlite3_finalize(st);
  if (rest.find_first_not_of(" \t\n;") != std::string::npos) return "text left after the statement: " + rest;
  return {};
}

std::vector<Row> FixtureDb::run(const Translation& t, const std::map<std::string, HostValue>& values, int* changes) {
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(db_, t.sql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
    ADD_FAILURE() << "prepare failed: " << sqlite3_errmsg(db_) << "\n" << t.sql;
    return {};
  }
  for (size_t k = 0; k < t.params.size(); ++k) {
    const Parameter& p = t.params[k];
    const int index = static_cast<int>(k + 1);
    auto it = values.find(p.name);
    if (it == values.end()) {
      ADD_FAILURE() << "no value for :" << p.name;
      continue;
    }
    const HostValue& v = it->second;
    if (std::holds_alternative<std::nullptr_t>(v)) {
      sqlite3_bind_null(st, index);
    } else if (auto* i = std::get_if<long long>(&v)) {
      sqlite3_bind_int64(st, index, *i);
    } else if (auto* d = std::get_if<double>(&v)) {
      sqlite3_bind_double(st, index, *d);
    } else {
      std::string text = std::get<std::string>(v);
      if (p.target && p.target->kind == ColumnKind::DateTime) {
        auto when = DateTime::parse(text);
        if (!when)
          ADD_FAILURE() << "not a date: " << text;
        else
          text = when->to_iso();
      }
      sqlite3_bind_text(st, index, text.c_str(), -1, SQLITE_TRANSIENT);
    }
  }
  auto rows = step_all(db_, st, changes);
  sqlite3_finalize(st);
  return rows;
}

std::vector<Row> FixtureDb::query(const std::string& sql) {
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
    ADD_FAILURE() << "prepare failed: " << sqlite3_errmsg(db_) << "\n" << sql;
    return {};
  }
  auto rows = step_all(db_, st, nullptr);
  sqlite3_finalize(st);
  return rows;
}

}  // namespace kq::db::testing
