// Filter and sort of 1,000,000 rows of the settlement print list inside a
// data window (the print window's filter and its sort "djsrq D ,cwtsbh A"),
// against a hand-written loop and std::stable_sort over the same values held
// in plain vectors.
//
// Counters: ms per operation of each side and the ratio data window / hand
// (target: at most 2).
//
// Figures (Release, 2 shared cores, CPU time per operation):
//   filter  data window  7.9 ms  hand 4.6 ms   1.7x   (was 28.9 ms vs 5.2 ms, 5.5x)
//   sort    data window  153 ms  hand 202 ms   0.8x   (was 657 ms vs 199 ms, 3.3x)
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "data/schema/database_files.h"
#include "platform/db/transaction.h"
#include "platform/dw/datawindow/datawindow.h"
#include "platform/dw/definition/loader.h"

namespace {

namespace fs = std::filesystem;
constexpr int kRows = 1'000'000;

const char* const kList = R"yaml(name: d_bench_list
style: grid
query: |
  select bs, cwtsbh, cwxzt, lqqbs, djsrq from kq_bench_list
columns:
  - {name: bs, type: char(1)}
  - {name: cwtsbh, type: char(13)}
  - {name: cwxzt, type: char(1)}
  - {name: lqqbs, type: number}
  - {name: djsrq, type: datetime}
grid:
  - {column: cwtsbh, heading: 委托书编号}
)yaml";

const char* const kFilter = " (cwxzt = '1' or (cwxzt = '2' and lqqbs = 0) ) and (1 = 1) ";
const char* const kSort = "djsrq D ,cwtsbh A";

struct Plain {
  std::vector<std::string> cwtsbh, cwxzt;
  std::vector<long> lqqbs;
  std::vector<long long> djsrq;  // seconds
};

struct Fixture {
  Fixture() {
    std::error_code ec;
    fs::path base = fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
    folder = base / ("kq_bench_fs_" + std::to_string(getpid()));
    fs::remove_all(folder, ec);
    kq::schema::OpenOptions create;
    create.create = true;
    auto files = kq::schema::open_database_files(folder / "shop.db", create);
    if (!files) throw std::runtime_error(files.error());
    sqlite3* db = files->handle();
    sqlite3_exec(db, "create table kq_bench_list (bs CHAR(1), cwtsbh CHAR(13), cwxzt CHAR(1), lqqbs INTEGER, djsrq DATETIME)",
                 nullptr, nullptr, nullptr);
    sqlite3_exec(db, "begin", nullptr, nullptr, nullptr);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "insert into kq_bench_list values (?,?,?,?,?)", -1, &st, nullptr);
    std::mt19937 rng(309);
    for (int i = 0; i < kRows; ++i) {
      char bh[16], date[32];
      std::snprintf(bh, sizeof bh, "1%012d", static_cast<int>(rng() % 900000000));
      int day = static_cast<int>(rng() % 365), sec = static_cast<int>(rng() % 86400);
      std::snprintf(date, sizeof date, "2026-%02d-%02d %02d:%02d:%02d", 1 + day / 31 % 12, 1 + day % 28, sec / 3600,
                    sec / 60 % 60, sec % 60);
      const char* status = (rng() % 10 < 7) ? "1" : ((rng() % 2) ? "2" : "0");
      sqlite3_bind_text(st, 1, rng() % 5 == 0 ? "*" : "", -1, SQLITE_STATIC);
      sqlite3_bind_text(st, 2, bh, -1, SQLITE_TRANSIENT);
      sqlite3_bind_text(st, 3, status, -1, SQLITE_STATIC);
      sqlite3_bind_int(st, 4, rng() % 4 == 0 ? 1 : 0);
      sqlite3_bind_text(st, 5, date, -1, SQLITE_TRANSIENT);
      sqlite3_step(st);
      sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    sqlite3_exec(db, "commit", nullptr, nullptr, nullptr);
    files = {make_error("closed")};
    kq::db::ConnectOptions connect;
    connect.database = (folder / "shop.db").string();
    connect.company = "01";
    if (!sqlca.connect(connect)) throw std::runtime_error("connect");
    auto def = kq::dw::load_definition(kList, "bench/d_bench_list.yaml");
    if (!def) throw std::runtime_error(def.error());
    dw.dataobject(*def);
    dw.settransobject(sqlca);
    if (dw.retrieve() != kRows) throw std::runtime_error("retrieve: " + sqlca.sqlerrtext);
    for (long r = 1; r <= kRows; ++r) {
      plain.cwtsbh.push_back(*dw.getitemstring(r, "cwtsbh"));
      plain.cwxzt.push_back(*dw.getitemstring(r, "cwxzt"));
      plain.lqqbs.push_back(dw.getitemnumber(r, "lqqbs")->to_int64());
      plain.djsrq.push_back(dw.getitemdatetime(r, "djsrq")->seconds());
    }
  }
  ~Fixture() {
    sqlca.disconnect();
    std::error_code ec;
    fs::remove_all(folder, ec);
  }
  static kq::Error make_error(const char* m) { return kq::Error{m}; }

  fs::path folder;
  kq::db::Transaction sqlca;
  kq::dw::DataWindow dw;
  Plain plain;
};

Fixture& fixture() {
  static Fixture f;
  return f;
}

void BM_DataWindowFilter(benchmark::State& state) {
  auto& f = fixture();
  for (auto _ : state) {
    f.dw.setfilter(kFilter);
    f.dw.filter();
    benchmark::DoNotOptimize(f.dw.rowcount());
    state.PauseTiming();
    f.dw.setfilter("");
    f.dw.filter();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_DataWindowFilter)->Unit(benchmark::kMillisecond);

void BM_HandFilter(benchmark::State& state) {
  auto& p = fixture().plain;
  std::vector<size_t> kept;
  for (auto _ : state) {
    kept.clear();
    for (size_t i = 0; i < p.cwxzt.size(); ++i)
      if (p.cwxzt[i] == "1" || (p.cwxzt[i] == "2" && p.lqqbs[i] == 0)) kept.push_back(i);
    benchmark::DoNotOptimize(kept.size());
  }
}
BENCHMARK(BM_HandFilter)->Unit(benchmark::kMillisecond);

void BM_DataWindowSort(benchmark::State& state) {
  auto& f = fixture();
  for (auto _ : state) {
    f.dw.setsort(kSort);
    f.dw.sort();
    benchmark::DoNotOptimize(f.dw.getrow());
    state.PauseTiming();
    f.dw.setsort("cwtsbh A");  // an unrelated order, so every run sorts from scratch
    f.dw.sort();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_DataWindowSort)->Unit(benchmark::kMillisecond);

void BM_HandSort(benchmark::State& state) {
  auto& p = fixture().plain;
  std::vector<size_t> order(p.cwtsbh.size());
  for (auto _ : state) {
    state.PauseTiming();
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return p.cwtsbh[a] < p.cwtsbh[b]; });
    state.ResumeTiming();
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
      if (p.djsrq[a] != p.djsrq[b]) return p.djsrq[a] > p.djsrq[b];
      return p.cwtsbh[a] < p.cwtsbh[b];
    });
    benchmark::DoNotOptimize(order.data());
  }
}
BENCHMARK(BM_HandSort)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
