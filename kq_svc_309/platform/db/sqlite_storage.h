#pragma once
// How the embedded SQLite database stores the runtime's values:
//   decimal   REAL, the nearest double of the decimal (after rounding to the
//             column's scale); read back through 15 significant digits, so any
//             decimal of at most 15 significant digits comes back exactly
//             (9 999 999 999 999.99, or a unit price 123456.123456)
//   datetime  TEXT "yyyy-mm-dd hh:mm:ss" (sorts and compares as text)
//   long, flag, boolean  INTEGER (a boolean as 0/1)
//   text      TEXT, UTF-8, never padded
//   blob      BLOB
// Declared column types: CHAR(n)/VARCHAR(n)/TEXT, INTEGER, REAL(p,s) (also
// DECIMAL(p,s)/NUMERIC(p,s)), DATETIME, BLOB.
#include <optional>
#include <string>
#include <string_view>

#include "platform/db/dialect/catalog.h"
#include "platform/value/value.h"

namespace kq::db::sqlite {

// The scale of a REAL column declared without (p,s): no rounding beyond the
// 15 significant digits of the read.
inline constexpr int kUnknownScale = Decimal::kScale;

// The kind of a declared column type ("REAL(18,2)" → Decimal, scale 2);
// nullopt for an empty or unknown declaration.
std::optional<ColumnInfo> column_info_from_decl(std::string_view decl);

// The runtime type whose null a column of this kind gives.
Type type_of(ColumnKind kind);

// The double stored for a decimal: the nearest double to its exact value.
double decimal_to_real(Decimal d);
// The decimal a stored REAL stands for: the decimal of at most 15 significant
// digits nearest to it, then rounded half away from zero to `scale` places.
// nullopt for NaN or infinity.
std::optional<Decimal> real_to_decimal(double v, int scale = kUnknownScale);

// A stored datetime text back to a DateTime; nullopt when it is none.
std::optional<DateTime> parse_stored_datetime(std::string_view text);

// A text bound for a datetime column, as stored: '' or blanks give the absent
// date "1900-01-01 00:00:00"; "yyyy/mm/dd[ hh:mm[:ss]]", "yyyy-mm-dd ..." and
// "yyyymmdd" give "yyyy-mm-dd hh:mm:ss". nullopt for any other text.
std::optional<std::string> datetime_text_for_storage(std::string_view text);

}  // namespace kq::db::sqlite
