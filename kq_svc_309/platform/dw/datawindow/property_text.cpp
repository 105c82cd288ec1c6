#include "platform/dw/datawindow/property_text.h"

#include "platform/value/text.h"

namespace kq::dw {
namespace {

class Scanner {
 public:
  explicit Scanner(std::string_view t) : t_(t) {}
  void skip_blanks() {
    while (i_ < t_.size() && (t_[i_] == ' ' || t_[i_] == '\t' || t_[i_] == '\r' || t_[i_] == '\n')) ++i_;
  }
  bool done() {
    skip_blanks();
    return i_ >= t_.size();
  }
  std::size_t pos() const { return i_ + 1; }
  bool name_char(char c) const {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '.' ||
           c == '#' || static_cast<unsigned char>(c) >= 0x80;
  }
  Result<PropertyRef> reference() {
    skip_blanks();
    std::size_t start = i_;
    while (i_ < t_.size() && name_char(t_[i_])) ++i_;
    std::string_view ref = t_.substr(start, i_ - start);
    auto dot = ref.find('.');
    if (ref.empty() || dot == std::string_view::npos || dot == 0 || dot + 1 == ref.size())
      return make_error("expected object.property at position " + std::to_string(start + 1));
    return PropertyRef{text::lower(ref.substr(0, dot)), text::lower(ref.substr(dot + 1))};
  }
  bool eat(char c) {
    skip_blanks();
    if (i_ < t_.size() && t_[i_] == c) {
      ++i_;
      return true;
    }
    return false;
  }
  Result<PropertyAssignment> value(PropertyRef target) {
    skip_blanks();
    PropertyAssignment a{std::move(target), "", false};
    if (i_ >= t_.size()) return make_error("missing value at position " + std::to_string(pos()));
    char q = t_[i_];
    if (q == '\'' || q == '"') {
      a.quoted = true;
      for (++i_; i_ < t_.size(); ++i_) {
        char c = t_[i_];
        if (c == '~' && i_ + 1 < t_.size()) {
          char n = t_[++i_];
          a.value += n == 't' ? '\t' : (n == 'r' ? '\r' : (n == 'n' ? '\n' : n));
        } else if (c == q) {
          ++i_;
          return a;
        } else {
          a.value += c;
        }
      }
      return make_error("unterminated quoted value");
    }
    while (i_ < t_.size() && t_[i_] != ' ' && t_[i_] != '\t' && t_[i_] != '\r' && t_[i_] != '\n') a.value += t_[i_++];
    return a;
  }

 private:
  std::string_view t_;
  std::size_t i_ = 0;
};

}  // namespace

Result<std::vector<PropertyAssignment>> parse_modify(std::string_view t) {
  Scanner s(t);
  std::vector<PropertyAssignment> out;
  while (!s.done()) {
    auto ref = s.reference();
    if (!ref) return Error{ref.error()};
    if (!s.eat('=')) return make_error("expected '=' at position " + std::to_string(s.pos()));
    auto v = s.value(std::move(*ref));
    if (!v) return Error{v.error()};
    out.push_back(std::move(*v));
  }
  if (out.empty()) return make_error("nothing to modify");
  return out;
}

Result<std::vector<PropertyRef>> parse_describe(std::string_view t) {
  Scanner s(t);
  std::vector<PropertyRef> out;
  while (!s.done()) {
    auto ref = s.reference();
    if (!ref) return Error{ref.error()};
    out.push_back(std::move(*ref));
  }
  return out;
}

}  // namespace kq::dw
