#include "functions/f_svc_upper_je.h"

#include <array>
#include <cstdint>

namespace kq {
namespace {

// The characters the result is built from; R is kept as these symbols so that
// "the last character of R" is one array element, then encoded once.
enum Sym : uint8_t {
  kSpace,
  kD0, kD1, kD2, kD3, kD4, kD5, kD6, kD7, kD8, kD9,  // 零壹贰叁肆伍陆柒捌玖
  kYuan, kShi, kBai, kQian, kWan, kYi,                // 元拾佰仟万亿
  kJiao, kFen, kZheng, kFu,                           // 角分整负
  kNone,                                              // an empty text
};

constexpr std::array<const char*, kNone> kUtf8 = {
    " ", "零", "壹", "贰", "叁", "肆", "伍", "陆", "柒", "捌", "玖",
    "元", "拾", "佰", "仟", "万", "亿", "角", "分", "整", "负"};

// Integer units by position from the right, read from "万仟佰拾亿仟佰拾万仟佰拾元".
constexpr std::array<Sym, 14> kUnit = {kNone, kYuan, kShi, kBai, kQian, kWan, kShi,
                                       kBai,  kQian, kYi,  kShi, kBai,  kQian, kWan};

constexpr int kMaxIntegerDigits = 13;

bool is_section(Sym c) { return c == kYuan || c == kWan || c == kYi; }

}  // namespace

std::optional<std::string> f_svc_upper_je(std::optional<Decimal> ad_amout) {
  if (!ad_amout) return std::nullopt;
  const Decimal amount = *ad_amout;
  if (amount.is_zero()) return std::string("零元整");
  const bool negative = amount.sign() < 0;
  const Decimal magnitude = amount.abs();

  // "#0.00": the amount in cents, rounded half away from zero (one 128-bit division).
  constexpr Decimal::Raw kCentUnit = Decimal::kOne / 100;
  const Decimal::Raw raw = magnitude.raw();
  Decimal::Raw q = raw / kCentUnit;
  if (2 * (raw - q * kCentUnit) >= kCentUnit) ++q;
  if (q >= static_cast<Decimal::Raw>(1'000'000'000'000'000LL)) return std::nullopt;  // fourteen integer digits
  const auto cents = static_cast<uint64_t>(q);
  uint64_t integer = cents / 100;
  const int tenths = static_cast<int>(cents / 10 % 10);
  const int hundredths = static_cast<int>(cents % 10);

  uint8_t digits[kMaxIntegerDigits + 1];
  int n = 0;
  do {
    digits[n++] = static_cast<uint8_t>(integer % 10);
    integer /= 10;
  } while (integer != 0);
  // digits[] holds the integer part from the right; digit i from the left is digits[n - i].
  const int m = (tenths == 0 && hundredths == 0) ? 0 : 2;

  Sym r[2 * kMaxIntegerDigits + 8];
  int len = 0;
  r[len++] = kSpace;
  Sym prev = kNone;  // P
  for (int i = 1; i <= n; ++i) {
    const int a = digits[n - i];
    Sym b = static_cast<Sym>(kD0 + a);
    Sym c = kUnit[static_cast<size_t>(n - i + 1)];
    Sym d = r[len - 1];
    if (b == kD0 && (d == kD0 || b == prev || is_section(c))) b = kNone;
    if (a == 0 && !is_section(c)) c = kNone;
    if (is_section(c) && d == kD0 && a == 0) {
      --len;  // the dangling 零 before a section unit
      d = r[len - 1];
      if ((c == kYuan && d == kWan) || (c == kWan && d == kYi)) c = kNone;
    }
    if (b != kNone) r[len++] = b;
    if (c != kNone) r[len++] = c;
    prev = b;
  }
  const int decimals[2] = {tenths, hundredths};
  for (int i = 0; i < m; ++i) {
    const int a = decimals[i];
    const Sym u = i == 0 ? kJiao : kFen;
    const Sym b = (a == 0 && u == kFen) ? kNone : static_cast<Sym>(kD0 + a);
    if (b != kNone) r[len++] = b;
    if (a != 0) r[len++] = u;
  }
  if (m == 0) r[len++] = kZheng;

  char buf[4 * (2 * kMaxIntegerDigits + 10)];
  size_t used = 0;
  auto put = [&](Sym sym) {
    const char* p = kUtf8[sym];
    const size_t k = sym == kSpace ? 1 : 3;  // every other symbol is one three-byte character
    for (size_t j = 0; j < k; ++j) buf[used++] = p[j];
  };
  if (negative) put(kFu);
  int start = 0;
  if (magnitude < Decimal(1)) {
    // "零" and R without its leading and trailing spaces.
    put(kD0);
    while (start < len && r[start] == kSpace) ++start;
    while (len > start && r[len - 1] == kSpace) --len;
  }
  for (int i = start; i < len; ++i) put(r[i]);
  std::string out(buf, used);
  return out;
}

}  // namespace kq
