// One settlement cancellation on the embedded default, and the same on a
// PostgreSQL server (server_bench_support.h; each iteration on a fresh copy
// of the demo database made from a template): the save command of
// w_svc305_01 (validation, archive of the slip with its full state, header
// reset, receipts, points and stored value of two cards in the shop and the
// club tables, statistics, finance hook, commit, log line, refresh of the
// list) for the card settlement 1010000000006 of the demo shop.
//
// Each iteration works on a fresh copy of the demo shop (copied, synced and
// opened outside the timing); the time is that of ue_cus(1) alone, wall
// clock, because the commit's log writes and syncs are part of the cost.
//
// Two places for the files:
//   BM_CancelCardSettlement/shm   /dev/shm: the engine's cost, no disk
//   BM_CancelCardSettlement/disk  a folder on the real disk (KQ_BENCH_DISK,
//                                 default /var/tmp), the copy synced to disk
//                                 before the save, so the save pays its own
//                                 syncs and nothing else's
//   BM_CancelCardSettlement/server  a PostgreSQL server (KQ_BENCH_POSTGRESQL;
//                                 skipped without one); the sync counters
//                                 count the embedded files only
//
// Counters (medians over the iterations, p99 where named):
//   save_ms, save_p99_ms   wall milliseconds of the whole save
//   commit_ms, commit_p99_ms   the cancellation's commit() alone
//   syncs                  xSync calls during the save (every file), counted
//                          by a VFS that wraps the default one: the unit's
//                          commit (1) and the log line's own commit after it
//                          (1). The workstation has committed once before,
//                          as one in use has; its first commit costs one more
//                          sync (the folder entry of a new log file).
//   commit_syncs           of those, the ones inside the unit's commit()
//   bare_fsync_ms          the floor: writing 4 KiB to a file in the same
//                          folder and fdatasync, median of 30
//   sync_ms                time spent in those syncs
//   statements             statements the save ran on sqlca
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <vector>

#include "platform/db/statement_log.h"
#include "sync_counting_vfs.h"

#include "bench_shops.h"
#include "data/demo/demo_shop.h"
#include "module.h"
#include "framework/module_menu.h"
#include "framework/session.h"
#include "platform/ui/scripted_ui.h"
#include "platform/ui/window_manager.h"
#include "settlement/w_svc305.h"
#include "settlement/w_svc305_01.h"
#include "server_bench_support.h"

