#include "platform/value/format.h"

#include <vector>

#include "platform/value/text.h"

namespace kq::format {
namespace {

// Splits a mask into its ';' sections.
std::vector<std::string_view> sections(std::string_view mask) {
  std::vector<std::string_view> out;
  size_t start = 0;
  for (size_t i = 0; i <= mask.size(); ++i) {
    if (i == mask.size() || mask[i] == ';') {
      out.push_back(mask.substr(start, i - start));
      start = i + 1;
    }
  }
  return out;
}

bool is_digit_placeholder(char c) { return c == '#' || c == '0'; }

// Formats a non-negative value with one section of a number mask.
std::string number_section(const Decimal& magnitude, std::string_view mask) {
  size_t first = mask.find_first_of("#0");
  if (first == std::string_view::npos) return std::string(mask);  // a mask of literals only
  // The numeric pattern runs from the first to the last placeholder, taking in ',' and '.'.
  size_t last = mask.find_last_of("#0");
  size_t begin = first, end = last + 1;
  while (begin > 0 && (mask[begin - 1] == ',' || mask[begin - 1] == '.')) --begin;
  std::string_view prefix = mask.substr(0, begin);
  std::string_view pattern = mask.substr(begin, end - begin);
  std::string_view suffix = mask.substr(end);

  size_t point = pattern.find('.');
  std::string_view int_pat = pattern.substr(0, point);
  std::string_view frac_pat = point == std::string_view::npos ? std::string_view() : pattern.substr(point + 1);

  int frac_places = 0, frac_required = 0;
  for (size_t i = 0; i < frac_pat.size(); ++i) {
    if (!is_digit_placeholder(frac_pat[i])) continue;
    ++frac_places;
    if (frac_pat[i] == '0') frac_required = frac_places;  // every place up to the last '0' is written
  }
  int int_required = 0;
  bool grouping = false;
  for (char c : int_pat) {
    if (c == '0') ++int_required;
    if (c == ',') grouping = true;
  }
  // A '0' followed by '#' still counts from the right: "0##" requires three digits as the runtime does.
  if (int_required > 0) {
    size_t first_zero = int_pat.find('0');
    int_required = 0;
    for (size_t i = first_zero; i < int_pat.size(); ++i)
      if (is_digit_placeholder(int_pat[i])) ++int_required;
  }

  std::string fixed = magnitude.to_fixed(frac_places);  // "1234.50" or "1234"
  size_t dot = fixed.find('.');
  std::string int_digits = fixed.substr(0, dot);
  std::string frac_digits = dot == std::string::npos ? std::string() : fixed.substr(dot + 1);
  while (static_cast<int>(frac_digits.size()) > frac_required && !frac_digits.empty() && frac_digits.back() == '0')
    frac_digits.pop_back();

  if (int_digits == "0" && int_required == 0) int_digits.clear();
  while (static_cast<int>(int_digits.size()) < int_required) int_digits.insert(int_digits.begin(), '0');
  if (grouping && int_digits.size() > 3) {
    std::string grouped;
    size_t lead = int_digits.size() % 3;
    if (lead == 0) lead = 3;
    grouped.append(int_digits, 0, lead);
    for (size_t i = lead; i < int_digits.size(); i += 3) {
      grouped.push_back(',');
      grouped.append(int_digits, i, 3);
    }
    int_digits = grouped;
  }

  std::string out(prefix);
  out += int_digits;
  if (!frac_digits.empty()) {
    out.push_back('.');
    out += frac_digits;
  }
  out += suffix;
  return out;
}

bool ieq(char a, char b) {
  auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
  return lower(a) == lower(b);
}

// Length of the run of the same (case-insensitive) letter at i.
size_t run_of(std::string_view s, size_t i) {
  size_t n = 1;
  while (i + n < s.size() && ieq(s[i + n], s[i])) ++n;
  return n;
}

void append_padded(std::string& out, int v, int width) {
  std::string d = std::to_string(v);
  while (static_cast<int>(d.size()) < width) d.insert(d.begin(), '0');
  out += d;
}

}  // namespace

std::string number(const Decimal& v, std::string_view mask) {
  if (mask.empty() || text::iequals(mask, "[general]")) return v.to_string();
  auto parts = sections(mask);
  if (v.is_zero() && parts.size() >= 3 && !parts[2].empty()) return number_section(v, parts[2]);
  if (v.sign() < 0) {
    if (parts.size() >= 2 && !parts[1].empty()) return number_section(v.abs(), parts[1]);
    std::string body = number_section(v.abs(), parts[0]);
    // A value that rounds to zero prints without the sign.
    bool all_zero = body.find_first_of("123456789") == std::string::npos;
    return all_zero ? body : "-" + body;
  }
  return number_section(v, parts[0]);
}

std::string datetime(const DateTime& v, std::string_view mask) {
  if (mask.empty() || text::iequals(mask, "[general]")) return v.to_string();
  std::string out;
  bool after_hour = false;
  for (size_t i = 0; i < mask.size();) {
    char c = mask[i];
    size_t n = (c >= 'A' && c <= 'z') ? run_of(mask, i) : 1;
    switch (c) {
      case 'y': case 'Y':
        if (n >= 4) append_padded(out, v.year(), 4);
        else append_padded(out, v.year() % 100, 2);
        after_hour = false;
        break;
      case 'm': case 'M':
        if (after_hour) append_padded(out, v.minute(), n >= 2 ? 2 : 1);
        else append_padded(out, v.month(), n >= 2 ? 2 : 1);
        after_hour = false;
        break;
      case 'd': case 'D':
        append_padded(out, v.day(), n >= 2 ? 2 : 1);
        after_hour = false;
        break;
      case 'h': case 'H':
        append_padded(out, v.hour(), n >= 2 ? 2 : 1);
        after_hour = true;
        break;
      case 's': case 'S':
        append_padded(out, v.second(), n >= 2 ? 2 : 1);
        after_hour = false;
        break;
      default:
        out.append(mask.substr(i, n));
        break;
    }
    i += n;
  }
  return out;
}

std::string general(const Value& v) {
  if (v.is_null()) return {};
  if (v.is_datetime()) return v.dt().to_string();
  return *v.as_string();
}

std::string value(const Value& v, std::string_view mask) {
  if (v.is_null()) return {};
  if (mask.empty() || text::iequals(mask, "[general]")) return general(v);
  if (v.is_number()) return number(*v.as_decimal(), mask);
  if (v.is_datetime()) return datetime(v.dt(), mask);
  return general(v);
}

}  // namespace kq::format
