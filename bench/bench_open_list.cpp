// The server's share of opening the 取消结算 list of an operator with CJ on
// `db demo --scale 120000 --days 30` (d_svc305_01, 2026/11/08 to 2026/12/08,
// about 102,000 rows), split into its parts, each the thread's CPU time per
// retrieval (the machine is shared; the files are in the page cache):
//
//   BareStep          a bare sqlite3_step loop over the dialect's translation
//                     of the query that reads every column by its stored kind
//   CursorRows        the transaction's cursor stepped, every row read into
//                     Values (what the backend and the cursor add)
//   Retrieve          DataWindow::retrieve: the cursor's rows converted into
//                     the data window's row store
//   RetrieveFirstPage Retrieve, then the grid's first 100 rows and its footer
//                     drawn as the window's state draws them (render_html)
//
// Counters: rows, and for BareStep the query plan's lines (printed once).
//
// The shop is generated once (about 10 s) into build/bench_cache/ and kept;
// delete the folder to generate it anew. KQ_BENCH_SHOP names another shop
// file.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <string>

#include "data/demo/demo_shop.h"
#include "bench_shops.h"
#include "module.h"
#include "platform/db/transaction.h"
#include "platform/dw/datawindow/datawindow.h"
#include "platform/dw/definition/definition_set.h"
#include "platform/dw/render/html_render.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kFrom = "2026/11/08";
constexpr const char* kTo = "2026/12/08";

using kq::bench::build_dir;
fs::path shop_path() {
  const char* other = std::getenv("KQ_BENCH_SHOP");
  return other && *other ? fs::path(other) : build_dir() / "bench_cache" / "shop_120k.db";
}

double thread_seconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

bool ensure_shop() {
  static const bool ok = kq::bench::ensure_demo_shop(shop_path(), 120000, 30, kTo);
  return ok;
}

kq::db::Transaction& shop() {
  static kq::db::Transaction sqlca;
  kq::db::ConnectOptions o;
  o.database = shop_path().string();
  o.company = "01";
  return kq::bench::connect_once(sqlca, o);
}

kq::db::Translation translation() {
  kq::db::Transaction& sqlca = shop();
  auto d = kq::dw::definition("d_svc305_01");
  auto tr = sqlca.connection()->dialect().translate((*d)->query, sqlca.connection()->catalog());
  if (!tr) std::cerr << tr.error() << '\n';
  return *tr;
}

void f_retu_gsh(sqlite3_context* ctx, int, sqlite3_value**) { sqlite3_result_text(ctx, "01", 2, SQLITE_STATIC); }

void BM_BareStep(benchmark::State& state) {
  if (!ensure_shop()) return state.SkipWithError("no shop");
  const kq::db::Translation tr = translation();
  sqlite3* db = nullptr;
  sqlite3_open_v2(shop_path().c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  sqlite3_create_function_v2(db, "f_retu_gsh", 0, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, f_retu_gsh, nullptr,
                             nullptr, nullptr);
  static bool shown = false;
  if (!shown) {
    shown = true;
    std::cerr << tr.sql << '\n';
    sqlite3_stmt* plan = nullptr;
    sqlite3_prepare_v2(db, ("EXPLAIN QUERY PLAN " + tr.sql).c_str(), -1, &plan, nullptr);
    for (std::size_t i = 0; i < tr.params.size(); ++i) sqlite3_bind_null(plan, static_cast<int>(i + 1));
    while (sqlite3_step(plan) == SQLITE_ROW) std::cerr << "  plan: " << sqlite3_column_text(plan, 3) << '\n';
    sqlite3_finalize(plan);
  }
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(db, tr.sql.c_str(), -1, &st, nullptr) != SQLITE_OK) return state.SkipWithError(sqlite3_errmsg(db));
  long rows = 0;
  for (auto _ : state) {
    const double t0 = thread_seconds();
    sqlite3_reset(st);
    for (std::size_t i = 0; i < tr.params.size(); ++i)
      sqlite3_bind_text(st, static_cast<int>(i + 1), tr.params[i].name == "jsrq" ? kTo : kFrom, -1, SQLITE_STATIC);
    rows = 0;
    std::size_t bytes = 0;
    double sum = 0;
    const int n = sqlite3_column_count(st);
    while (sqlite3_step(st) == SQLITE_ROW) {
      ++rows;
      for (int c = 0; c < n; ++c) {
        switch (sqlite3_column_type(st, c)) {
          case SQLITE_TEXT:
            benchmark::DoNotOptimize(sqlite3_column_text(st, c));
            bytes += static_cast<std::size_t>(sqlite3_column_bytes(st, c));
            break;
          case SQLITE_FLOAT: sum += sqlite3_column_double(st, c); break;
          case SQLITE_INTEGER: sum += static_cast<double>(sqlite3_column_int64(st, c)); break;
          default: break;
        }
      }
    }
    benchmark::DoNotOptimize(bytes);
    benchmark::DoNotOptimize(sum);
    state.SetIterationTime(thread_seconds() - t0);
  }
  sqlite3_finalize(st);
  sqlite3_close_v2(db);
  state.counters["rows"] = static_cast<double>(rows);
}

void BM_CursorRows(benchmark::State& state) {
  if (!ensure_shop()) return state.SkipWithError("no shop");
  kq::db::Transaction& sqlca = shop();
  auto d = kq::dw::definition("d_svc305_01");
  long rows = 0;
  for (auto _ : state) {
    const double t0 = thread_seconds();
    auto cursor = sqlca.open_cursor((*d)->query, {{"jsrq", kq::Value(kTo)}, {"qsrq", kq::Value(kFrom)}});
    if (!cursor) return state.SkipWithError(sqlca.sqlerrtext.c_str());
    std::vector<kq::Value> row(static_cast<std::size_t>(cursor->column_count()));
    rows = 0;
    while (cursor->next()) {
      cursor->read_row(row);
      ++rows;
    }
    state.SetIterationTime(thread_seconds() - t0);
  }
  state.counters["rows"] = static_cast<double>(rows);
}

void retrieve(benchmark::State& state, bool first_page) {
  if (!ensure_shop()) return state.SkipWithError("no shop");
  kq::db::Transaction& sqlca = shop();
  long rows = 0;
  for (auto _ : state) {
    kq::dw::DataWindow dw;
    if (dw.dataobject("d_svc305_01") != 1) return state.SkipWithError(dw.last_error().c_str());
    dw.settransobject(sqlca);
    const double t0 = thread_seconds();
    rows = dw.retrieve(kTo, kFrom);
    if (rows < 0) return state.SkipWithError(dw.last_error().c_str());
    if (first_page) {
      kq::dw::HtmlOptions html;
      html.id = "dw_display";
      html.editable = false;
      html.first_row = 1;
      html.row_window = 100;
      benchmark::DoNotOptimize(kq::dw::render_html(dw, html).size());
    }
    state.SetIterationTime(thread_seconds() - t0);
  }
  state.counters["rows"] = static_cast<double>(rows);
}

void BM_Retrieve(benchmark::State& state) { retrieve(state, false); }
void BM_RetrieveFirstPage(benchmark::State& state) { retrieve(state, true); }

}  // namespace

BENCHMARK(BM_BareStep)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(BM_CursorRows)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(BM_Retrieve)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(BM_RetrieveFirstPage)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(7)->ReportAggregatesOnly(true);

BENCHMARK_MAIN();
