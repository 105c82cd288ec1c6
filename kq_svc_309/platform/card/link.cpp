#include "platform/card/link.h"

#include <atomic>

#include "platform/card/frame.h"

namespace kq::card {
namespace {

// Sequence numbers are unique within the process, so that two links on the
// same device never take each other's answers.
uint32_t next_seq() {
  static std::atomic<uint32_t> counter{0};
  return counter.fetch_add(1) % 99999999u + 1;
}

}  // namespace

Result<Link> Link::open(const std::string& device, Options options) {
  auto port = serial::Port::open(device, serial::Settings{options.baud});
  if (!port) return make_error(port.error());
  Link link;
  link.port_ = std::move(*port);
  link.options_ = options;
  return link;
}

Reply Link::call(std::string_view command, const std::vector<std::string>& args) {
  Reply r;
  if (!port_.is_open()) {
    r.detail = "the reader's port is not open";
    return r;
  }
  Frame q;
  q.kind = Frame::Kind::Request;
  q.seq = next_seq();
  q.fields.emplace_back(command);
  q.fields.insert(q.fields.end(), args.begin(), args.end());

  auto deadline = std::chrono::steady_clock::now() + options_.answer_timeout;
  port_.discard_input();
  if (auto w = port_.write(encode(q), options_.answer_timeout); !w) {
    r.outcome = w.error().find("timed out") != std::string::npos ? Outcome::Timeout : Outcome::Broken;
    r.detail = w.error();
    return r;
  }
  LineBuffer lines;
  std::string skipped;
  for (;;) {
    while (auto line = lines.next()) {
      auto f = decode(*line);
      if (!f) {
        skipped = f.error();
        continue;
      }
      if (f->kind != Frame::Kind::Answer || f->seq != q.seq) continue;
      r.outcome = Outcome::Answered;
      r.status = f->fields[0];
      r.values.assign(f->fields.begin() + 1, f->fields.end());
      return r;
    }
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    auto bytes = port_.read(left);
    if (!bytes) {
      r.outcome = Outcome::Broken;
      r.detail = bytes.error();
      return r;
    }
    lines.append(*bytes);
  }
  r.outcome = Outcome::Timeout;
  r.detail = skipped.empty() ? "no answer from the reader on " + port_.device()
                             : "no valid answer from the reader on " + port_.device() + " (" + skipped + ")";
  return r;
}

}  // namespace kq::card
