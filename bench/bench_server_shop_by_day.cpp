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

#include "bench_shops.h"
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
  kq::db::ConnectOptions o;
  o.backend = "postgresql";
  o.server = kq::bench::database_uri(kDatabase);
  o.company = "01";
  return kq::bench::connect_once(sqlca, o);
}

// Each read ends its transaction, as a window's retrieval on a server does.
void retrieve(benchmark::State& state, const char* name, std::vector<kq::Value> args) {
  if (!ensure_shop()) return state.SkipWithError("no shop");
  kq::bench::retrieve_each_iteration(state, shop(), name, args, true);
}

void former_day_test(benchmark::State& state, const char* name,
                     const std::vector<std::pair<std::string, kq::Value>>& args) {
  if (!ensure_shop()) return state.SkipWithError("no shop");
  kq::bench::former_day_test_each_iteration(state, shop(), name, args, true);
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
