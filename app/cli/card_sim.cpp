// kq_svc_309 card-sim [--link PATH] [--card FILE.json]: a membership card
// reader on a pseudo-terminal for the demo and for trying the card functions
// without hardware. Prints the reader's device, optionally links PATH to it,
// keeps the card in FILE.json (reloaded when the file changes, written back
// after the host wrote to the card) and runs until SIGINT or SIGTERM.
#include <CLI/CLI.hpp>
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>

#include <atomic>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <mutex>
#include <optional>
#include <sstream>
#include <string>

#include "cli/commands.h"
#include "platform/card/card.h"
#include "platform/card/simulator.h"

namespace kq::app {
namespace {

namespace fs = std::filesystem;

struct CardSimArgs {
  std::string link;
  std::string card_file;
};

// What identifies a version of the card file.
struct FileStamp {
  bool exists = false;
  timespec mtime{};
  off_t size = 0;
  friend bool operator==(const FileStamp& a, const FileStamp& b) {
    return a.exists == b.exists && a.mtime.tv_sec == b.mtime.tv_sec && a.mtime.tv_nsec == b.mtime.tv_nsec &&
           a.size == b.size;
  }
};

FileStamp stamp_of(const std::string& path) {
  struct stat st {};
  FileStamp s;
  if (::stat(path.c_str(), &st) != 0) return s;
  s.exists = true;
  s.mtime = st.st_mtim;
  s.size = st.st_size;
  return s;
}

std::string describe(const card::Card& c) {
  if (!c.present) return "no card on the reader";
  return "card " + (c.number.empty() ? std::string("(no number)") : c.number) + " on the reader, points " +
         (c.points.empty() ? std::string("0") : c.points);
}

// Writes the card file through a temporary file, so that a reader of the file
// never sees half of it.
bool save_card(const std::string& path, const card::Card& c) {
  std::string tmp = path + ".tmp";
  {
    std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
    out << card::to_json(c).dump(2) << '\n';
    if (!out) return false;
  }
  std::error_code ec;
  fs::rename(tmp, path, ec);
  return !ec;
}

std::optional<card::Card> load_card(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  auto c = card::parse_card(ss.str());
  if (!c) {
    std::cerr << "card-sim: " << path << ": " << c.error() << "; the reader keeps its card\n";
    return std::nullopt;
  }
  return *c;
}

int run_card_sim(const CardSimArgs& args) {
  card::Card initial;
  if (!args.card_file.empty() && fs::exists(args.card_file)) {
    auto c = load_card(args.card_file);
    if (!c) return 1;
    initial = *c;
  }

  // SIGINT and SIGTERM are taken by this thread only (the reader's thread
  // inherits the blocked mask).
  sigset_t stop_signals;
  sigemptyset(&stop_signals);
  sigaddset(&stop_signals, SIGINT);
  sigaddset(&stop_signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stop_signals, nullptr);

  std::mutex mu;
  std::optional<card::Card> written;  // the card after the host's last write, not yet saved
  auto sim = card::Simulator::start(initial);
  if (!sim) {
    std::cerr << "card-sim: " << sim.error() << '\n';
    return 1;
  }
  const std::string device = (*sim)->path();

  if (!args.link.empty()) {
    std::error_code ec;
    if (fs::is_symlink(fs::symlink_status(args.link, ec))) {
      fs::remove(args.link, ec);
    } else if (fs::exists(fs::symlink_status(args.link, ec))) {
      std::cerr << "card-sim: " << args.link << " exists and is not a link; not replaced\n";
      return 1;
    }
    fs::create_symlink(device, args.link, ec);
    if (ec) {
      std::cerr << "card-sim: cannot link " << args.link << " to " << device << ": " << ec.message() << '\n';
      return 1;
    }
  }

  FileStamp seen;
  if (!args.card_file.empty()) {
    if (!fs::exists(args.card_file) && !save_card(args.card_file, initial)) {
      std::cerr << "card-sim: cannot write " << args.card_file << '\n';
      return 1;
    }
    seen = stamp_of(args.card_file);
    (*sim)->on_change([&](const card::Card& c) {
      std::lock_guard lock(mu);
      written = c;
    });
  }

  std::cout << "card-sim: reader on " << device << '\n';
  if (!args.link.empty()) std::cout << "card-sim: linked from " << args.link << '\n';
  if (!args.card_file.empty()) std::cout << "card-sim: card file " << args.card_file << '\n';
  std::cout << "card-sim: " << describe(initial) << std::endl;

  const timespec tick{0, 300'000'000};
  for (;;) {
    int sig = sigtimedwait(&stop_signals, nullptr, &tick);
    if (sig == SIGINT || sig == SIGTERM) break;
    if (args.card_file.empty()) continue;
    FileStamp now = stamp_of(args.card_file);
    if (!(now == seen)) {
      seen = now;
      if (now.exists) {
        if (auto c = load_card(args.card_file)) {
          (*sim)->set_card(*c);
          std::lock_guard lock(mu);
          written.reset();
          std::cout << "card-sim: card file changed: " << describe(*c) << std::endl;
        }
      }
      continue;
    }
    std::optional<card::Card> to_save;
    {
      std::lock_guard lock(mu);
      to_save.swap(written);
    }
    if (to_save) {
      if (save_card(args.card_file, *to_save)) {
        seen = stamp_of(args.card_file);
        std::cout << "card-sim: the card was written: " << describe(*to_save) << std::endl;
      } else {
        std::cerr << "card-sim: cannot write " << args.card_file << '\n';
      }
    }
  }

  (*sim)->on_change(nullptr);
  sim->reset();  // the reader's thread ends here
  if (!args.link.empty()) {
    std::error_code ec;
    if (fs::is_symlink(fs::symlink_status(args.link, ec)) && fs::read_symlink(args.link, ec) == device)
      fs::remove(args.link, ec);
  }
  std::cout << "card-sim: stopped" << std::endl;
  return 0;
}

}  // namespace

void register_card_sim(CLI::App& app, int& status) {
  auto args = std::make_shared<CardSimArgs>();
  auto* cmd = app.add_subcommand("card-sim", "A membership card reader on a pseudo-terminal (simulator)");
  cmd->add_option("--link", args->link, "Make PATH a symbolic link to the reader's device");
  cmd->add_option("--card", args->card_file,
                  "Keep the card in FILE.json: edit it to present another card; the host's writes are saved to it");
  cmd->footer("Prints the reader's device and runs until interrupted. See docs/card-reader.md.");
  cmd->callback([args, &status] { status = run_card_sim(*args); });
}

}  // namespace kq::app
