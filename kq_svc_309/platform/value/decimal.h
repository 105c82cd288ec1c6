#pragma once
// Exact decimal numbers for money, rates, quantities and unit prices.
//
// A Decimal is a signed 128-bit integer counted in units of 10^-10, so it holds
// amounts up to about 1.7e28 with ten fractional digits: money (two places),
// unit prices (six places), and the products and quotients of amounts up to
// 9 999 999 999 999.99. No binary floating point is involved in any operation;
// conversions from and to double exist only for database drivers that store REAL.
#include <compare>
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

namespace kq {

class Decimal {
 public:
  using Raw = __int128;
  static constexpr int kScale = 10;

  constexpr Decimal() = default;
  constexpr Decimal(int v) : raw_(static_cast<Raw>(v) * kOne) {}            // NOLINT(google-explicit-constructor)
  constexpr Decimal(long v) : raw_(static_cast<Raw>(v) * kOne) {}           // NOLINT
  constexpr Decimal(long long v) : raw_(static_cast<Raw>(v) * kOne) {}      // NOLINT

  // From the raw count of 10^-10 units.
  static constexpr Decimal from_raw(Raw raw) { Decimal d; d.raw_ = raw; return d; }

  // Parses "[-+]digits[.digits]" (leading/trailing blanks allowed, an exponent
  // "e±n" accepted). More than ten fractional digits are rounded half away from
  // zero. Returns nullopt for anything else or for a value out of range.
  static std::optional<Decimal> parse(std::string_view text);

  // The decimal with at most 15 significant digits nearest to the double (the
  // REAL of a database column back to its decimal value). nullopt for NaN/inf.
  static std::optional<Decimal> from_double(double v);
  double to_double() const;

  constexpr Raw raw() const { return raw_; }
  constexpr int sign() const { return raw_ < 0 ? -1 : (raw_ > 0 ? 1 : 0); }
  constexpr Decimal abs() const { return from_raw(raw_ < 0 ? -raw_ : raw_); }
  constexpr bool is_zero() const { return raw_ == 0; }

  // Rounded to `places` fractional digits (0..10), half away from zero.
  Decimal round(int places) const;
  // Cut to `places` fractional digits, toward zero.
  Decimal truncate(int places) const;
  // Integer part, toward zero, saturating at the int64 range.
  int64_t to_int64() const;
  bool is_integer() const { return raw_ % kOne == 0; }

  // Shortest exact text: "1234.5", "0", "-0.05".
  std::string to_string() const;
  // Rounded to `places` digits and written with exactly that many: "1234.50".
  std::string to_fixed(int places) const;

  friend constexpr bool operator==(Decimal a, Decimal b) { return a.raw_ == b.raw_; }
  friend constexpr std::strong_ordering operator<=>(Decimal a, Decimal b) { return a.raw_ <=> b.raw_; }

  friend constexpr Decimal operator-(Decimal a) { return from_raw(-a.raw_); }
  friend constexpr Decimal operator+(Decimal a, Decimal b) { return from_raw(a.raw_ + b.raw_); }
  friend constexpr Decimal operator-(Decimal a, Decimal b) { return from_raw(a.raw_ - b.raw_); }
  // Product rounded half away from zero to ten places; nullopt on overflow.
  static std::optional<Decimal> multiply(Decimal a, Decimal b);
  // Quotient rounded half away from zero to ten places; nullopt on a zero
  // divisor or overflow.
  static std::optional<Decimal> divide(Decimal a, Decimal b);
  Decimal& operator+=(Decimal b) { raw_ += b.raw_; return *this; }
  Decimal& operator-=(Decimal b) { raw_ -= b.raw_; return *this; }

  static constexpr Raw kOne = 10'000'000'000LL;  // 10^kScale

 private:
  Raw raw_ = 0;
};

// Writes to_string(): what test failures and logs show of a decimal.
std::ostream& operator<<(std::ostream& os, const Decimal& d);

}  // namespace kq
