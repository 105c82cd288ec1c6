#include "platform/value/decimal.h"

#include <boost/multiprecision/cpp_int.hpp>
#include <cmath>
#include <cstdio>
#include <limits>
#include <ostream>

namespace kq {
namespace {

using Wide = boost::multiprecision::int256_t;
using URaw = unsigned __int128;

constexpr Decimal::Raw kRawMax = static_cast<Decimal::Raw>(~static_cast<URaw>(0) >> 1);

constexpr Decimal::Raw pow10(int n) {
  Decimal::Raw r = 1;
  for (int i = 0; i < n; ++i) r *= 10;
  return r;
}

// Divides by d (> 0), rounding half away from zero.
Decimal::Raw div_round(Decimal::Raw v, Decimal::Raw d) {
  Decimal::Raw q = v / d;
  Decimal::Raw r = v % d;
  if (r < 0) r = -r;
  if (2 * r >= d) q += (v < 0 ? -1 : 1);
  return q;
}

Wide widen(Decimal::Raw v) {
  URaw mag = v < 0 ? static_cast<URaw>(-(v + 1)) + 1 : static_cast<URaw>(v);
  Wide w = (Wide(static_cast<uint64_t>(mag >> 64)) << 64) | Wide(static_cast<uint64_t>(mag));
  return v < 0 ? Wide(-w) : w;
}

std::optional<Decimal::Raw> narrow(const Wide& w) {
  if (w > widen(kRawMax) || w < -widen(kRawMax)) return std::nullopt;
  // Convert via two 64-bit halves: cpp_int has no direct __int128 conversion.
  Wide mag = w < 0 ? Wide(-w) : w;
  const Wide mask = (Wide(1) << 64) - 1;
  auto lo = static_cast<uint64_t>(mag & mask);
  auto hi = static_cast<uint64_t>(mag >> 64);
  Decimal::Raw r = static_cast<Decimal::Raw>((static_cast<URaw>(hi) << 64) | lo);
  return w < 0 ? -r : r;
}


Wide wide_div_round(const Wide& v, const Wide& d) {
  Wide q = v / d;
  Wide r = v % d;
  if (r < 0) r = -r;
  Wide ad = d < 0 ? Wide(-d) : d;
  if (2 * r >= ad) q += ((v < 0) != (d < 0)) ? -1 : 1;
  return q;
}

void append_uint(std::string& out, URaw v) {
  char buf[48];
  int n = 0;
  do {
    buf[n++] = static_cast<char>('0' + static_cast<int>(v % 10));
    v /= 10;
  } while (v != 0);
  while (n > 0) out.push_back(buf[--n]);
}

}  // namespace

std::optional<Decimal> Decimal::parse(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r' || s.back() == '\n')) s.remove_suffix(1);
  if (s.empty()) return std::nullopt;
  bool neg = false;
  if (s.front() == '-' || s.front() == '+') {
    neg = s.front() == '-';
    s.remove_prefix(1);
  }
  // Mantissa digits, with the position of the point.
  Wide mant = 0;
  int frac_digits = 0;
  bool seen_point = false, any_digit = false;
  size_t i = 0;
  for (; i < s.size(); ++i) {
    char c = s[i];
    if (c >= '0' && c <= '9') {
      any_digit = true;
      if (mant < widen(pow10(30)) * widen(pow10(30))) {  // ignore digits beyond 60 significant
        mant = mant * 10 + (c - '0');
        if (seen_point) ++frac_digits;
      } else if (!seen_point) {
        return std::nullopt;
      }
    } else if (c == '.' && !seen_point) {
      seen_point = true;
    } else {
      break;
    }
  }
  if (!any_digit) return std::nullopt;
  int exponent = 0;
  if (i < s.size()) {
    if (s[i] != 'e' && s[i] != 'E') return std::nullopt;
    ++i;
    bool eneg = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) eneg = s[i++] == '-';
    if (i >= s.size()) return std::nullopt;
    for (; i < s.size(); ++i) {
      if (s[i] < '0' || s[i] > '9') return std::nullopt;
      exponent = exponent * 10 + (s[i] - '0');
      if (exponent > 100) return std::nullopt;
    }
    if (eneg) exponent = -exponent;
  }
  int shift = kScale - frac_digits + exponent;  // raw = mant * 10^shift
  Wide raw;
  if (shift >= 0) {
    if (shift > 40) return mant == 0 ? std::optional<Decimal>(Decimal()) : std::nullopt;
    raw = mant * widen(pow10(std::min(shift, 38)));
    for (int k = 38; k < shift; ++k) raw *= 10;
  } else {
    Wide d = 1;
    for (int k = 0; k < -shift; ++k) d *= 10;
    raw = wide_div_round(mant, d);
  }
  auto r = narrow(neg ? Wide(-raw) : raw);
  if (!r) return std::nullopt;
  return from_raw(*r);
}

