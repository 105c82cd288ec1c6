#pragma once
// Escaping of every text the HTML renderer writes, element content and
// attribute values alike.
#include <string>
#include <string_view>

namespace kq::dw {

// Appends `text` so that it reads as plain text both between tags and inside a
// quoted attribute value: & < > " ' become character references, and control
// characters that HTML does not allow (all of C0 but tab, line feed and
// carriage return, and DEL) are dropped; bytes that are not UTF-8 become
// U+FFFD. Other UTF-8 passes through unchanged.
void append_escaped(std::string& out, std::string_view text);
std::string html_escape(std::string_view text);

// Appends ` name="value"` with the value escaped; `name` is the renderer's own.
void append_attribute(std::string& out, std::string_view name, std::string_view value);

}  // namespace kq::dw
