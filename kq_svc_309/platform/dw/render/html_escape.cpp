#include "platform/dw/render/html_escape.h"

#include "platform/value/text.h"

namespace kq::dw {

void append_escaped(std::string& out, std::string_view raw) {
  std::string repaired;
  std::string_view text = raw;
  if (!text::is_valid_utf8(raw)) text = repaired = text::valid_utf8(raw);
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      case '\t':
      case '\n':
      case '\r': out += c; break;
      default: {
        unsigned char u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7f) break;
        out += c;
      }
    }
  }
}

std::string html_escape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  append_escaped(out, text);
  return out;
}

void append_attribute(std::string& out, std::string_view name, std::string_view value) {
  out += ' ';
  out += name;
  out += "=\"";
  append_escaped(out, value);
  out += '"';
}

}  // namespace kq::dw
