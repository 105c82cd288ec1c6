// On PostgreSQL too, every list and lookup of the module that restricts work
// orders by a day or by a work-order number can search an index: the plan
// the server makes for the statement as the product translates it reads no
// work-order table whole, nor by the company alone.
//
// The plan checked is the generic one (the plan of the prepared statement
// for any values, which the server keeps once a workstation has run a
// statement a few times), made with sequential reads priced out
// (enable_seqscan = off): the demo holds a few hundred work orders, where
// reading them all is rightly the cheaper plan, so its statistics would not
// show what a shop of a million work orders gets. With sequential reads
// priced out the server still reads a table whole when no index can serve the
// condition, which is the fault this test is for (a day compared as text
// over an expression of the column).
#include <gtest/gtest.h>
#include <libpq-fe.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "platform/db/transaction.h"
#include "platform/value/text.h"
#include "support/module_statements.h"
#include "support/server_demo_shop.h"
#include "work_order_searches.h"

namespace kq {
namespace {

using kq::testing::ModuleStatement;

kq::testing::DemoOnBothBackends& demo_shop() {
  static auto* demo = new kq::testing::DemoOnBothBackends("2026/12/08");
  return *demo;
}

class ModuleQueryPlansOnPostgresql : public ::testing::Test {
 protected:
  void SetUp() override {
    KQ_NEED_SERVER();
    ASSERT_TRUE(demo_shop().has_server());
    auto r = sqlca.connect(demo_shop().server_options());
    ASSERT_TRUE(r) << r.error();
    raw_ = PQconnectdb(demo_shop().server_options().server.c_str());
    ASSERT_EQ(PQstatus(raw_), CONNECTION_OK) << PQerrorMessage(raw_);
    PQsetNoticeProcessor(raw_, [](void*, const char*) {}, nullptr);
    if (!filled_) {
      // Work orders of two years beside the demo's, so that the statistics
      // are those of a shop: reading them all costs what it costs there.
      for (const char* table : {"svcb20c", "svcb20c_h"}) {
        const std::string prefix = std::string(table) == "svcb20c" ? "P" : "Q";
        ASSERT_EQ(run(std::string("INSERT INTO ") + table + " (cwtsbh, cgsh, id, cwxzt, dsxrq, djsrq) SELECT '" + prefix +
                      "' || lpad(g::text, 12, '0'), '01', 1000000 + g, '2', timestamp '2024-01-01' + g * interval "
                      "'17 minutes', timestamp '2024-01-01' + g * interval '17 minutes' + interval '2 days' FROM "
                      "generate_series(1, 40000) g"),
                  "");
      }
      ASSERT_EQ(run("ANALYZE"), "");
      filled_ = true;
    }
    // The company as the backend sets it: the planner reads f_retu_gsh()'s
    // value when it weighs "cgsh = f_retu_gsh()".
    ASSERT_EQ(run("SELECT set_config('kq.company', '01', false)"), "");
    ASSERT_EQ(run("SET enable_seqscan = off"), "");
    ASSERT_EQ(run("SET plan_cache_mode = force_generic_plan"), "");
  }
  void TearDown() override {
    if (raw_) PQfinish(raw_);
  }

  // Runs `sql`; "" or the server's error.
  std::string run(const std::string& sql, std::string* first_value = nullptr) {
    PGresult* r = PQexec(raw_, sql.c_str());
    std::string error;
    if (PQresultStatus(r) != PGRES_COMMAND_OK && PQresultStatus(r) != PGRES_TUPLES_OK)
      error = PQresultErrorMessage(r);
    else if (first_value && PQntuples(r) > 0)
      *first_value = PQgetvalue(r, 0, 0);
    PQclear(r);
    return error;
  }

  // The generic plan of a translated statement with `params` placeholders,
  // as EXPLAIN (FORMAT JSON) gives it; a parameter whose type nothing tells is
  // text, as the backend takes it.
  nlohmann::json plan(const std::string& sql, size_t params) {
    std::vector<Oid> types;
    for (;;) {
      PGresult* r = PQprepare(raw_, "q", sql.c_str(), static_cast<int>(types.size()), types.data());
      const bool ok = PQresultStatus(r) == PGRES_COMMAND_OK;
      const char* state = PQresultErrorField(r, PG_DIAG_SQLSTATE);
      const char* msg = PQresultErrorField(r, PG_DIAG_MESSAGE_PRIMARY);
      std::string error = ok ? "" : PQresultErrorMessage(r);
      const char* dollar = msg ? std::strchr(msg, '$') : nullptr;
      const size_t n = dollar ? static_cast<size_t>(std::atoi(dollar + 1)) : 0;
      PQclear(r);
      if (ok) break;
      if (!state || std::string(state) != "42P18" || n < 1 || (n <= types.size() && types[n - 1] == 25)) {
        ADD_FAILURE() << error << "\n" << sql;
        return nullptr;
      }
      if (types.size() < n) types.resize(n, 0);
      types[n - 1] = 25;  // text
    }
    std::string args;
    for (size_t i = 0; i < params; ++i) args += (i ? ", NULL" : "NULL");
    std::string shown;
    std::string e = run("EXPLAIN (FORMAT JSON) EXECUTE q" + (params ? "(" + args + ")" : std::string()), &shown);
    run("DEALLOCATE q");
    if (!e.empty()) {
      ADD_FAILURE() << e << "\n" << sql;
      return nullptr;
    }
    return nlohmann::json::parse(shown);
  }

