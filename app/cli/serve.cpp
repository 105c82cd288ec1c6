// kq_svc_309 serve --db PATH | --server ADDRESS [--port N] [--listen ADDR] [--host-name NAME]…
//                 [--idle-minutes N] [--max-sessions N] [--max-sessions-per-operator N]
//                 [--retrieval-slots N]:
// the workstation. Serves the browser front end and the workstation protocol
// (docs/protocol.md) over HTTP until interrupted.
#include <CLI/CLI.hpp>
#include <pthread.h>
#include <signal.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdlib>
#include <condition_variable>
#include <iostream>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "cli/commands.h"
#include "data/location/database_location.h"
#include "data/schema/database_files.h"
#include "module.h"
#include "framework/module_menu.h"
#include "platform/db/read_scheduler.h"
#include "server/api.h"
#include "server/http_server.h"
#include "server/module_host.h"
#include "server/session_registry.h"

namespace kq::app {
namespace {

struct ServeArgs {
  std::string db;
  std::optional<std::string> server;
  int port = 8309;
  std::string listen = "127.0.0.1";
  int idle_minutes = 30;
  std::vector<std::string> host_names;
  int max_sessions = 100;
  int max_sessions_per_operator = 10;
  int retrieval_slots = 0;  // 0: as many as the machine has processors
};

// File descriptors one session may hold at once: for each of its two
// connections the shop file, its write-ahead log and its shared-memory index,
// and the connections of the requests it answers.
constexpr rlim_t kDescriptorsPerSession = 8;
// Descriptors kept for the listener, its connections and the server's own files.
constexpr rlim_t kDescriptorsReserved = 128;

// Raises the soft limit of open files to the hard limit, and warns when even
// that cannot carry `sessions` sessions.
void raise_descriptor_limit(int sessions) {
  rlimit limit{};
  if (getrlimit(RLIMIT_NOFILE, &limit) != 0) return;
  if (limit.rlim_cur < limit.rlim_max) {
    rlimit raised = limit;
    raised.rlim_cur = limit.rlim_max;
    if (setrlimit(RLIMIT_NOFILE, &raised) == 0) limit = raised;
  }
  const rlim_t needed = static_cast<rlim_t>(sessions) * kDescriptorsPerSession + kDescriptorsReserved;
  if (limit.rlim_cur != RLIM_INFINITY && limit.rlim_cur < needed) {
    std::cerr << "serve: warning: the open-file limit (" << limit.rlim_cur << ") is below the " << needed
              << " that --max-sessions " << sessions
              << " may need; raise it (ulimit -n, LimitNOFILE=) or lower --max-sessions\n";
  }
}

constexpr std::chrono::seconds kShutdownGrace{5};

bool is_loopback(const std::string& address) {
  return address == "localhost" || address == "::1" || address.rfind("127.", 0) == 0;
}

int run_serve(const ServeArgs& args) {
  module::install();
  if (args.retrieval_slots > 0) db::ReadScheduler::instance().set_slots(args.retrieval_slots);
  if (args.server.has_value() == !args.db.empty()) {
    std::cerr << "serve: give either --db PATH or --server ADDRESS\n";
    return 2;
  }
  std::optional<db::ConnectOptions> server;
  if (args.server) {
    // The schema is checked (and an older one brought forward) before anything listens.
    auto location = data::server_location(*args.server);
    if (!location) {
      std::cerr << "serve: --server: " << location.error() << '\n';
      return 1;
    }
    auto connection = data::open_location(*location, {.create = false, .company = {}});
    if (!connection) {
      std::cerr << "serve: " << connection.error() << '\n';
      return 1;
    }
    server = data::server_connect_options(*location);
  } else {
    schema::OpenOptions check;
    check.create = false;
    check.migrate = true;
    auto files = schema::open_database_files(args.db, check);
    if (!files) {
      std::cerr << "serve: " << files.error() << '\n';
      return 1;
    }
  }
  if (args.idle_minutes < 1) {
    std::cerr << "serve: --idle-minutes must be at least 1\n";
    return 2;
  }
  raise_descriptor_limit(args.max_sessions);

  // SIGINT and SIGTERM are taken by a watching thread (blocked in every other
  // thread, which inherit this mask), so the server stops in order.
  sigset_t stop_signals;
  sigemptyset(&stop_signals);
  sigaddset(&stop_signals, SIGINT);
  sigaddset(&stop_signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stop_signals, nullptr);

  server::SessionLimits limits;
  limits.total = static_cast<size_t>(args.max_sessions);
  limits.per_operator = static_cast<size_t>(args.max_sessions_per_operator);
  server::SessionRegistry sessions(std::chrono::minutes(args.idle_minutes), limits);
  server::Api::Options options;
  options.db_path = args.db;
  options.server = server;
  options.host_names = args.host_names;
  options.host_names.push_back(args.listen);
  options.make_host = server::make_module_host;
  server::Api api(options, sessions);
  server::HttpServer http(api);
  auto port = http.bind(args.listen, args.port);
  if (!port) {
    std::cerr << "serve: " << port.error() << '\n';
    return 1;
  }
  if (!is_loopback(args.listen)) {
    std::cerr << "serve: warning: listening on " << args.listen
              << ", reachable from other machines; see docs/operations.md\n";
    if ((args.listen == "0.0.0.0" || args.listen == "::") && args.host_names.empty()) {
      std::cerr << "serve: warning: browsers of other machines are refused unless the name or address they use "
                   "is given with --host-name\n";
    }
  }
  const std::string host = args.listen.find(':') != std::string::npos ? "[" + args.listen + "]" : args.listen;
  std::cout << "kq_svc_309 workstation: http://" << host << ":" << *port << "/" << std::endl;

  // A stop signal ends the listener; sessions then close in order, but work
  // still running in one (a long print) must not keep the program alive: past
  // kShutdownGrace the process ends anyway (the database rolls back what a
  // session left uncommitted).
  std::mutex m;
  std::condition_variable cv;
  bool done = false;      // the listener has ended
  bool finished = false;  // the sessions are closed
  std::thread signals([&] {
    int sig = 0;
    sigwait(&stop_signals, &sig);
    std::unique_lock lock(m);
    if (done) return;  // woken by the main thread after an ordinary end
    http.stop();
    if (cv.wait_for(lock, kShutdownGrace, [&] { return finished; })) return;
    std::cerr << "serve: sessions still busy " << kShutdownGrace.count()
              << " s after the stop signal; stopping without them" << std::endl;
    std::cout << "kq_svc_309 workstation stopped" << std::endl;
    std::_Exit(0);
  });
  std::thread sweeper([&] {
    std::unique_lock lock(m);
    while (!cv.wait_for(lock, std::chrono::seconds(30), [&] { return done; })) {
      lock.unlock();
      sessions.sweep();
      lock.lock();
    }
  });

  const bool served = http.run();
  {
    std::lock_guard lock(m);
    done = true;
  }
  cv.notify_all();
  sweeper.join();
  sessions.clear();
  {
    std::lock_guard lock(m);
    finished = true;
  }
  cv.notify_all();
  pthread_kill(signals.native_handle(), SIGTERM);
  signals.join();
  std::cout << "kq_svc_309 workstation stopped" << std::endl;
  return served ? 0 : 1;
}

}  // namespace

void register_serve(CLI::App& app, int& status) {
  auto a = std::make_shared<ServeArgs>();
  auto* cmd = app.add_subcommand("serve", "Starts the workstation: the browser front end and its HTTP protocol");
  cmd->add_option("--db", a->db, "the shop database file");
  cmd->add_option("--server", a->server,
                  "a database server instead of --db: postgresql://user@host:port/dbname, \"host=… dbname=…\", "
                  "\"service=name\", or \"\" for the PG* environment (password in ~/.pgpass); several serve "
                  "processes may share it");
  cmd->add_option("--port", a->port, "TCP port (default 8309; 0 = any free port)")->check(CLI::Range(0, 65535));
  cmd->add_option("--listen", a->listen, "address to listen on (default 127.0.0.1, this machine only)");
  cmd->add_option("--host-name", a->host_names,
                  "a further name or address browsers use to reach this server (repeatable; the listen address "
                  "and localhost are always accepted)");
  cmd->add_option("--idle-minutes", a->idle_minutes, "a session unused this long is signed out (default 30)");
  cmd->add_option("--max-sessions", a->max_sessions, "signed-in sessions the server holds at most (default 100)")
      ->check(CLI::Range(1, 10000));
  cmd->add_option("--max-sessions-per-operator", a->max_sessions_per_operator,
                  "signed-in sessions one operator holds at most (default 10)")
      ->check(CLI::Range(1, 10000));
  cmd->add_option("--retrieval-slots", a->retrieval_slots,
                  "long retrievals that step their rows at the same time (default: the processors); a save's "
                  "own retrievals go first")
      ->check(CLI::Range(1, 1024));
  cmd->footer("Open the printed address in a browser. Stop with Ctrl-C. See docs/operations.md.");
  cmd->callback([a, &status] { status = run_serve(*a); });
}

}  // namespace kq::app