std::optional<Decimal> Decimal::from_double(double v) {
  if (!std::isfinite(v)) return std::nullopt;
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.15g", v);
  return parse(buf);
}

double Decimal::to_double() const {
  // Through text: the nearest double to the exact decimal value.
  return std::strtod(to_string().c_str(), nullptr);
}

Decimal Decimal::round(int places) const {
  if (places >= kScale) return *this;
  if (places < 0) places = 0;
  Raw unit = pow10(kScale - places);
  return from_raw(div_round(raw_, unit) * unit);
}

Decimal Decimal::truncate(int places) const {
  if (places >= kScale) return *this;
  if (places < 0) places = 0;
  Raw unit = pow10(kScale - places);
  return from_raw(raw_ / unit * unit);
}

int64_t Decimal::to_int64() const {
  Raw q = raw_ / kOne;
  if (q > std::numeric_limits<int64_t>::max()) return std::numeric_limits<int64_t>::max();
  if (q < std::numeric_limits<int64_t>::min()) return std::numeric_limits<int64_t>::min();
  return static_cast<int64_t>(q);
}

std::string Decimal::to_string() const {
  std::string out;
  URaw mag = raw_ < 0 ? static_cast<URaw>(-(raw_ + 1)) + 1 : static_cast<URaw>(raw_);
  if (raw_ < 0) out.push_back('-');
  append_uint(out, mag / static_cast<URaw>(kOne));
  URaw frac = mag % static_cast<URaw>(kOne);
  if (frac != 0) {
    char digits[kScale];
    for (int k = kScale - 1; k >= 0; --k) {
      digits[k] = static_cast<char>('0' + static_cast<int>(frac % 10));
      frac /= 10;
    }
    int n = kScale;
    while (n > 0 && digits[n - 1] == '0') --n;
    out.push_back('.');
    out.append(digits, static_cast<size_t>(n));
  }
  return out;
}

std::string Decimal::to_fixed(int places) const {
  if (places < 0) places = 0;
  if (places > kScale) places = kScale;
  Decimal r = round(places);
  std::string out;
  URaw mag = r.raw_ < 0 ? static_cast<URaw>(-(r.raw_ + 1)) + 1 : static_cast<URaw>(r.raw_);
  if (r.raw_ < 0) out.push_back('-');
  append_uint(out, mag / static_cast<URaw>(kOne));
  if (places > 0) {
    URaw frac = mag % static_cast<URaw>(kOne) / static_cast<URaw>(pow10(kScale - places));
    out.push_back('.');
    std::string f;
    append_uint(f, frac);
    out.append(static_cast<size_t>(places) - f.size(), '0');
    out += f;
  }
  return out;
}

std::optional<Decimal> Decimal::multiply(Decimal a, Decimal b) {
  // Fast path: both factors small enough for a 128-bit product.
  Raw x = a.raw_ < 0 ? -a.raw_ : a.raw_;
  Raw y = b.raw_ < 0 ? -b.raw_ : b.raw_;
  constexpr Raw kHalf = static_cast<Raw>(1) << 62;
  if (x < kHalf && y < kHalf) return from_raw(div_round(a.raw_ * b.raw_, kOne));
  Wide p = wide_div_round(widen(a.raw_) * widen(b.raw_), widen(kOne));
  auto r = narrow(p);
  if (!r) return std::nullopt;
  return from_raw(*r);
}

std::optional<Decimal> Decimal::divide(Decimal a, Decimal b) {
  if (b.raw_ == 0) return std::nullopt;
  Wide q = wide_div_round(widen(a.raw_) * widen(kOne), widen(b.raw_));
  auto r = narrow(q);
  if (!r) return std::nullopt;
  return from_raw(*r);
}

std::ostream& operator<<(std::ostream& os, const Decimal& d) { return os << d.to_string(); }

}  // namespace kq