namespace {

namespace fs = std::filesystem;

fs::path scratch() {
  fs::path base = fs::exists("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
  return base / ("kq_bench_cancel_" + std::to_string(getpid()));
}

fs::path disk_scratch() {
  const char* env = std::getenv("KQ_BENCH_DISK");
  return fs::path(env && *env ? env : "/var/tmp") / ("kq_bench_cancel_" + std::to_string(getpid()));
}

const fs::path& master() {
  static const fs::path dir = [] {
    fs::path d = scratch() / "master";
    fs::remove_all(d);
    fs::create_directories(d);
    kq::demo::DemoOptions options;
    options.today = kq::demo::parse_business_date("2026/12/08");
    options.hash_password = [](std::string_view p) { return "plain:" + std::string(p); };
    if (auto built = kq::demo::build_demo_files(d / "shop.db", options, true); !built) {
      fprintf(stderr, "demo shop: %s\n", built.error().c_str());
      std::exit(1);
    }
    return d;
  }();
  return dir;
}

// A signed-in desk on a fresh copy with the cancellation window open and filled in.
struct Desk {
  fs::path dir;
  kq::ui::ScriptedUi ui;
  kq::fw::Session session;
  std::unique_ptr<kq::fw::SessionScope> scope;
  kq::ui::WindowRegistry registry;
  std::unique_ptr<kq::ui::WindowManager> windows;
  kq::svc::w_svc305_01* window = nullptr;
  std::string server_db;  // the desk's copy of the demo on the server, or ""

  Desk(const fs::path& base, int n, bool server) : dir(base / ("desk" + std::to_string(n))) {
    fs::remove_all(dir);
    fs::create_directories(base);
    fs::copy(master(), dir, fs::copy_options::recursive);
    ::sync();  // the copy is on disk before the save: the save pays only its own syncs
    session.g.gs_gsh = "01";
    session.g.gs_yhdm = "001";
    session.g.gs_yhxm = "王建国";
    session.g.gd_xtrq = *kq::DateTime::parse("2026/12/08");
    session.g.gd_qsrq = session.g.gd_xtrq.add_days(-30);
    session.g.gi_cwaz = 1;
    session.g.gs_startfile = dir.string();
    session.g.authorities = {"CJ", "CP", "CQ"};
    session.ui = &ui;
    kq::db::ConnectOptions options;
    options.database = (dir / "shop.db").string();
    if (server) {
      server_db = "kq_bench_desk_" + std::to_string(getpid()) + "_" + std::to_string(n);
      kq::bench::run_sql(kq::bench::server_uri(), "CREATE DATABASE " + server_db + " TEMPLATE " + server_master());
      options.backend = "postgresql";
      options.server = kq::bench::database_uri(server_db);
    }
    if (!session.connect(options)) std::exit(1);
    scope = std::make_unique<kq::fw::SessionScope>(session);
    kq::module::install_windows(registry);
    windows = std::make_unique<kq::ui::WindowManager>(registry);
    auto* list = dynamic_cast<kq::svc::w_svc305*>(windows->open("w_svc305"));
    for (long r = 1; list && r <= list->dw_display->rowcount(); ++r)
      if (list->dw_display->getitemstring(r, "cwtsbh") == "1010000000006") {
        list->dw_display->setrow(r);
        list->dw_display_doubleclicked(0, 0, r, "cwtsbh");
      }
    window = dynamic_cast<kq::svc::w_svc305_01*>(windows->find("w_svc305_01"));
    if (!window) std::exit(1);
    // A workstation in use has committed before on both its connections (the
    // unit's and the log's): the log file exists and each connection has
    // synced the folder's entry of it once (SQLite does that at a handle's
    // first sync of the log), so the save pays for its own commits only.
    // The value changes and changes back: an update to the same value
    // writes nothing at all.
    for (kq::db::Transaction* t : {&session.sqlca, &session.sqlls}) {
      t->exec("update kq_company set ltybs = ltybs + 1 where cgsh = '01'");
      t->exec("update kq_company set ltybs = ltybs - 1 where cgsh = '01'");
      if (t->sqlcode != 0 || t->commit() != 0) std::exit(1);
    }
    window->dw_edit->setitem(1, "cwxzt", "0");
    window->mle_1.text = "客户要求重新结算";
    window->sle_1.text = "8801000001";
  }
  ~Desk() {
    windows.reset();
    scope.reset();
    session.sqlca.disconnect();
    session.sqlls.disconnect();
    std::error_code ec;
    fs::remove_all(dir, ec);
    if (!server_db.empty()) kq::bench::run_sql(kq::bench::server_uri(), "DROP DATABASE " + server_db + " WITH (FORCE)");
  }

  // The demo on the server, copied once from the embedded demo.
  static const std::string& server_master() {
    static const std::string name = [] {
      std::string n = "kq_bench_demo_" + std::to_string(getpid());
      kq::bench::copy_shop_to_server(master() / "shop.db", n);
      return n;
    }();
    return name;
  }
};

using kq::bench::median;
using kq::bench::p99;

// Median milliseconds of writing 4 KiB to a file in `folder` and fdatasync.
double bare_fsync_ms(const fs::path& folder) {
  fs::create_directories(folder);
  const fs::path file = folder / "fsync_probe";
  int fd = ::open(file.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
  if (fd < 0) return -1;
  std::vector<double> times;
  const std::string page(4096, 'x');
  for (int i = 0; i < 30; ++i) {
    const auto t0 = std::chrono::steady_clock::now();
    if (::pwrite(fd, page.data(), page.size(), static_cast<off_t>(i) * 4096) < 0 || ::fdatasync(fd) != 0) break;
    times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
  }
  ::close(fd);
  fs::remove(file);
  std::sort(times.begin(), times.end());
  return times.empty() ? -1 : times[times.size() / 2];
}

void BM_CancelCardSettlement(benchmark::State& state, const fs::path& base, bool server) {
  kq::bench::SyncCountingVfs::install();
  kq::module::install();
  if (server && kq::bench::server_uri().empty()) {
    state.SkipWithError("no server: set KQ_BENCH_POSTGRESQL (scripts/pg_cluster.sh start; scripts/pg_cluster.sh env)");
    return;
  }
  static int n = 0;
  int64_t statements = 0;
  std::vector<double> save_ms, commit_ms, syncs, sync_ms, commit_syncs;
  for (auto _ : state) {
    state.PauseTiming();
    auto desk = std::make_unique<Desk>(base, n++, server);
    kq::db::StatementLog log;
    desk->session.sqlca.set_statement_log(&log);
    const int64_t start = desk->session.sqlca.statement_count();
    const int64_t syncs0 = kq::bench::SyncCountingVfs::syncs(), sync_ns0 = kq::bench::SyncCountingVfs::sync_ns();
    desk->ui.answers.push_back(1);  // 是 to the question what will change
    state.ResumeTiming();
    const auto t0 = std::chrono::steady_clock::now();
    const long result = desk->window->ue_cus(1);
    const auto t1 = std::chrono::steady_clock::now();
    state.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
    state.PauseTiming();
    // Shown: "取消结算成功！" alone (the question is answered from the script).
    if (result != 1 || desk->ui.shown.size() != 2 || desk->ui.shown.back().text != "取消结算成功！") {
      for (const auto& m : desk->ui.shown) fprintf(stderr, "shown: %s\n", m.text.c_str());
      state.SkipWithError("the cancellation did not commit");
      break;
    }
    statements = desk->session.sqlca.statement_count() - start;
    save_ms.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
    syncs.push_back(static_cast<double>(kq::bench::SyncCountingVfs::syncs() - syncs0));
    sync_ms.push_back(static_cast<double>(kq::bench::SyncCountingVfs::sync_ns() - sync_ns0) / 1e6);
    for (const auto& s : log.statements())
      if (s.way == kq::db::LoggedStatement::Way::Commit) {
        commit_ms.push_back(std::chrono::duration<double, std::milli>(s.elapsed).count());
        int in_commit = 0;
        for (const auto& t : kq::bench::SyncCountingVfs::sync_times())
          if (t >= s.started && t <= s.started + s.elapsed) ++in_commit;
        commit_syncs.push_back(in_commit);
        break;
      }
    desk->session.sqlca.set_statement_log(nullptr);
    desk.reset();
    state.ResumeTiming();
  }
  state.counters["statements"] = static_cast<double>(statements);
  state.counters["save_ms"] = median(save_ms);
  state.counters["save_p99_ms"] = p99(save_ms);
  state.counters["commit_ms"] = median(commit_ms);
  state.counters["commit_p99_ms"] = p99(commit_ms);
  state.counters["syncs"] = median(syncs);
  state.counters["commit_syncs"] = median(commit_syncs);
  state.counters["sync_ms"] = median(sync_ms);
  state.counters["bare_fsync_ms"] = bare_fsync_ms(base);
}

BENCHMARK_CAPTURE(BM_CancelCardSettlement, shm, scratch(), false)
    ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(30);
BENCHMARK_CAPTURE(BM_CancelCardSettlement, disk, disk_scratch(), false)
    ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(30);
BENCHMARK_CAPTURE(BM_CancelCardSettlement, server, scratch(), true)
    ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(30);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::error_code ec;
  fs::remove_all(scratch(), ec);
  fs::remove_all(disk_scratch(), ec);
  if (!kq::bench::server_uri().empty())
    kq::bench::run_sql(kq::bench::server_uri(), "DROP DATABASE IF EXISTS kq_bench_demo_" + std::to_string(getpid()));
  return 0;
}