  // The table an index belongs to, lower case; empty when there is none.
  std::string table_of_index(const std::string& index) {
    std::string table;
    run("SELECT lower(tablename) FROM pg_indexes WHERE indexname = '" + index + "'", &table);
    return table;
  }

  static inline bool filled_ = false;
  db::Transaction sqlca;
  PGconn* raw_ = nullptr;
};

// Every scan node of a plan, depth first.
void each_node(const nlohmann::json& node, const std::function<void(const nlohmann::json&)>& fn) {
  fn(node);
  if (node.contains("Plans"))
    for (const auto& child : node["Plans"]) each_node(child, fn);
}

TEST_F(ModuleQueryPlansOnPostgresql, ListsAndLookupsByDayOrWorkOrderNumberSearchAnIndex) {
  // The indexes that serve the lists exist on the server as in the file,
  // led by the company and the day (the settlement day's carries more).
  for (const char* index : {"ix_svcb20c_djsrq", "ix_svcb20c_dsxrq"}) {
    std::string def;
    EXPECT_EQ(run(std::string("SELECT indexdef FROM pg_indexes WHERE indexname = '") + index + "'", &def), "");
    const std::string lead = std::string("ON public.svcb20c USING btree (cgsh, ") + (index + 11);
    const std::size_t at = def.find(lead);
    const char next = at == std::string::npos || at + lead.size() >= def.size() ? '\0' : def[at + lead.size()];
    EXPECT_TRUE(next == ')' || next == ',') << index << ": " << (def.empty() ? "missing" : def);
  }

  size_t checked = 0, by_day_on_svcb20c = 0;
  for (const ModuleStatement& st : kq::testing::module_statements()) {
    if (!kq::testing::restricts_by_day_or_number(st.sql) || kq::testing::kExempt.count(st.name)) continue;
    auto t = sqlca.connection()->dialect().translate(st.sql, sqlca.connection()->catalog());
    ASSERT_TRUE(t) << st.name << ": " << t.error();
    ++checked;
    nlohmann::json p = plan(t->sql, t->params.size());
    if (p.is_null()) continue;
    const std::string shown = p.dump(1);
    bool searched_work_orders_by_day = false;
    each_node(p[0]["Plan"], [&](const nlohmann::json& node) {
      const std::string type = node.value("Node Type", "");
      const bool index_scan = type == "Index Scan" || type == "Index Only Scan" || type == "Bitmap Index Scan";
      if (type != "Seq Scan" && !index_scan) return;
      const std::string table =
          index_scan ? table_of_index(node.value("Index Name", "")) : text::lower(node.value("Relation Name", ""));
      if (!kq::testing::growing_tables().count(table)) return;
      const std::string cond = node.value("Index Cond", "");
      // Reading every row of the company is reading the whole table in a shop.
      const bool company_only = cond.empty() || (cond.find("cgsh") != std::string::npos && cond.find(" AND ") == std::string::npos);
      EXPECT_TRUE(index_scan && !company_only)
          << st.name << " reads " << table << " whole (" << type << (cond.empty() ? "" : " on " + cond) << "):\n"
          << t->sql << "\n" << shown;
      if (index_scan && table == "svcb20c" && (cond.find("djsrq") != std::string::npos || cond.find("dsxrq") != std::string::npos))
        searched_work_orders_by_day = true;
    });
    if (searched_work_orders_by_day) ++by_day_on_svcb20c;
  }
  EXPECT_GT(checked, 20u) << "statements by day or work-order number";
  // The lists by day (d_svc305_01, d_svc305_01_01, d_svc309_02, d_svc310_02).
  EXPECT_GE(by_day_on_svcb20c, 4u) << "statements that search svcb20c by a day";
}

}  // namespace
}  // namespace kq
