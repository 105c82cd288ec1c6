#pragma once
// An in-memory SQLite database with the fixture schema (fixture_schema.h),
// the club tables in it as kq_club_<table>, and the function f_retu_gsh(); a
// Catalog read from its declared column types; and a small runner that binds
// host variables by name the way a backend does (by the parameter's target)
// and returns rows as text.
#include <sqlite3.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/db/dialect/catalog.h"
#include "platform/db/dialect/dialect.h"

namespace kq::db::testing {

// A host variable's value: null, a whole number, a decimal (as double) or a text.
using HostValue = std::variant<std::nullptr_t, long long, double, std::string>;
using Row = std::vector<std::string>;  // column texts; "NULL" for null

class FixtureDb {
 public:
  FixtureDb();
  ~FixtureDb();
  FixtureDb(const FixtureDb&) = delete;
  FixtureDb& operator=(const FixtureDb&) = delete;

  sqlite3* db() const { return db_; }
  // The company code that f_retu_gsh() returns.
  void set_company(std::string company) { company_ = std::move(company); }
  const Catalog& catalog() const;

  // Runs plain SQLite text (fixture data); an error fails the current test.
  void exec(const std::string& sql);
  // The error of preparing `sql` on this database; empty when it prepares.
  std::string prepare_error(const std::string& sql, int* parameter_count = nullptr) const;
  // Runs a translation with values by host-variable name. A text bound for a
  // DateTime target is stored as "YYYY-MM-DD HH:MM:SS", as the backend does.
  // Returns the rows (none for a change); sets `changes` to the rows changed.
  std::vector<Row> run(const Translation& t, const std::map<std::string, HostValue>& values, int* changes = nullptr);
  // Rows of plain SQLite text.
  std::vector<Row> query(const std::string& sql);

 private:
  static void company_function(sqlite3_context* ctx, int, sqlite3_value**);
  sqlite3* db_ = nullptr;
  std::string company_ = "01";
  std::unique_ptr<kq::db::Catalog> catalog_;
};

}  // namespace kq::db::testing
