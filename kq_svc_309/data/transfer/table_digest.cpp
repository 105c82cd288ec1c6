#include "data/transfer/table_digest.h"

#include <sodium.h>

#include <cstdio>
#include <cstring>

namespace kq::data {
namespace {

void append_value(std::string& out, const Value& v) {
  if (v.is_null()) {
    out += 'N';
  } else if (v.is_number() || v.is_bool()) {
    out += 'D';
    out += v.as_decimal().value_or(Decimal()).to_string();
  } else if (v.is_datetime()) {
    out += 'T';
    out += v.dt().to_iso();
  } else if (v.is_blob()) {
    out += 'B';
    out += std::to_string(v.blob().bytes.size());
    out += ':';
    out += v.blob().bytes;
  } else {
    const std::string& s = v.str();
    size_t end = s.size();
    while (end > 0 && s[end - 1] == ' ') --end;
    out += 'S';
    out += std::to_string(end);
    out += ':';
    out.append(s, 0, end);
  }
  out += '\x1f';
}

}  // namespace

void TableDigest::add(std::span<const Value> row) {
  std::string bytes;
  for (const Value& v : row) append_value(bytes, v);
  unsigned char hash[8];
  crypto_generichash(hash, sizeof hash, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), nullptr, 0);
  uint64_t h = 0;
  std::memcpy(&h, hash, sizeof h);
  sum += h;
  ++rows;
}

std::string TableDigest::describe() const {
  char hex[17];
  std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(sum));
  return std::to_string(rows) + " rows, digest " + hex;
}

}  // namespace kq::data
