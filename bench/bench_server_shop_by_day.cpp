// A shop on the database server (db demo --server … --scale 120000 --days 30,
// all settlements within the last 30 days up to 2026/12/08): the lists by
// day a cashier waits for, wall clock, medians of the repetitions.
//
//   OneDayList          the cancellation list of one day (d_svc305_01,
//                       2026/12/08 to 2026/12/08), retrieved into a data
//                       window as w_svc305 does
//   OpenedSettlement    the cancellation window opening a settlement: its
//                       data window d_svc305_01_01 retrieved for the day
//   *FormerDayTest      the same query with each day test in parentheses,
//                       so that no range can be taken from it (the
//                       translation before day ranges on the server: every
//                       work order of the company is read)
//
// Counter: rows (rows read).
//
// Needs a server (server_bench_support.h). The shop is generated once (a few
// minutes) into the database kq_bench_shop_by_day of that cluster, analysed,
// and kept; drop the database to generate it anew.
#include <benchmark/benchmark.h>

#include <chrono>
#include <iostream>
#include <string>
#include <utility>
#include <vector>

#include "data/demo/demo_shop.h"
#include "data/location/database_location.h"
#include "module.h"
#include "platform/db/transaction.h"
#include "platform/dw/datawindow/datawindow.h"
#include "platform/dw/definition/definition_set.h"
#include "server_bench_support.h"

namespace {

const char* const kDatabase = "kq_bench_shop_by_day";
const char* const kDay = "2026/12/08";
constexpr int kWorkOrders = 120000;

bool database_exists() {
  PGconn* c = PQconnectdb(kq::bench::server_uri().c_str());
  PGresult* r = PQexec(c, (std::string("SELECT 1 FROM pg_database WHERE datname = '") + kDatabase + "'").c_str());
  const bool found = PQresultStatus(r) == PGRES_TUPLES_OK && PQntuples(r) == 1;
  PQclear(r);
  PQfinish(c);
  return found;
}

bool ensure_shop() {
  static const bool ok = [] {
    if (kq::bench::server_uri().empty()) {
      std::cerr << "no server: set KQ_BENCH_POSTGRESQL (see scripts/pg_cluster.sh)\n";
      return false;
    }
    if (database_exists()) return true;
    std::cerr << "generating " << kWorkOrders << " work orders into " << kDatabase << " (a few minutes)\n";
    kq::bench::run_sql(kq::bench::server_uri(),
                       std::string("CREATE DATABASE ") + kDatabase + "_new TEMPLATE template0 ENCODING 'UTF8'");
    auto location = kq::data::server_location(kq::bench::database_uri(std::string(kDatabase) + "_new"));
    if (!location) return std::cerr << location.error() << '\n', false;
    auto connection = kq::data::open_location(*location, {.create = true, .company = {}});
    if (!connection) return std::cerr << connection.error() << '\n', false;
    kq::demo::DemoOptions o;
    o.today = *kq::DateTime::parse(kDay);
    o.scale = kWorkOrders;
    o.days = 30;
    if (auto r = kq::demo::fill_demo(**connection, o); !r) return std::cerr << r.error() << '\n', false;
    connection->reset();
    kq::bench::run_sql(kq::bench::database_uri(std::string(kDatabase) + "_new"), "ANALYZE");
    // Renamed only when whole: an interrupted generation leaves no shop behind to be measured.
    kq::bench::run_sql(kq::bench::server_uri(),
                       std::string("ALTER DATABASE ") + kDatabase + "_new RENAME TO " + kDatabase);
    return true;
  }();
  return ok;
}

kq::db::Transaction& shop() {
  static kq::db::Transaction sqlca;
  if (!sqlca.connected()) {
    kq::module::install();
    kq::db::ConnectOptions o;
    o.backend = "postgresql";
    o.server = kq::bench::database_uri(kDatabase);
    o.company = "01";
    auto r = sqlca.connect(o);
    if (!r) std::cerr << r.error() << '\n';
  }
  return sqlca;
}

double seconds_since(std::chrono::steady_clock::time_point t0) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

void retrieve(benchmark::State& state, const char* name, std::vector<kq::Value> args) {
  if (!ensure_shop()) return state.SkipWithError("no shop");
  kq::db::Transaction& sqlca = shop();
  long rows = 0;
  for (auto _ : state) {
    const auto t0 = std::chrono::steady_clock::now();
    kq::dw::DataWindow dw;
    if (dw.dataobject(name) != 1) return state.SkipWithError(dw.last_error().c_str());
    dw.settransobject(sqlca);
    rows = dw.retrieve(args);
    if (rows < 0) return state.SkipWithError(sqlca.sqlerrtext.c_str());
    sqlca.rollback();
    state.SetIterationTime(seconds_since(t0));
  }
  state.counters["rows"] = static_cast<double>(rows);
}

// The definition's query with each day test in parentheses: the same rows,
// but no range on the column can be taken from it.
void former_day_test(benchmark::State& state, const char* name,
                     const std::vector<std::pair<std::string, kq::Value>>& args) {
  if (!ensure_shop()) return state.SkipWithError("no shop");
  kq::db::Transaction& sqlca = shop();
  auto def = kq::dw::definition(name);
  if (!def.ok()) return state.SkipWithError(def.error().c_str());
  std::string sql = (*def)->query;
  const std::string day_test = "convert(char(10),djsrq,111)";
  for (size_t at = sql.find(day_test); at != std::string::npos; at = sql.find(day_test, at + day_test.size() + 2))
    sql.replace(at, day_test.size(), "(" + day_test + ")");
  std::vector<kq::db::HostVar> vars;
  for (const auto& [n, v] : args) vars.emplace_back(n, v);
  long rows = 0;
  for (auto _ : state) {
    const auto t0 = std::chrono::steady_clock::now();
    auto cursor = sqlca.open_cursor(sql, vars);
    if (!cursor) return state.SkipWithError(sqlca.sqlerrtext.c_str());
    std::vector<kq::Value> row(cursor->column_count());
    rows = 0;
    while (cursor->next()) {
      cursor->read_row(row);
      ++rows;
    }
    sqlca.rollback();
    state.SetIterationTime(seconds_since(t0));
  }
  state.counters["rows"] = static_cast<double>(rows);
}

void BM_OneDayList(benchmark::State& state) { retrieve(state, "d_svc305_01", {kq::Value(kDay), kq::Value(kDay)}); }
void BM_OneDayListFormerDayTest(benchmark::State& state) {
  former_day_test(state, "d_svc305_01", {{"jsrq", kq::Value(kDay)}, {"qsrq", kq::Value(kDay)}});
}
void BM_OpenedSettlement(benchmark::State& state) { retrieve(state, "d_svc305_01_01", {kq::Value(kDay)}); }
void BM_OpenedSettlementFormerDayTest(benchmark::State& state) {
  former_day_test(state, "d_svc305_01_01", {{"jsrq", kq::Value(kDay)}});
}

}  // namespace

BENCHMARK(BM_OneDayList)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_OneDayListFormerDayTest)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_OpenedSettlement)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_OpenedSettlementFormerDayTest)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(9)->ReportAggregatesOnly(true);

BENCHMARK_MAIN();
