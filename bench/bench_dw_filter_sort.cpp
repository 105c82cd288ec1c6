// Filter and sort of 1,000,000 rows of the settlement print list through the
// data window expression engine (over rows of Values, as a RowContext),
// each measured against baselines over the same stored values:
//   hand     a hand-written loop (filter) or std::stable_sort (sort) reading
//            the rows through the same Value accessors as the engine;
//   plain    (sort) std::sort of plain key records {djsrq seconds, null
//            flags, cwtsbh bytes, row} copied out once beforehand: no
//            accessor, no Value; the baseline the engine is judged by;
//   sqlite   SQLite doing the same on an in-memory table.
//
// Counters: ratio_vs_hand, ratio_vs_plain and ratio_vs_sqlite = engine time /
// baseline time, all in CPU time of the same iterations (the engine's data
// window path, over the row store, is bench_dw_window_filter_sort).
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "platform/dw/expression/filter.h"
#include "platform/dw/expression/name_table.h"
#include "platform/dw/expression/row_context.h"
#include "platform/dw/expression/sort.h"

namespace {

using kq::DateTime;
using kq::Type;
using kq::Value;
using kq::dw::expr::Filter;
using kq::dw::expr::NameTable;
using kq::dw::expr::RowContext;
using kq::dw::expr::RowId;
using kq::dw::expr::Sort;

constexpr size_t kRows = 1'000'000;
constexpr const char* kFilter = "(cwxzt = '1' or (cwxzt = '2' and lqqbs = 0)) and (1 = 1)";
constexpr const char* kSort = "djsrq D ,cwtsbh A";
enum Column : size_t { kBs, kCwtsbh, kCwxzt, kLqqbs, kDjsrq, kWidth };

// The rows, row after row, as a data window would hold them.
class PrintList : public RowContext {
 public:
  PrintList() {
    std::mt19937_64 rng(42);
    const int64_t start = DateTime::parse("2023/01/01")->seconds();
    store_.reserve(kRows * kWidth);
    for (size_t i = 0; i < kRows; ++i) {
      char number[16];
      std::snprintf(number, sizeof number, "%012llu", static_cast<unsigned long long>(rng() % 1'000'000'000'000ULL));
      std::string cwtsbh = (rng() % 10 == 0 ? std::string("A-") + (number + 1) : std::string("B") + number);
      store_.emplace_back(rng() % 10 < 3 ? "*" : "");
      store_.emplace_back(std::move(cwtsbh));
      store_.emplace_back(std::string(1, static_cast<char>('0' + rng() % 3)));
      store_.emplace_back(static_cast<long long>(rng() % 10 == 0 ? 1 : 0));
      store_.emplace_back(DateTime::from_seconds(start + static_cast<int64_t>(rng() % (365 * 24 * 60)) * 60));
    }
    names_.add_column("bs", Type::String);
    names_.add_column("cwtsbh", Type::String);
    names_.add_column("cwxzt", Type::String);
    names_.add_column("lqqbs", Type::Long);
    names_.add_column("djsrq", Type::DateTime);
    rows_.resize(kRows);
    std::iota(rows_.begin(), rows_.end(), RowId{0});
  }

  const Value* columns(RowId row) const override { return row == kq::dw::expr::kNoRow ? nullptr : &store_[row * kWidth]; }
  Value computed(RowId, size_t) const override { return Value(); }
  const Value& argument(size_t) const override { return null_; }
  int64_t current_row() const override { return 0; }
  int64_t row_count() const override { return static_cast<int64_t>(kRows); }
  RowId row_at(int64_t number) const override { return static_cast<RowId>(number - 1); }
  int64_t row_number(RowId row) const override { return static_cast<int64_t>(row + 1); }

  const Value& at(RowId row, Column c) const { return store_[row * kWidth + c]; }
  const std::vector<RowId>& rows() const { return rows_; }
  const NameTable& names() const { return names_; }

