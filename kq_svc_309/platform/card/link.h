#pragma once
// The host's end of the card reader protocol on a serial port: one request,
// one answer, never waiting longer than the answer timeout.
//
//   auto link = card::Link::open("/dev/ttyS0");
//   if (!link) ...;                               // no such device
//   card::Reply r = link->call("READ", {"valid"});
//   if (r.ok()) use(r.values[0]);
//
// Input waiting before a request is dropped; lines that are not a valid
// answer to the request just sent (garbled, another sequence number) are
// skipped, so a late answer to an earlier request is never taken for the
// current one.
#include <chrono>
#include <string>
#include <string_view>
#include <vector>

#include "platform/card/protocol.h"
#include "platform/result.h"
#include "platform/serial/serial_port.h"

namespace kq::card {

enum class Outcome {
  Answered,  // the reader answered; see status
  NotOpen,   // the link is closed
  Timeout,   // no valid answer within the answer timeout
  Broken,    // the device failed or went away
};

struct Reply {
  Outcome outcome = Outcome::NotOpen;
  std::string status;               // the reader's status when answered ("OK", "NOCARD" ...)
  std::vector<std::string> values;  // what follows the status
  std::string detail;               // why a call failed (for logs and tests)
  bool answered() const { return outcome == Outcome::Answered; }
  bool ok() const { return answered() && status == proto::kOk; }
};

class Link {
 public:
  struct Options {
    std::chrono::milliseconds answer_timeout{2000};
    int baud = 9600;
  };

  Link() = default;
  // Opens the reader's device; fails when it cannot be opened.
  static Result<Link> open(const std::string& device, Options options);
  static Result<Link> open(const std::string& device) { return open(device, Options{}); }

  bool is_open() const { return port_.is_open(); }
  const std::string& device() const { return port_.device(); }
  void set_answer_timeout(std::chrono::milliseconds t) { options_.answer_timeout = t; }

  // Sends `command` with `args` and waits for its answer.
  Reply call(std::string_view command, const std::vector<std::string>& args = {});
  void close() { port_.close(); }

 private:
  serial::Port port_;
  Options options_;
};

}  // namespace kq::card
