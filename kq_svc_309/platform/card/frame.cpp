#include "platform/card/frame.h"

namespace kq::card {
namespace {

const char kHex[] = "0123456789ABCDEF";

void escape_into(std::string& out, std::string_view field) {
  for (char c : field) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '|': out += "\\|"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      default: out += c;
    }
  }
}

int hex_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

uint16_t crc16(std::string_view bytes) {
  uint16_t crc = 0xFFFF;
  for (unsigned char b : bytes) {
    crc ^= static_cast<uint16_t>(b) << 8;
    for (int i = 0; i < 8; ++i) crc = (crc & 0x8000) ? static_cast<uint16_t>((crc << 1) ^ 0x1021) : static_cast<uint16_t>(crc << 1);
  }
  return crc;
}

std::string encode(const Frame& frame) {
  std::string out;
  out += static_cast<char>(frame.kind);
  out += std::to_string(frame.seq % 100000000u);
  for (const auto& f : frame.fields) {
    out += '|';
    escape_into(out, f);
  }
  uint16_t crc = crc16(out);
  out += '*';
  for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(crc >> shift) & 0xF];
  out += '\n';
  return out;
}

Result<Frame> decode(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  if (line.empty()) return make_error("empty line");
  size_t star = line.rfind('*');
  if (star == std::string_view::npos || line.size() - star != 5) return make_error("no checksum");
  int crc = 0;
  for (size_t i = star + 1; i < line.size(); ++i) {
    int v = hex_value(line[i]);
    if (v < 0) return make_error("no checksum");
    crc = crc * 16 + v;
  }
  std::string_view body = line.substr(0, star);
  if (crc16(body) != crc) return make_error("checksum mismatch");

  Frame f;
  if (body[0] == 'Q') f.kind = Frame::Kind::Request;
  else if (body[0] == 'A') f.kind = Frame::Kind::Answer;
  else return make_error("unknown frame kind");
  size_t i = 1;
  size_t digits = 0;
  uint32_t seq = 0;
  while (i < body.size() && body[i] >= '0' && body[i] <= '9') {
    seq = seq * 10 + static_cast<uint32_t>(body[i] - '0');
    ++i;
    if (++digits > 8) return make_error("bad sequence number");
  }
  if (digits == 0) return make_error("bad sequence number");
  f.seq = seq;
  if (i == body.size()) return make_error("no field");
  if (body[i] != '|') return make_error("bad sequence number");
  while (i < body.size()) {
    // body[i] is the '|' opening a field.
    ++i;
    std::string field;
    while (i < body.size() && body[i] != '|') {
      char c = body[i];
      if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return make_error("control character in a field");
      if (c == '\\') {
        if (i + 1 >= body.size()) return make_error("bad escape");
        char e = body[i + 1];
        if (e == '\\') field += '\\';
        else if (e == '|') field += '|';
        else if (e == 'n') field += '\n';
        else if (e == 'r') field += '\r';
        else return make_error("bad escape");
        i += 2;
        continue;
      }
      field += c;
      ++i;
    }
    f.fields.push_back(std::move(field));
  }
  return f;
}

void LineBuffer::append(std::string_view bytes) {
  for (char c : bytes) {
    if (skipping_) {
      if (c == '\n') skipping_ = false;
      continue;
    }
    if (c == '\n') {
      pending_ += c;
      partial_ = 0;
      continue;
    }
    if (partial_ == kMaxLine) {
      // Drop the overlong line whole, up to its line feed.
      pending_.resize(pending_.size() - partial_);
      partial_ = 0;
      skipping_ = true;
      ++dropped_;
      continue;
    }
    pending_ += c;
    ++partial_;
  }
}

std::optional<std::string> LineBuffer::next() {
  size_t nl = pending_.find('\n');
  if (nl == std::string::npos) return std::nullopt;
  std::string line = pending_.substr(0, nl);
  pending_.erase(0, nl + 1);
  return line;
}

void LineBuffer::clear() {
  pending_.clear();
  partial_ = 0;
  skipping_ = false;
}

}  // namespace kq::card
