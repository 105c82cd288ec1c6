#pragma once
// String functions of the runtime on UTF-8 text. Positions and lengths count
// characters (code points), not bytes, and start at 1 as the runtime's do.
#include <cstddef>
#include <string>
#include <string_view>

namespace kq::text {

// Number of characters.
size_t len(std::string_view s);
// The first n characters (all of them when n >= len).
std::string left(std::string_view s, size_t n);
// The last n characters.
std::string right(std::string_view s, size_t n);
// n characters from character `start` (1-based); to the end when n is npos.
std::string mid(std::string_view s, size_t start, size_t n = std::string_view::npos);
// Position (1-based) of `needle` at or after character `start`; 0 when absent.
size_t pos(std::string_view s, std::string_view needle, size_t start = 1);
// Without leading and trailing blanks (space, tab, CR, LF).
std::string trim(std::string_view s);
std::string ltrim(std::string_view s);
std::string rtrim(std::string_view s);
// ASCII letters changed; other characters kept.
std::string upper(std::string_view s);
std::string lower(std::string_view s);
// Case-insensitive equality of ASCII letters.
bool iequals(std::string_view a, std::string_view b);
// True when the bytes are well-formed UTF-8.
bool is_valid_utf8(std::string_view s);
// `s` as well-formed UTF-8: every byte that does not begin a well-formed
// sequence (text from a legacy encoding such as GBK, a cut sequence) becomes
// U+FFFD. Used wherever text leaves the program (JSON, HTML,
// PDF, CSV, the log), so that one bad byte never stops an answer.
std::string valid_utf8(std::string_view s);
// Byte offset of character `index` (0-based); s.size() past the end.
size_t byte_offset(std::string_view s, size_t index);

}  // namespace kq::text
