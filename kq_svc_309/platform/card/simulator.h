#pragma once
// A card reader on a pseudo-terminal, for tests and the demo: it holds one
// card (card.h), answers the protocol (protocol.h) on its own thread, and lets
// the caller present and remove the card, make the next request of a command
// fail, and see what was written.
//
//   auto sim = card::Simulator::start(card);
//   uo.of_gsgl_opencom(...);            // with the device (*sim)->path()
//   (*sim)->fail_next("WRITE");         // the next WRITE is answered FAIL
//   EXPECT_EQ((*sim)->card().points, "1200");
//
// All members may be called from any thread.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/card/card.h"
#include "platform/result.h"

namespace kq::card {

class Simulator {
 public:
  // Opens a pseudo-terminal and starts answering on it with `card`.
  static Result<std::unique_ptr<Simulator>> start(Card card = {});
  // Stops answering and closes the pseudo-terminal.
  ~Simulator();
  Simulator(const Simulator&) = delete;
  Simulator& operator=(const Simulator&) = delete;

  // The device a host opens to reach this reader ("/dev/pts/N").
  const std::string& path() const { return path_; }

  // Puts `card` on the reader (present whatever card.present says).
  void present(Card card);
  // Takes the card off the reader (its content is kept).
  void remove();
  // Replaces the whole state, present flag included.
  void set_card(Card card);
  Card card() const;

  // A later request of `command` ("READ", "WRITE" ...) is answered FAIL,
  // not answered at all, or answered with a broken checksum: the next one,
  // or the one after `skip` further requests of that command. Each call
  // affects one request; calls queue up.
  void fail_next(const std::string& command, int skip = 0);
  void ignore_next(const std::string& command, int skip = 0);
  void garble_next(const std::string& command, int skip = 0);

  // The commands received, in order (frames that did not decode are not listed).
  std::vector<std::string> commands() const;
  void clear_commands();

  // Runs on the simulator's thread after a request changed the card, before
  // the request is answered.
  void on_change(std::function<void(const Card&)> callback);

  // Sends `bytes` to the host as they are (protocol tests: noise, stale answers).
  void send_raw(const std::string& bytes);

 private:
  struct State;
  Simulator();
  void serve();

  std::unique_ptr<State> s_;
  std::string path_;
};

}  // namespace kq::card
