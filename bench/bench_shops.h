#pragma once
// What the benchmarks share: the generated demo shops they measure on, one
// connection to a shop, a data window retrieved as the windows retrieve it,
// and the medians and p99s they report.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <iostream>
#include <string>
#include <utility>
#include <vector>

#include "data/demo/demo_shop.h"
#include "module.h"
#include "platform/db/transaction.h"
#include "platform/dw/datawindow/datawindow.h"
#include "platform/dw/definition/definition_set.h"

namespace kq::bench {

// The build folder of the running benchmark (bench/..).
inline std::filesystem::path build_dir() {
  return std::filesystem::canonical("/proc/self/exe").parent_path().parent_path();
}

// The demo shop at `path` with `scale` generated work orders settled over
// `days` days up to `today`: generated when missing (minutes for large
// scales) and kept for later runs. False, with the reason on stderr, when it
// cannot be made.
inline bool ensure_demo_shop(const std::filesystem::path& path, int64_t scale, int days, const char* today) {
  if (std::filesystem::exists(path)) return true;
  std::cerr << "generating " << path << " (" << scale << " work orders)\n";
  std::filesystem::create_directories(path.parent_path());
  demo::DemoOptions o;
  o.today = *DateTime::parse(today);
  o.scale = scale;
  o.days = days;
  auto r = demo::build_demo_files(path, o, true);
  if (!r) std::cerr << r.error() << '\n';
  return static_cast<bool>(r);
}

// `sqlca` connected with `options` once (the module installed first).
inline db::Transaction& connect_once(db::Transaction& sqlca, const db::ConnectOptions& options) {
  if (!sqlca.connected()) {
    module::install();
    if (auto r = sqlca.connect(options); !r) std::cerr << r.error() << '\n';
  }
  return sqlca;
}

inline double seconds_since(std::chrono::steady_clock::time_point t0) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

// Each iteration retrieves data window `name` with `args` on `sqlca` into a
// new data window, as a window does, wall clock; counter rows. With
// `end_read`, the read transaction is ended after each retrieval (a server
// keeps one open until then).
inline void retrieve_each_iteration(benchmark::State& state, db::Transaction& sqlca, const char* name,
                                    const std::vector<Value>& args, bool end_read = false) {
  long rows = 0;
  for (auto _ : state) {
    const auto t0 = std::chrono::steady_clock::now();
    dw::DataWindow dw;
    if (dw.dataobject(name) != 1) return state.SkipWithError(dw.last_error().c_str());
    dw.settransobject(sqlca);
    rows = dw.retrieve(args);
    if (rows < 0) return state.SkipWithError(sqlca.sqlerrtext.c_str());
    if (end_read) sqlca.rollback();
    state.SetIterationTime(seconds_since(t0));
  }
  state.counters["rows"] = static_cast<double>(rows);
}

// Each iteration steps through data window `name`'s query with each day test
// in parentheses: the same rows, but no range on the column can be taken from
// it (how every list read the work orders before day ranges); counter rows.
inline void former_day_test_each_iteration(benchmark::State& state, db::Transaction& sqlca, const char* name,
                                           const std::vector<std::pair<std::string, Value>>& args,
                                           bool end_read = false) {
  auto def = dw::definition(name);
  if (!def.ok()) return state.SkipWithError(def.error().c_str());
  std::string sql = (*def)->query;
  const std::string day_test = "convert(char(10),djsrq,111)";
  for (size_t at = sql.find(day_test); at != std::string::npos; at = sql.find(day_test, at + day_test.size() + 2))
    sql.replace(at, day_test.size(), "(" + day_test + ")");
  std::vector<db::HostVar> vars;
  for (const auto& [n, v] : args) vars.emplace_back(n, v);
  long rows = 0;
  for (auto _ : state) {
    const auto t0 = std::chrono::steady_clock::now();
    auto cursor = sqlca.open_cursor(sql, vars);
    if (!cursor) return state.SkipWithError(sqlca.sqlerrtext.c_str());
    std::vector<Value> row(static_cast<size_t>(cursor->column_count()));
    rows = 0;
    while (cursor->next()) {
      cursor->read_row(row);
      ++rows;
    }
    if (end_read) sqlca.rollback();
    state.SetIterationTime(seconds_since(t0));
  }
  state.counters["rows"] = static_cast<double>(rows);
}

inline double median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

inline double p99(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v[std::min(v.size() - 1, v.size() * 99 / 100)];
}

}  // namespace kq::bench