 private:
  std::vector<Value> store_;
  std::vector<RowId> rows_;
  NameTable names_;
  Value null_;
};

const PrintList& list() {
  static const PrintList l;
  return l;
}

// The same rows in an in-memory SQLite table.
class SqliteList {
 public:
  SqliteList() {
    sqlite3_open(":memory:", &db_);
    exec("create table t (id integer primary key, bs text, cwtsbh text, cwxzt text, lqqbs integer, djsrq text)");
    exec("begin");
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db_, "insert into t values (?, ?, ?, ?, ?, ?)", -1, &insert, nullptr);
    const PrintList& l = list();
    for (RowId r = 0; r < kRows; ++r) {
      sqlite3_bind_int64(insert, 1, static_cast<sqlite3_int64>(r));
      sqlite3_bind_text(insert, 2, l.at(r, kBs).str().c_str(), -1, SQLITE_TRANSIENT);
      sqlite3_bind_text(insert, 3, l.at(r, kCwtsbh).str().c_str(), -1, SQLITE_TRANSIENT);
      sqlite3_bind_text(insert, 4, l.at(r, kCwxzt).str().c_str(), -1, SQLITE_TRANSIENT);
      sqlite3_bind_int64(insert, 5, l.at(r, kLqqbs).lng());
      sqlite3_bind_text(insert, 6, l.at(r, kDjsrq).dt().to_iso().c_str(), -1, SQLITE_TRANSIENT);
      sqlite3_step(insert);
      sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    exec("commit");
    sqlite3_prepare_v2(db_, (std::string("select id from t where ") + kFilter).c_str(), -1, &filter_, nullptr);
    sqlite3_prepare_v2(db_, "select id from t order by djsrq desc, cwtsbh asc", -1, &sort_, nullptr);
  }
  ~SqliteList() {
    sqlite3_finalize(filter_);
    sqlite3_finalize(sort_);
    sqlite3_close(db_);
  }

  std::vector<RowId> run_filter() const { return run(filter_); }
  std::vector<RowId> run_sort() const { return run(sort_); }

 private:
  void exec(const char* sql) { sqlite3_exec(db_, sql, nullptr, nullptr, nullptr); }
  static std::vector<RowId> run(sqlite3_stmt* s) {
    std::vector<RowId> out;
    out.reserve(kRows);
    sqlite3_reset(s);
    while (sqlite3_step(s) == SQLITE_ROW) out.push_back(static_cast<RowId>(sqlite3_column_int64(s, 0)));
    return out;
  }

