// A long list on paper: the cancellation list d_svc305_01 of a generated shop
// (the demo with --scale 18118: 2,538 cancellable settlements of the year),
// retrieved once, then printed to PDF as the workstation prints it (the
// session's print options: range, operator, time; pages counted first).
//
// Counters:
//   rows    rows of the list
//   pages   pages of the printout
//   ms      CPU milliseconds of one printout (this thread's CPU time: the
//           machine is shared)
//
// The database lives on /dev/shm where it exists.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <ctime>
#include <filesystem>
#include <memory>
#include <regex>
#include <string>

#include "data/demo/demo_shop.h"
#include "framework/print_options.h"
#include "framework/session.h"
#include "module.h"
#include "platform/dw/datawindow/datawindow.h"
#include "platform/dw/render/pdf_render.h"
#include "platform/ui/scripted_ui.h"

namespace {

namespace fs = std::filesystem;

double thread_seconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

fs::path folder() {
  const fs::path base = fs::exists("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
  return base / ("kq_bench_list_pdf_" + std::to_string(getpid()));
}

void BM_CancellationListToPdf(benchmark::State& state) {
  kq::module::install();
  const fs::path dir = folder();
  fs::remove_all(dir);
  fs::create_directories(dir);
  kq::demo::DemoOptions options;
  options.today = kq::demo::parse_business_date("2026/12/09");
  options.scale = 18118;
  options.hash_password = [](std::string_view p) { return "plain:" + std::string(p); };
  if (auto built = kq::demo::build_demo_files(dir / "shop.db", options, true); !built) {
    state.SkipWithError(built.error().c_str());
    return;
  }
  kq::fw::Session session;
  kq::ui::ScriptedUi ui;
  session.ui = &ui;
  session.g.gs_gsh = "01";
  session.g.gs_yhdm = "001";
  session.g.gs_yhxm = "王建国";
  session.g.gs_startfile = dir.string();
  kq::db::ConnectOptions connect;
  connect.database = (dir / "shop.db").string();
  if (auto connected = session.connect(connect); !connected) {
    state.SkipWithError(connected.error().c_str());
    return;
  }
  kq::fw::SessionScope scope(session);
  kq::dw::DataWindow list;
  list.dataobject("d_svc305_01");
  list.settransobject(session.sqlca);
  const long rows = list.retrieve(std::string("2026/12/09"), std::string("2026/01/01"));

  int pages = 0;
  double seconds = 0;
  for (auto _ : state) {
    const double start = thread_seconds();
    auto pdf = kq::dw::render_pdf(list, kq::fw::print_options(list));
    seconds += thread_seconds() - start;
    if (!pdf) {
      state.SkipWithError(pdf.error().c_str());
      break;
    }
    static const std::regex page("/Type\\s*/Page(?![A-Za-z])");
    pages = static_cast<int>(std::distance(std::sregex_iterator(pdf->begin(), pdf->end(), page), std::sregex_iterator()));
  }
  state.counters["rows"] = static_cast<double>(rows);
  state.counters["pages"] = pages;
  state.counters["ms"] = state.iterations() ? seconds * 1000 / static_cast<double>(state.iterations()) : 0;
  session.sqlca.rollback();
  fs::remove_all(dir);
}
BENCHMARK(BM_CancellationListToPdf)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
