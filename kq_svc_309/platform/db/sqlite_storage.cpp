#include "platform/db/sqlite_storage.h"

#include <cmath>

#include "platform/value/text.h"

namespace kq::db::sqlite {
namespace {

constexpr double kPow10d[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10};
constexpr int64_t kPow10i[] = {1,          10,          100,          1000,          10000,         100000,
                               1000000,    10000000,    100000000,    1000000000,    10000000000LL};
constexpr double kMax15Digits = 1e15;       // integers below it have at most 15 digits
constexpr double kMaxExactInt = 9007199254740992.0;  // 2^53

bool starts_with_ci(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && text::iequals(s.substr(0, prefix.size()), prefix);
}

// The scale s of "(p,s)" after a type name; nullopt when there is none.
std::optional<int> scale_of(std::string_view decl) {
  auto comma = decl.find(',');
  if (comma == std::string_view::npos) return std::nullopt;
  int s = 0;
  bool any = false;
  for (size_t i = comma + 1; i < decl.size(); ++i) {
    char c = decl[i];
    if (c == ' ') continue;
    if (c < '0' || c > '9') break;
    s = s * 10 + (c - '0');
    any = true;
    if (s > 38) return std::nullopt;
  }
  if (!any) return std::nullopt;
  return s > Decimal::kScale ? Decimal::kScale : s;
}

// The decimal N / 10^s when `v` is the double nearest to such a decimal with
// at most 15 significant digits. Such a decimal is what reading `v` through
// 15 significant digits gives (doubles round-trip 15 digits), so this is a
// fast and exact shortcut of Decimal::from_double.
std::optional<Decimal> exact_at_scale(double v, int s) {
  double x = v * kPow10d[s];
  if (!(std::fabs(x) < kMax15Digits)) return std::nullopt;
  double n = std::nearbyint(x);
  if (n / kPow10d[s] != v) return std::nullopt;
  auto whole = static_cast<int64_t>(n);
  return Decimal::from_raw(static_cast<Decimal::Raw>(whole) * kPow10i[Decimal::kScale - s]);
}

}  // namespace

std::optional<ColumnInfo> column_info_from_decl(std::string_view decl) {
  while (!decl.empty() && decl.front() == ' ') decl.remove_prefix(1);
  if (decl.empty()) return std::nullopt;
  if (starts_with_ci(decl, "CHAR") || starts_with_ci(decl, "VARCHAR") || starts_with_ci(decl, "NCHAR") ||
      starts_with_ci(decl, "NVARCHAR") || starts_with_ci(decl, "TEXT"))
    return ColumnInfo{ColumnKind::Text, 0};
  if (starts_with_ci(decl, "INT") || starts_with_ci(decl, "BIGINT") || starts_with_ci(decl, "SMALLINT") ||
      starts_with_ci(decl, "TINYINT"))
    return ColumnInfo{ColumnKind::Integer, 0};
  if (starts_with_ci(decl, "REAL") || starts_with_ci(decl, "DECIMAL") || starts_with_ci(decl, "NUMERIC") ||
      starts_with_ci(decl, "DOUBLE") || starts_with_ci(decl, "FLOAT"))
    return ColumnInfo{ColumnKind::Decimal, scale_of(decl).value_or(kUnknownScale)};
  if (starts_with_ci(decl, "DATETIME") || starts_with_ci(decl, "DATE") || starts_with_ci(decl, "TIMESTAMP"))
    return ColumnInfo{ColumnKind::DateTime, 0};
  if (starts_with_ci(decl, "BLOB") || starts_with_ci(decl, "IMAGE") || starts_with_ci(decl, "VARBINARY"))
    return ColumnInfo{ColumnKind::Blob, 0};
  return std::nullopt;
}

Type type_of(ColumnKind kind) {
  switch (kind) {
    case ColumnKind::Text: return Type::String;
    case ColumnKind::Integer: return Type::Long;
    case ColumnKind::Decimal: return Type::Decimal;
    case ColumnKind::DateTime: return Type::DateTime;
    case ColumnKind::Blob: return Type::Blob;
  }
  return Type::Any;
}

double decimal_to_real(Decimal d) {
  // N / 10^s with N and 10^s exact doubles is correctly rounded by IEEE division.
  Decimal::Raw raw = d.raw();
  int s = Decimal::kScale;
  while (s > 0 && raw % 10 == 0) {
    raw /= 10;
    --s;
  }
  Decimal::Raw mag = raw < 0 ? -raw : raw;
  if (mag < static_cast<Decimal::Raw>(kMaxExactInt)) return static_cast<double>(static_cast<int64_t>(raw)) / kPow10d[s];
  return d.to_double();
}

std::optional<Decimal> real_to_decimal(double v, int scale) {
  if (!std::isfinite(v)) return std::nullopt;
  if (std::fabs(v) < 1e-11) return Decimal();  // below the finest unit of a Decimal
  if (scale < 0) scale = 0;
  if (scale > Decimal::kScale) scale = Decimal::kScale;
  if (scale < Decimal::kScale) {
    if (auto d = exact_at_scale(v, scale)) return d;
  } else {
    for (int s : {2, 6, 10})
      if (auto d = exact_at_scale(v, s)) return d;
  }
  auto d = Decimal::from_double(v);
  if (!d) return std::nullopt;
  return scale < Decimal::kScale ? d->round(scale) : *d;
}

std::optional<DateTime> parse_stored_datetime(std::string_view t) {
  // Fast path for the stored form "yyyy-mm-dd hh:mm:ss".
  if (t.size() == 19 && t[4] == '-' && t[7] == '-' && t[10] == ' ' && t[13] == ':' && t[16] == ':') {
    auto num = [&](size_t at, size_t n, int& out) {
      int v = 0;
      for (size_t i = at; i < at + n; ++i) {
        char c = t[i];
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
      }
      out = v;
      return true;
    };
    int y, mo, d, h, mi, s;
    if (num(0, 4, y) && num(5, 2, mo) && num(8, 2, d) && num(11, 2, h) && num(14, 2, mi) && num(17, 2, s))
      return DateTime::from_parts(y, mo, d, h, mi, s);
    return std::nullopt;
  }
  return DateTime::parse(t);
}

std::optional<std::string> datetime_text_for_storage(std::string_view t) {
  std::string trimmed = text::trim(t);
  if (trimmed.empty()) return DateTime::absent().to_iso();
  auto d = DateTime::parse(trimmed);
  if (!d) return std::nullopt;
  return d->to_iso();
}

}  // namespace kq::db::sqlite
