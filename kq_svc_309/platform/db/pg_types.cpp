#include "platform/db/pg_types.h"

#include <cstdlib>
#include <cstring>

#include "libpq-fe.h"
#include "platform/db/sqlite_storage.h"

namespace kq::db::pg {
namespace {

bool is_integer_type(Oid t) { return t == kInt2 || t == kInt4 || t == kInt8 || t == kBool; }
bool is_number_type(Oid t) { return is_integer_type(t) || t == kNumeric || t == kFloat4 || t == kFloat8; }
bool is_time_type(Oid t) { return t == kTimestamp || t == kTimestampTz; }

std::string decimal_text(Decimal d, const std::optional<ColumnInfo>& target) {
  if (target && target->kind == ColumnKind::Decimal && target->scale < Decimal::kScale) d = d.round(target->scale);
  return d.to_string();
}

std::string hex_decode(std::string_view t) {
  size_t n = 0;
  std::string s(t);
  unsigned char* raw = PQunescapeBytea(reinterpret_cast<const unsigned char*>(s.c_str()), &n);
  std::string out(reinterpret_cast<const char*>(raw), n);
  PQfreemem(raw);
  return out;
}

}  // namespace

std::optional<ColumnInfo> column_info(Oid type, int typmod) {
  switch (type) {
    case kBpchar:
    case kVarchar:
    case kText:
      return ColumnInfo{ColumnKind::Text, 0};
    case kInt2:
    case kInt4:
    case kInt8:
    case kBool:
      return ColumnInfo{ColumnKind::Integer, 0};
    case kNumeric:
      return ColumnInfo{ColumnKind::Decimal, typmod >= 4 ? ((typmod - 4) & 0xffff) : sqlite::kUnknownScale};
    case kFloat4:
    case kFloat8:
      return ColumnInfo{ColumnKind::Decimal, sqlite::kUnknownScale};
    case kTimestamp:
    case kTimestampTz:
      return ColumnInfo{ColumnKind::DateTime, 0};
    case kBytea:
      return ColumnInfo{ColumnKind::Blob, 0};
    default:
      return std::nullopt;
  }
}

Oid param_type_for(const Value& value, Oid inferred) {
  if (is_integer_type(inferred) && inferred != kBool && value.is_decimal() && !value.dec().is_integer())
    return kNumeric;
  if (is_integer_type(inferred) && inferred != kBool && value.is_string()) {
    auto d = Decimal::parse(value.str());
    if (d && !d->is_integer()) return kNumeric;
  }
  return inferred;
}

Result<ParamText> param_text(const Value& v, Oid type, const std::optional<ColumnInfo>& target) {
  ParamText p;
  if (v.is_null()) {
    p.null = true;
    return p;
  }
  const bool time = is_time_type(type) || (type == kUnknown && target && target->kind == ColumnKind::DateTime);
  if (v.is_string()) {
    const std::string& s = v.str();
    if (time) {
      auto iso = sqlite::datetime_text_for_storage(s);
      if (!iso) return make_error("'" + s + "' is not a date and time");
      p.text = *iso;
    } else if (type == kBool) {
      p.text = s;
    } else if (is_number_type(type)) {
      auto d = Decimal::parse(s);
      if (!d) return make_error("'" + s + "' is not a number");
      p.text = is_integer_type(type) ? std::to_string(d->to_int64()) : decimal_text(*d, target);
    } else {
      p.text = s;
    }
  } else if (v.is_long()) {
    if (time) return make_error("a number is not a date and time");
    p.text = type == kBool ? (v.lng() != 0 ? "true" : "false") : std::to_string(v.lng());
  } else if (v.is_decimal()) {
    if (time) return make_error("a number is not a date and time");
    Decimal d = v.dec();
    if (is_integer_type(type) && d.is_integer()) p.text = std::to_string(d.to_int64());
    else p.text = decimal_text(d, target);
  } else if (v.is_datetime()) {
    p.text = v.dt().to_iso();
  } else if (v.is_bool()) {
    p.text = type == kBool ? (v.boolean() ? "true" : "false") : (v.boolean() ? "1" : "0");
  } else if (v.is_blob()) {
    p.binary = true;
    p.text = v.blob().bytes;
  }
  return p;
}

void read_value(std::string_view t, bool null, Oid type, const std::optional<ColumnInfo>& info, Value& into) {
  if (null) {
    into = info ? Value::null(sqlite::type_of(info->kind)) : Value();
    return;
  }
  switch (type) {
    case kInt2:
    case kInt4:
    case kInt8:
      into = Value(static_cast<long long>(std::strtoll(std::string(t).c_str(), nullptr, 10)));
      return;
    case kBool:
      into = Value(static_cast<long long>(t == "t" ? 1 : 0));
      return;
    case kNumeric:
    case kFloat4:
    case kFloat8: {
      auto d = Decimal::parse(t);
      into = d ? Value(*d) : Value::null(Type::Decimal);
      return;
    }
    case kTimestamp:
    case kTimestampTz:
      if (auto d = sqlite::parse_stored_datetime(t.substr(0, 19))) {
        into = Value(*d);
        return;
      }
      into = Value(t);
      return;
    case kBpchar: {
      size_t end = t.find_last_not_of(' ');
      into = Value(end == std::string_view::npos ? std::string_view() : t.substr(0, end + 1));
      return;
    }
    case kBytea:
      into = Value(Blob{hex_decode(t)});
      return;
    default:
      into = Value(t);
      return;
  }
}

}  // namespace kq::db::pg
