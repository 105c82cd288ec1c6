// One settlement cancellation on the embedded default: the save command of
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
//   ms           wall milliseconds per cancellation
//
// The files live on /dev/shm where it exists, like the other benchmarks, so
// the figure is the engine's, not the disk's.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
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

  explicit Desk(int n) : dir(scratch() / ("desk" + std::to_string(n))) {
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
  }
};

void BM_CancelCardSettlement(benchmark::State& state) {
  kq::module::install();
  int n = 0;
  int64_t statements = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto desk = std::make_unique<Desk>(n++);
    const int64_t start = desk->session.sqlca.statement_count();
    state.ResumeTiming();
    const auto t0 = std::chrono::steady_clock::now();
    const long result = desk->window->ue_cus(1);
    const auto t1 = std::chrono::steady_clock::now();
    state.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
    state.PauseTiming();
    if (result != 1 || !desk->ui.shown.empty()) state.SkipWithError("the cancellation did not run");
    statements = desk->session.sqlca.statement_count() - start;
    desk.reset();
    state.ResumeTiming();
  }
  state.counters["statements"] = static_cast<double>(statements);
}
BENCHMARK(BM_CancelCardSettlement)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(30);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::error_code ec;
  fs::remove_all(scratch(), ec);
  return 0;
}
