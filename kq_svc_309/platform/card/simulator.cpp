#include "platform/card/simulator.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>

#include "platform/card/frame.h"
#include "platform/card/responder.h"

namespace kq::card {

namespace {

enum class Mischief { Fail, Ignore, Garble };

struct Planned {
  std::string command;
  int skip = 0;  // requests of the command to let through first
  Mischief what;
};

}  // namespace

struct Simulator::State {
  int master = -1;
  int slave = -1;  // kept open so that the master never sees a hang-up
  int wake[2] = {-1, -1};
  std::atomic<bool> stop{false};
  std::thread thread;

  mutable std::mutex mu;
  Card card;
  std::deque<Planned> mischief;
  std::vector<std::string> commands;
  std::function<void(const Card&)> on_change;
  std::string outgoing;  // raw bytes waiting to be sent by the thread
};

Simulator::Simulator() : s_(std::make_unique<State>()) {}

Result<std::unique_ptr<Simulator>> Simulator::start(Card card) {
  std::unique_ptr<Simulator> sim(new Simulator());
  State& s = *sim->s_;
  s.card = std::move(card);
  s.master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (s.master < 0) return make_error(std::string("cannot open a pseudo-terminal: ") + std::strerror(errno));
  if (grantpt(s.master) != 0 || unlockpt(s.master) != 0)
    return make_error(std::string("cannot unlock the pseudo-terminal: ") + std::strerror(errno));
  char name[128];
  if (ptsname_r(s.master, name, sizeof name) != 0)
    return make_error(std::string("cannot name the pseudo-terminal: ") + std::strerror(errno));
  sim->path_ = name;
  s.slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (s.slave < 0) return make_error("cannot open " + sim->path_ + ": " + std::strerror(errno));
  termios tio{};
  if (tcgetattr(s.slave, &tio) == 0) {
    cfmakeraw(&tio);
    tcsetattr(s.slave, TCSANOW, &tio);
  }
  int flags = fcntl(s.master, F_GETFL);
  fcntl(s.master, F_SETFL, flags | O_NONBLOCK);
  if (pipe2(s.wake, O_CLOEXEC | O_NONBLOCK) != 0)
    return make_error(std::string("cannot create a pipe: ") + std::strerror(errno));
  Simulator* self = sim.get();
  s.thread = std::thread([self] { self->serve(); });
  return sim;
}

Simulator::~Simulator() {
  if (!s_) return;
  s_->stop = true;
  if (s_->wake[1] >= 0) {
    char c = 1;
    [[maybe_unused]] ssize_t n = ::write(s_->wake[1], &c, 1);
  }
  if (s_->thread.joinable()) s_->thread.join();
  for (int fd : {s_->master, s_->slave, s_->wake[0], s_->wake[1]})
    if (fd >= 0) ::close(fd);
}

void Simulator::present(Card card) {
  card.present = true;
  set_card(std::move(card));
}

void Simulator::remove() {
  std::lock_guard lock(s_->mu);
  s_->card.present = false;
}

void Simulator::set_card(Card card) {
  std::lock_guard lock(s_->mu);
  s_->card = std::move(card);
}

Card Simulator::card() const {
  std::lock_guard lock(s_->mu);
  return s_->card;
}

void Simulator::fail_next(const std::string& command, int skip) {
  std::lock_guard lock(s_->mu);
  s_->mischief.push_back(Planned{command, skip, Mischief::Fail});
}

void Simulator::ignore_next(const std::string& command, int skip) {
  std::lock_guard lock(s_->mu);
  s_->mischief.push_back(Planned{command, skip, Mischief::Ignore});
}

void Simulator::garble_next(const std::string& command, int skip) {
  std::lock_guard lock(s_->mu);
  s_->mischief.push_back(Planned{command, skip, Mischief::Garble});
}

std::vector<std::string> Simulator::commands() const {
  std::lock_guard lock(s_->mu);
  return s_->commands;
}

void Simulator::clear_commands() {
  std::lock_guard lock(s_->mu);
  s_->commands.clear();
}

void Simulator::on_change(std::function<void(const Card&)> callback) {
  std::lock_guard lock(s_->mu);
  s_->on_change = std::move(callback);
}

void Simulator::send_raw(const std::string& bytes) {
  {
    std::lock_guard lock(s_->mu);
    s_->outgoing += bytes;
  }
  char c = 1;
  [[maybe_unused]] ssize_t n = ::write(s_->wake[1], &c, 1);
}

namespace {

// Writes all of `bytes` to the master side, giving up after a second without
// progress (nobody reads the slave side).
void send_all(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n > 0) {
      bytes.remove_prefix(static_cast<size_t>(n));
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return;
    pollfd p{fd, POLLOUT, 0};
    if (::poll(&p, 1, 1000) <= 0) return;
  }
}

}  // namespace

void Simulator::serve() {
  State& s = *s_;
  LineBuffer lines;
  char buf[4096];
  while (!s.stop) {
    pollfd p[2] = {{s.master, POLLIN, 0}, {s.wake[0], POLLIN, 0}};
    int r = ::poll(p, 2, 1000);
    if (r < 0 && errno != EINTR) break;
    if (p[1].revents & POLLIN) {
      while (::read(s.wake[0], buf, sizeof buf) > 0) {
      }
      std::string raw;
      {
        std::lock_guard lock(s.mu);
        raw.swap(s.outgoing);
      }
      if (!raw.empty()) send_all(s.master, raw);
    }
    if (s.stop) break;
    if (!(p[0].revents & POLLIN)) continue;
    ssize_t n = ::read(s.master, buf, sizeof buf);
    if (n <= 0) continue;
    lines.append(std::string_view(buf, static_cast<size_t>(n)));
    while (auto line = lines.next()) {
      auto request = decode(*line);
      if (!request || request->kind != Frame::Kind::Request) continue;  // a reader ignores noise
      std::optional<Mischief> trick;
      bool changed = false;
      Frame answer;
      Card after;
      std::function<void(const Card&)> notify;
      {
        std::lock_guard lock(s.mu);
        const std::string& command = request->fields[0];
        s.commands.push_back(command);
        for (auto it = s.mischief.begin(); it != s.mischief.end(); ++it) {
          if (it->command != command) continue;
          if (it->skip > 0) {
            --it->skip;
          } else {
            trick = it->what;
            s.mischief.erase(it);
          }
          break;
        }
        if (trick == Mischief::Ignore) continue;
        if (trick == Mischief::Fail) {
          answer = Frame{Frame::Kind::Answer, request->seq, {std::string(proto::kFail)}};
        } else {
          answer = respond(s.card, *request, changed);
        }
        if (changed) {
          after = s.card;
          notify = s.on_change;
        }
      }
      if (changed && notify) notify(after);
      std::string out = encode(answer);
      if (trick == Mischief::Garble) out[out.size() - 2] = out[out.size() - 2] == '0' ? '1' : '0';
      send_all(s.master, out);
    }
  }
}

}  // namespace kq::card
