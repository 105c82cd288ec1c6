#pragma once
// The order in which the workstation sorts text: Chinese collation (ICU's
// "zh", from Debian's libicu): digits first, then Han characters by their
// pinyin, then Latin letters alphabetically with case a lesser difference.
// Numbers and dates are not text and keep their own order.
//
// A collation key is a byte string whose byte-wise order (memcmp, i.e.
// std::string_view::compare) is the collation order of the texts, so that a
// sort computes each text's key once and then compares bytes.
//
// Thread-safe: each thread uses its own collator.
#include <string>
#include <string_view>

namespace kq::text {

// Appends the collation key of UTF-8 `utf8` to `out` (invalid bytes count as
// U+FFFD). Equal texts give equal keys; texts that collation holds equal
// (rare: differences it ignores, such as some control characters) tie, and a
// stable sort keeps their order.
void append_collation_key(std::string& out, std::string_view utf8);

// The key alone.
std::string collation_key(std::string_view utf8);

// <0, 0, >0 as `a` sorts before, with or after `b`.
int collate(std::string_view a, std::string_view b);

}  // namespace kq::text