  sqlite3* db_ = nullptr;
  sqlite3_stmt* filter_ = nullptr;
  sqlite3_stmt* sort_ = nullptr;
};

const SqliteList& sqlite_list() {
  static const SqliteList s;
  return s;
}

// The filter written by hand for these columns, with the same null rules.
void hand_filter(std::vector<RowId>& kept, std::vector<RowId>& dropped) {
  const PrintList& l = list();
  for (RowId r : l.rows()) {
    const Value& x = l.at(r, kCwxzt);
    bool keep = false;
    if (x.is_string()) {
      const std::string& s = x.str();
      if (s == "1") {
        keep = true;
      } else if (s == "2") {
        const Value& q = l.at(r, kLqqbs);
        keep = q.is_long() && q.lng() == 0;
      }
    }
    (keep ? kept : dropped).push_back(r);
  }
}

// The sort written by hand: djsrq descending (nulls last), cwtsbh ascending (nulls first).
void hand_sort(std::vector<RowId>& rows) {
  const PrintList& l = list();
  std::stable_sort(rows.begin(), rows.end(), [&l](RowId a, RowId b) {
    const Value& da = l.at(a, kDjsrq);
    const Value& db = l.at(b, kDjsrq);
    if (da.is_null() != db.is_null()) return db.is_null();
    if (!da.is_null() && da.dt() != db.dt()) return db.dt() < da.dt();
    const Value& ca = l.at(a, kCwtsbh);
    const Value& cb = l.at(b, kCwtsbh);
    if (ca.is_null() != cb.is_null()) return ca.is_null();
    return !ca.is_null() && ca.str() < cb.str();
  });
}

// The plain keys of the sort, copied out of the rows once.
struct PlainKey {
  int64_t djsrq;
  bool djsrq_null;
  bool cwtsbh_null;
  std::string_view cwtsbh;
  RowId row;
};

std::vector<PlainKey> plain_keys() {
  const PrintList& l = list();
  std::vector<PlainKey> keys;
  keys.reserve(kRows);
  for (RowId r : l.rows()) {
    const Value& d = l.at(r, kDjsrq);
    const Value& c = l.at(r, kCwtsbh);
    keys.push_back({d.is_null() ? 0 : d.dt().seconds(), d.is_null(), c.is_null(),
                    c.is_null() ? std::string_view() : std::string_view(c.str()), r});
  }
  return keys;
}

// std::sort with the row as the last key: the stable sort's order.
void plain_sort(std::vector<PlainKey>& keys) {
  std::sort(keys.begin(), keys.end(), [](const PlainKey& a, const PlainKey& b) {
    if (a.djsrq_null != b.djsrq_null) return b.djsrq_null;
    if (a.djsrq != b.djsrq) return a.djsrq > b.djsrq;
    if (a.cwtsbh_null != b.cwtsbh_null) return a.cwtsbh_null;
    if (int c = a.cwtsbh.compare(b.cwtsbh); c != 0) return c < 0;
    return a.row < b.row;
  });
}

// CPU time of this thread, so that ratios hold on a machine shared with other work.
double cpu_seconds() {
  timespec ts{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

template <typename F>
double seconds_of(F&& f) {
  double t0 = cpu_seconds();
  f();
  return cpu_seconds() - t0;
}

void BM_FilterEngine(benchmark::State& state) {
  const PrintList& l = list();
  auto filter = Filter::compile(kFilter, l.names());
  if (!filter) {
    state.SkipWithError(filter.error().c_str());
    return;
  }
  sqlite_list();
  double engine = 0, hand = 0, sql = 0;
  size_t kept_rows = 0;
  for (auto _ : state) {
    std::vector<RowId> kept, dropped;
    kept.reserve(kRows);
    dropped.reserve(kRows);
    engine += seconds_of([&] { filter->apply(l, l.rows(), kept, dropped); });
    kept_rows = kept.size();
    benchmark::DoNotOptimize(kept.data());
    state.PauseTiming();
    std::vector<RowId> hk, hd;
    hk.reserve(kRows);
    hd.reserve(kRows);
    hand += seconds_of([&] { hand_filter(hk, hd); });
    sql += seconds_of([&] { benchmark::DoNotOptimize(sqlite_list().run_filter().size()); });
    if (hk != kept) state.SkipWithError("engine and hand-written filter disagree");
    state.ResumeTiming();
  }
  state.counters["kept"] = static_cast<double>(kept_rows);
  state.counters["ratio_vs_hand"] = engine / hand;
  state.counters["ratio_vs_sqlite"] = engine / sql;
}

void BM_FilterHandWritten(benchmark::State& state) {
  for (auto _ : state) {
    std::vector<RowId> kept, dropped;
    kept.reserve(kRows);
    dropped.reserve(kRows);
    hand_filter(kept, dropped);
    benchmark::DoNotOptimize(kept.data());
  }
}

void BM_FilterSqlite(benchmark::State& state) {
  const SqliteList& s = sqlite_list();
  for (auto _ : state) benchmark::DoNotOptimize(s.run_filter().size());
}

void BM_SortEngine(benchmark::State& state) {
  const PrintList& l = list();
  auto sort = Sort::compile(kSort, l.names());
  if (!sort) {
    state.SkipWithError(sort.error().c_str());
    return;
  }
  sqlite_list();
  const std::vector<PlainKey> fresh = plain_keys();
  double engine = 0, hand = 0, sql = 0, plain = 0;
  for (auto _ : state) {
    std::vector<RowId> rows = l.rows();
    engine += seconds_of([&] { sort->apply(l, rows); });
    benchmark::DoNotOptimize(rows.data());
    state.PauseTiming();
    std::vector<RowId> hand_rows = l.rows();
    hand += seconds_of([&] { hand_sort(hand_rows); });
    std::vector<RowId> sql_rows;
    sql += seconds_of([&] { sql_rows = sqlite_list().run_sort(); });
    if (hand_rows != rows) state.SkipWithError("engine and hand-written sort disagree");
    std::vector<PlainKey> keys = fresh;
    plain += seconds_of([&] { plain_sort(keys); });
    for (size_t i = 0; i < kRows; i += 997)
      if (keys[i].row != rows[i]) state.SkipWithError("engine and plain std::sort disagree");
    state.ResumeTiming();
  }
  state.counters["ratio_vs_hand"] = engine / hand;
  state.counters["ratio_vs_plain"] = engine / plain;
  state.counters["ratio_vs_sqlite"] = engine / sql;
}

void BM_SortHandWritten(benchmark::State& state) {
  for (auto _ : state) {
    std::vector<RowId> rows = list().rows();
    hand_sort(rows);
    benchmark::DoNotOptimize(rows.data());
  }
}

void BM_SortSqlite(benchmark::State& state) {
  const SqliteList& s = sqlite_list();
  for (auto _ : state) benchmark::DoNotOptimize(s.run_sort().size());
}

BENCHMARK(BM_FilterEngine)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FilterHandWritten)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FilterSqlite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortEngine)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortHandWritten)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortSqlite)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
