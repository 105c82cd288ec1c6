// Every list and lookup of the module that restricts work orders by a date or
// by a work-order number searches an index: the query plan SQLite makes for
// the statement as the product translates it reads no work-order table whole.
// The plans come from the schema alone (the embedded default keeps no
// statistics), so the demo shop gives the plans of a shop of any size.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "data/demo/demo_shop.h"
#include "platform/db/transaction.h"
#include "platform/value/text.h"
#include "support/module_statements.h"
#include "work_order_searches.h"

namespace kq {
namespace {

using kq::testing::growing_tables;
using kq::testing::kExempt;
using kq::testing::ModuleStatement;
using kq::testing::restricts_by_day_or_number;

void company(sqlite3_context* ctx, int, sqlite3_value**) { sqlite3_result_text(ctx, "01", -1, SQLITE_STATIC); }

class ModuleQueryPlans : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = std::filesystem::temp_directory_path() / ("kq_plans_" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir_);
    demo::DemoOptions options;
    options.today = *DateTime::parse("2026/12/08");
    options.hash_password = [](std::string_view p) { return "plain:" + std::string(p); };
    auto built = demo::build_demo_files(dir_ / "shop.db", options, true);
    ASSERT_TRUE(built) << built.error();
  }
  static void TearDownTestSuite() { std::filesystem::remove_all(dir_); }

  void SetUp() override {
    db::ConnectOptions o;
    o.database = (dir_ / "shop.db").string();
    o.company = "01";
    auto r = sqlca.connect(o);
    ASSERT_TRUE(r) << r.error();
    ASSERT_EQ(sqlite3_open_v2(o.database.c_str(), &raw_, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    sqlite3_create_function_v2(raw_, "f_retu_gsh", 0, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, company, nullptr,
                               nullptr, nullptr);
  }
  void TearDown() override { sqlite3_close_v2(raw_); }

  bool known_table(const std::string& name) {
    sqlite3_stmt* st = nullptr;
    std::string sql = "select 1 from sqlite_master where type in ('table', 'view') and lower(name) = ? union all "
                      "select 1 from kq_club.sqlite_master where type = 'table' and lower(name) = ?";
    if (sqlite3_prepare_v2(raw_, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) return false;
    sqlite3_bind_text(st, 1, name.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(st, 2, name.c_str(), -1, SQLITE_TRANSIENT);
    const bool found = sqlite3_step(st) == SQLITE_ROW;
    sqlite3_finalize(st);
    return found;
  }

  // The lines of the query plan of a translated statement.
  std::vector<std::string> plan(const std::string& sql) {
    std::vector<std::string> out;
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(raw_, ("explain query plan " + sql).c_str(), -1, &st, nullptr) != SQLITE_OK) {
      ADD_FAILURE() << sqlite3_errmsg(raw_) << "\n" << sql;
      return out;
    }
    while (sqlite3_step(st) == SQLITE_ROW) out.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(st, 3)));
    sqlite3_finalize(st);
    return out;
  }

  static inline std::filesystem::path dir_;
  db::Transaction sqlca;
  sqlite3* raw_ = nullptr;
};

// The table an index belongs to, lower case; empty when there is no such index.
std::string table_of_index(sqlite3* db, const std::string& index) {
  std::string out;
  for (const char* schema : {"main", "kq_club"}) {
    std::string sql = std::string("select tbl_name from ") + schema + ".sqlite_master where type = 'index' and name = ?";
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) continue;
    sqlite3_bind_text(st, 1, index.c_str(), -1, SQLITE_TRANSIENT);
    if (sqlite3_step(st) == SQLITE_ROW) out = text::lower(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    if (!out.empty()) break;
  }
  return out;
}

TEST_F(ModuleQueryPlans, ListsAndLookupsByDayOrWorkOrderNumberSearchAnIndex) {
  // "SCAN h", "SCAN svcb20c USING INDEX ix", "SEARCH h USING INDEX ix (cgsh=? AND djsrq>?)".
  const std::regex step(R"(^(SCAN|SEARCH) (\w+)(?: AS \w+)?(?: USING (?:COVERING )?INDEX (\w+)(?: \((.*)\))?)?)");
  // Reading every row of the company is reading the whole table in a shop.
  const std::regex company_only(R"(^cgsh=\?$)");
  size_t checked = 0;
  for (const ModuleStatement& st : kq::testing::module_statements()) {
    if (!restricts_by_day_or_number(st.sql) || kExempt.count(st.name)) continue;
    auto t = sqlca.connection()->dialect().translate(st.sql, sqlca.connection()->catalog());
    ASSERT_TRUE(t) << st.name << ": " << t.error();
    ++checked;
    std::vector<std::string> lines = plan(t->sql);
    std::string shown;
    for (const std::string& l : lines) shown += "  " + l + "\n";
    for (const std::string& l : lines) {
      std::smatch m;
      if (!std::regex_search(l, m, step)) continue;
      // The table: the index's, else the name (an alias names no table: then
      // any whole read counts).
      std::string table = m[3].matched ? table_of_index(raw_, m[3].str()) : text::lower(m[2].str());
      const bool growing = growing_tables().count(table) || !known_table(table);
      if (!growing) continue;
      const bool searched = m[1] == "SEARCH" && !std::regex_match(m[4].str(), company_only);
      EXPECT_TRUE(searched) << st.name << " reads " << (table.empty() ? m[2].str() : table)
                            << " whole (\"" << l << "\"):\n" << shown << t->sql;
    }
  }
  EXPECT_GT(checked, 20u) << "statements by day or work-order number";
}

// The cancellation list of a month is a hundred thousand work orders: read
// from the settlement-day index alone they come in the index's order; a
// column the index lacks would fetch each row from the table again, wherever
// it lies in the file (twice the work). A column added to the list belongs
// in the index too.
TEST_F(ModuleQueryPlans, TheCancellationListReadsWorkOrdersFromTheSettlementDayIndexAlone) {
  auto t = sqlca.connection()->dialect().translate(kq::testing::module_sql("d_svc305_01"), sqlca.connection()->catalog());
  ASSERT_TRUE(t) << t.error();
  std::string shown;
  bool covered = false;
  for (const std::string& l : plan(t->sql)) {
    shown += "  " + l + "\n";
    covered = covered || l.starts_with("SEARCH h USING COVERING INDEX ix_svcb20c_djsrq (cgsh=? AND djsrq>");
  }
  EXPECT_TRUE(covered) << "d_svc305_01 reads svcb20c beside the index:\n" << shown;
}

}  // namespace
}  // namespace kq
