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

#include "bench_shops.h"

namespace {

namespace fs = std::filesystem;

using kq::bench::build_dir;
using kq::bench::seconds_since;

fs::path shop_path() { return build_dir() / "bench_cache" / "shop_1m.db"; }

const char* const kDay = "2026/12/08";

bool ensure_shop() {
  static const bool ok = kq::bench::ensure_demo_shop(shop_path(), 1000000, 30, kDay);
  return ok;
}

kq::db::Transaction& shop() {
  static kq::db::Transaction sqlca;
  kq::db::ConnectOptions o;
  o.database = shop_path().string();
  o.company = "01";
  return kq::bench::connect_once(sqlca, o);
}

void retrieve(benchmark::State& state, const char* name, std::vector<kq::Value> args) {
  if (!ensure_shop()) return state.SkipWithError("no shop");
  kq::bench::retrieve_each_iteration(state, shop(), name, args);
}

void former_day_test(benchmark::State& state, const char* name, const std::vector<std::pair<std::string, kq::Value>>& args) {
  if (!ensure_shop()) return state.SkipWithError("no shop");
  kq::bench::former_day_test_each_iteration(state, shop(), name, args);
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
