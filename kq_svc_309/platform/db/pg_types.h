#pragma once
// PostgreSQL's column types as the runtime sees them, and the text forms in
// which values travel to and from the server.
//   text      bpchar (CHAR(n)), varchar, text; a CHAR(n) value is read
//             without its padding, as the embedded default never pads
//   integer   int2, int4, int8 (and bool as 0/1) -> long
//   decimal   numeric(p,s) -> Decimal (float4/float8 too)
//   datetime  timestamp(0) "yyyy-mm-dd hh:mm:ss" -> DateTime
//   blob      bytea -> Blob
#include <optional>
#include <string>
#include <string_view>

#include "platform/db/dialect/catalog.h"
#include "platform/result.h"
#include "platform/value/value.h"

namespace kq::db::pg {

using Oid = unsigned int;

inline constexpr Oid kBool = 16, kBytea = 17, kInt8 = 20, kInt2 = 21, kInt4 = 23, kText = 25, kFloat4 = 700,
                     kFloat8 = 701, kBpchar = 1042, kVarchar = 1043, kTimestamp = 1114, kTimestampTz = 1184,
                     kNumeric = 1700, kUnknown = 705;

// The kind of a column of type `type` with modifier `typmod` (numeric(18,2)
// gives Decimal of scale 2); nullopt for a type the runtime does not read.
std::optional<ColumnInfo> column_info(Oid type, int typmod);

// How a value is sent for a parameter the server typed `type`.
struct ParamText {
  bool null = false;
  bool binary = false;  // bytea goes as raw bytes
  std::string text;
};

// The value in the form the server reads for `type`; `target` is the column
// the dialect knows it is stored into or compared with. An error when the
// value cannot be that type (a text that is no date for a timestamp).
Result<ParamText> param_text(const Value& value, Oid type, const std::optional<ColumnInfo>& target);

// The parameter type that a value needs where the server inferred `inferred`:
// `inferred` itself, or numeric for a fraction where an integer was inferred.
Oid param_type_for(const Value& value, Oid inferred);

// A result value, in text form, of a column of type `type` (`info` its kind).
void read_value(std::string_view text, bool null, Oid type, const std::optional<ColumnInfo>& info, Value& into);

}  // namespace kq::db::pg
