// A shop of one million work orders (db demo --scale 1000000 --days 30, all
// settlements within the last 30 days up to 2026/12/08): what a cashier
// waits for on it, wall clock, medians of the repetitions.
//
//   OneDayList          the cancellation list of one day (d_svc305_01,
//                       2026/12/08 to 2026/12/08), retrieved into a data
//                       window as w_svc305 does
//   OpenedSettlement    the cancellation window opening a settlement: its
//                       data window d_svc305_01_01 retrieved for the day
//   *FormerDayTest      the same query stepped through with the day test
//                       written so that no range can be taken from it (the
//                       translation before day ranges: every work order of
//                       the company is read)
//   DwJson850k, DwCsv850k
//                       `kq_svc_309 dw d_svc309_02 2026/11/01 2026/12/08
//                       --format json|csv --out /dev/null`: the print list
//                       of every settled work order (about 850 000 rows, six
//                       totals over all rows), as a process
//
// Counters: rows (rows read); for the dw command peak_mb (its peak resident
// memory) and cpu_s (its user and system CPU seconds: on a shared machine
// the wall time also counts the waits for a core).
//
// The shop is generated once (about 3 minutes) into build/bench_cache/ and
// kept there; delete the folder to generate it anew.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

#include "data/demo/demo_shop.h"
#include "module.h"
#include "platform/db/transaction.h"
#include "platform/dw/datawindow/datawindow.h"
#include "platform/dw/definition/definition_set.h"

namespace {

namespace fs = std::filesystem;

fs::path build_dir() { return fs::canonical("/proc/self/exe").parent_path().parent_path(); }
fs::path shop_path() { return build_dir() / "bench_cache" / "shop_1m.db"; }

const char* const kDay = "2026/12/08";

bool ensure_shop() {
  static const bool ok = [] {
    if (fs::exists(shop_path())) return true;
    std::cerr << "generating " << shop_path() << " (about 3 minutes)\n";
    fs::create_directories(shop_path().parent_path());
    kq::demo::DemoOptions o;
    o.today = *kq::DateTime::parse(kDay);
    o.scale = 1000000;
    o.days = 30;
    auto r = kq::demo::build_demo_files(shop_path(), o, true);
    if (!r) std::cerr << r.error() << '\n';
    return static_cast<bool>(r);
  }();
  return ok;
}

kq::db::Transaction& shop() {
  static kq::db::Transaction sqlca;
  if (!sqlca.connected()) {
    kq::module::install();
    kq::db::ConnectOptions o;
    o.database = shop_path().string();
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
    state.SetIterationTime(seconds_since(t0));
  }
  state.counters["rows"] = static_cast<double>(rows);
}

// The definition's query with each day test in parentheses: the same rows,
// but no range on the column can be taken from it.
void former_day_test(benchmark::State& state, const char* name, const std::vector<std::pair<std::string, kq::Value>>& args) {
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

// Runs the dw command; wall seconds, and the child's peak resident memory.
void dw_command(benchmark::State& state, const char* format) {
  if (!ensure_shop()) return state.SkipWithError("no shop");
  const std::string binary = (build_dir() / "kq_svc_309").string();
  const std::string db = shop_path().string();
  for (auto _ : state) {
    const auto t0 = std::chrono::steady_clock::now();
    pid_t pid = fork();
    if (pid == 0) {
      execl(binary.c_str(), binary.c_str(), "dw", "d_svc309_02", "2026/11/01", kDay, "--db", db.c_str(), "--company",
            "01", "--format", format, "--out", "/dev/null", static_cast<char*>(nullptr));
      _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    state.SetIterationTime(seconds_since(t0));
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return state.SkipWithError("the dw command failed");
    state.counters["peak_mb"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
    auto secs = [](const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6; };
    state.counters["cpu_s"] = secs(usage.ru_utime) + secs(usage.ru_stime);
  }
}
void BM_DwJson850k(benchmark::State& state) { dw_command(state, "json"); }
void BM_DwCsv850k(benchmark::State& state) { dw_command(state, "csv"); }

}  // namespace

BENCHMARK(BM_OneDayList)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(BM_OneDayListFormerDayTest)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_OpenedSettlement)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(BM_OpenedSettlementFormerDayTest)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_DwJson850k)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3)->ReportAggregatesOnly(true);
BENCHMARK(BM_DwCsv850k)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3)->ReportAggregatesOnly(true);

BENCHMARK_MAIN();
