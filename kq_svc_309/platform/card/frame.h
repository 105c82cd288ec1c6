#pragma once
// The card reader protocol's frame: one line of text per message.
//
//   frame  = kind seq *( "|" field ) "*" crc "\n"
//   kind   = "Q" (request, host to reader) / "A" (answer, reader to host)
//   seq    = 1 to 8 decimal digits; an answer repeats its request's number
//   field  = text with "\" written "\\", "|" written "\|", a line feed "\n"
//            and a carriage return "\r" (no raw control characters)
//   crc    = 4 upper-case hex digits: CRC-16/CCITT-FALSE (polynomial 0x1021,
//            start 0xFFFF) of every byte before the "*"
//
// A request's first field is the command, an answer's first field the status
// ("OK" or a refusal); at least one field is required. A carriage return
// before the line feed is ignored. Example: Q7|READ|valid*4751 answered by
// A7|OK|1*D94B.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/result.h"

namespace kq::card {

// Longest line either side accepts, line feed excluded; longer lines are dropped.
inline constexpr size_t kMaxLine = 4096;

struct Frame {
  enum class Kind : char { Request = 'Q', Answer = 'A' };
  Kind kind = Kind::Request;
  uint32_t seq = 0;
  std::vector<std::string> fields;
  friend bool operator==(const Frame&, const Frame&) = default;
};

// CRC-16/CCITT-FALSE of `bytes` ("123456789" gives 0x29B1).
uint16_t crc16(std::string_view bytes);

// The frame as one line, line feed included.
std::string encode(const Frame& frame);
// Parses one line (without its line feed). Fails on a missing or wrong
// checksum, an unknown kind, a bad sequence number, a bad escape, a raw
// control character or no field at all.
Result<Frame> decode(std::string_view line);

// Collects bytes as they arrive and hands out complete lines.
class LineBuffer {
 public:
  void append(std::string_view bytes);
  // The next complete line without its line feed, or nullopt. A line longer
  // than kMaxLine is dropped whole (and counted).
  std::optional<std::string> next();
  size_t dropped() const { return dropped_; }
  void clear();

 private:
  std::string pending_;
  size_t partial_ = 0;     // length of the incomplete line at the end of pending_
  bool skipping_ = false;  // inside an overlong line, up to its line feed
  size_t dropped_ = 0;
};

}  // namespace kq::card
