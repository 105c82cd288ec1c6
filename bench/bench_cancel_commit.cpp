// One settlement cancellation on the embedded default, and the same on a
// PostgreSQL server (server_bench_support.h; each iteration on a fresh copy
// of the demo database made from a template): the save command of
// w_svc305_01 (validation, archive of the slip with its full state, header
// reset, receipts, points and stored value of two cards in the shop and the
// club database, statistics, finance hook, commit, log line, refresh of the
// list) for the card settlement 1010000000006 of the demo shop.
//
// Each iteration works on a fresh copy of the demo pair (copied and opened
// outside the timing); the time is that of ue_cus(1) alone, wall clock,
// because the commit's journal writes and syncs are part of the cost.
//
// Counters:
//   statements   statements the cancellation ran on sqlca
//   median_ms    wall milliseconds of the median cancellation (Time: the mean)
//
// The files live on /dev/shm where it exists, like the other benchmarks, so
// the figure is the engine's, not the disk's.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <vector>
#include <filesystem>
#include <memory>

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

  explicit Desk(int n, bool server = false) : dir(scratch() / ("desk" + std::to_string(n))) {
    fs::remove_all(dir);
    fs::copy(master(), dir, fs::copy_options::recursive);
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

void cancel_card_settlement(benchmark::State& state, bool server) {
  kq::module::install();
  if (server && kq::bench::server_uri().empty()) {
    state.SkipWithError("no server: set KQ_BENCH_POSTGRESQL (scripts/pg_cluster.sh start; scripts/pg_cluster.sh env)");
    return;
  }
  static int n = 0;
  int64_t statements = 0;
  std::vector<double> ms;
  for (auto _ : state) {
    state.PauseTiming();
    auto desk = std::make_unique<Desk>(n++, server);
    const int64_t start = desk->session.sqlca.statement_count();
    desk->ui.answers.push_back(1);  // 是 to the question what will change
    state.ResumeTiming();
    const auto t0 = std::chrono::steady_clock::now();
    const long result = desk->window->ue_cus(1);
    const auto t1 = std::chrono::steady_clock::now();
    state.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
    ms.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
    state.PauseTiming();
    const bool done = !desk->ui.shown.empty() && desk->ui.shown.back().text == "取消结算成功！";
    if (result != 1 || !done) {
      std::string why = "the cancellation did not run";
      for (const auto& m : desk->ui.shown) why += ": " + m.text;
      state.SkipWithError(why.c_str());
      break;
    }
    statements = desk->session.sqlca.statement_count() - start;
    desk.reset();
    state.ResumeTiming();
  }
  state.counters["statements"] = static_cast<double>(statements);
  if (!ms.empty()) {
    std::sort(ms.begin(), ms.end());
    state.counters["median_ms"] = ms[ms.size() / 2];
  }
}
void BM_CancelCardSettlement(benchmark::State& state) { cancel_card_settlement(state, false); }
void BM_CancelCardSettlementOnServer(benchmark::State& state) { cancel_card_settlement(state, true); }
BENCHMARK(BM_CancelCardSettlement)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(30);
BENCHMARK(BM_CancelCardSettlementOnServer)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(30);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::error_code ec;
  fs::remove_all(scratch(), ec);
  if (!kq::bench::server_uri().empty())
    kq::bench::run_sql(kq::bench::server_uri(), "DROP DATABASE IF EXISTS kq_bench_demo_" + std::to_string(getpid()));
  return 0;
}
