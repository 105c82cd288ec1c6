#include "platform/value/text.h"

#include <cstdint>

namespace kq::text {
namespace {

bool is_continuation(unsigned char c) { return (c & 0xC0) == 0x80; }
bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

size_t byte_offset(std::string_view s, size_t index) {
  size_t i = 0;
  while (i < s.size() && index > 0) {
    ++i;
    while (i < s.size() && is_continuation(static_cast<unsigned char>(s[i]))) ++i;
    --index;
  }
  return i;
}

size_t len(std::string_view s) {
  size_t n = 0;
  for (char c : s)
    if (!is_continuation(static_cast<unsigned char>(c))) ++n;
  return n;
}

std::string left(std::string_view s, size_t n) { return std::string(s.substr(0, byte_offset(s, n))); }

std::string right(std::string_view s, size_t n) {
  size_t total = len(s);
  if (n >= total) return std::string(s);
  return std::string(s.substr(byte_offset(s, total - n)));
}

std::string mid(std::string_view s, size_t start, size_t n) {
  if (start < 1) start = 1;
  size_t b = byte_offset(s, start - 1);
  if (b >= s.size()) return {};
  std::string_view rest = s.substr(b);
  if (n == std::string_view::npos) return std::string(rest);
  return std::string(rest.substr(0, byte_offset(rest, n)));
}

size_t pos(std::string_view s, std::string_view needle, size_t start) {
  if (start < 1) start = 1;
  size_t b = byte_offset(s, start - 1);
  if (b > s.size()) return 0;
  size_t found = s.find(needle, b);
  if (found == std::string_view::npos) return 0;
  return len(s.substr(0, found)) + 1;
}

std::string ltrim(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && is_blank(s[i])) ++i;
  return std::string(s.substr(i));
}

std::string rtrim(std::string_view s) {
  size_t n = s.size();
  while (n > 0 && is_blank(s[n - 1])) --n;
  return std::string(s.substr(0, n));
}

std::string trim(std::string_view s) {
  size_t i = 0, n = s.size();
  while (i < n && is_blank(s[i])) ++i;
  while (n > i && is_blank(s[n - 1])) --n;
  return std::string(s.substr(i, n - i));
}

std::string upper(std::string_view s) {
  std::string r(s);
  for (char& c : r)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return r;
}

std::string lower(std::string_view s) {
  std::string r(s);
  for (char& c : r)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return r;
}

bool iequals(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

// Length in bytes of the well-formed UTF-8 sequence at s[i], 0 when none starts there.
static size_t sequence_length(std::string_view s, size_t i) {
  auto c = static_cast<unsigned char>(s[i]);
  size_t extra;
  uint32_t cp;
  if (c < 0x80) return 1;
  if ((c & 0xE0) == 0xC0) { extra = 1; cp = c & 0x1F; }
  else if ((c & 0xF0) == 0xE0) { extra = 2; cp = c & 0x0F; }
  else if ((c & 0xF8) == 0xF0) { extra = 3; cp = c & 0x07; }
  else return 0;
  for (size_t k = 1; k <= extra; ++k) {
    if (i + k >= s.size()) return 0;
    auto cc = static_cast<unsigned char>(s[i + k]);
    if (!is_continuation(cc)) return 0;
    cp = (cp << 6) | (cc & 0x3F);
  }
  if ((extra == 1 && cp < 0x80) || (extra == 2 && cp < 0x800) || (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)) ||
      (cp >= 0xD800 && cp <= 0xDFFF))
    return 0;
  return extra + 1;
}

bool is_valid_utf8(std::string_view s) {
  for (size_t i = 0; i < s.size();) {
    size_t n = sequence_length(s, i);
    if (n == 0) return false;
    i += n;
  }
  return true;
}

std::string valid_utf8(std::string_view s) {
  if (is_valid_utf8(s)) return std::string(s);
  std::string out;
  out.reserve(s.size() + 8);
  for (size_t i = 0; i < s.size();) {
    size_t n = sequence_length(s, i);
    if (n == 0) {
      out += "\xEF\xBF\xBD";  // U+FFFD REPLACEMENT CHARACTER
      ++i;
    } else {
      out.append(s.substr(i, n));
      i += n;
    }
  }
  return out;
}

}  // namespace kq::text
