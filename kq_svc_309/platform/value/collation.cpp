#include "platform/value/collation.h"

#include <unicode/coll.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <cstdint>
#include <memory>
#include <stdexcept>

namespace kq::text {
namespace {

icu::Collator& collator() {
  thread_local std::unique_ptr<icu::Collator> c = [] {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Collator> made(icu::Collator::createInstance(icu::Locale("zh"), status));
    if (U_FAILURE(status) || !made) throw std::runtime_error("ICU Chinese collation is not available");
    return made;
  }();
  return *c;
}

}  // namespace

void append_collation_key(std::string& out, std::string_view utf8) {
  const icu::UnicodeString u = icu::UnicodeString::fromUTF8(icu::StringPiece(utf8.data(), static_cast<int32_t>(utf8.size())));
  icu::Collator& c = collator();
  const std::size_t at = out.size();
  out.resize(at + 64 + 4 * static_cast<std::size_t>(u.length()));
  int32_t need = c.getSortKey(u, reinterpret_cast<uint8_t*>(out.data() + at), static_cast<int32_t>(out.size() - at));
  if (need > static_cast<int32_t>(out.size() - at)) {
    out.resize(at + static_cast<std::size_t>(need));
    need = c.getSortKey(u, reinterpret_cast<uint8_t*>(out.data() + at), need);
  }
  // The key ends with a 0 byte, which orders nothing.
  out.resize(at + static_cast<std::size_t>(need > 0 ? need - 1 : 0));
}

std::string collation_key(std::string_view utf8) {
  std::string out;
  append_collation_key(out, utf8);
  return out;
}

int collate(std::string_view a, std::string_view b) {
  const int c = collation_key(a).compare(collation_key(b));
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

}  // namespace kq::text
