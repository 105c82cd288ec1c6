#include "platform/dw/datawindow/value_json.h"

#include "platform/value/text.h"

namespace kq::dw {
namespace {

using nlohmann::json;

std::string hex(std::string_view bytes) {
  static const char* digits = "0123456789abcdef";
  std::string out;
  for (unsigned char c : bytes) {
    out += digits[c >> 4];
    out += digits[c & 15];
  }
  return out;
}

std::optional<std::string> unhex(std::string_view h) {
  if (h.size() % 2) return std::nullopt;
  auto nibble = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
  };
  std::string out;
  for (std::size_t i = 0; i < h.size(); i += 2) {
    int a = nibble(h[i]), b = nibble(h[i + 1]);
    if (a < 0 || b < 0) return std::nullopt;
    out += static_cast<char>(a * 16 + b);
  }
  return out;
}

json text_to_json(const std::string& s) {
  if (text::is_valid_utf8(s)) return s;
  return json{{"hex", hex(s)}};
}

std::optional<std::string> text_from_json(const json& j) {
  if (j.is_string()) return j.get<std::string>();
  if (j.is_object() && j.contains("hex") && j["hex"].is_string()) return unhex(j["hex"].get<std::string>());
  return std::nullopt;
}

std::optional<Type> type_by_name(std::string_view n) {
  for (Type t : {Type::Any, Type::String, Type::Long, Type::Decimal, Type::DateTime, Type::Boolean, Type::Blob})
    if (n == type_name(t)) return t;
  return std::nullopt;
}

}  // namespace

json typed_to_json(const Value& v) {
  if (v.is_null()) return json::array({"n", type_name(v.type())});
  if (v.is_string()) return json::array({"s", text_to_json(v.str())});
  if (v.is_long()) return json::array({"l", v.lng()});
  if (v.is_decimal()) return json::array({"d", v.dec().to_string()});
  if (v.is_datetime()) return json::array({"t", v.dt().to_iso()});
  if (v.is_bool()) return json::array({"b", v.boolean()});
  return json::array({"x", hex(v.blob().bytes)});
}

std::optional<Value> typed_from_json(const json& j) {
  if (!j.is_array() || j.size() != 2 || !j[0].is_string()) return std::nullopt;
  const std::string kind = j[0].get<std::string>();
  const json& v = j[1];
  if (kind == "n") {
    auto t = v.is_string() ? type_by_name(v.get<std::string>()) : std::nullopt;
    if (!t) return std::nullopt;
    return Value::null(*t);
  }
  if (kind == "s") {
    auto s = text_from_json(v);
    if (!s) return std::nullopt;
    return Value(*s);
  }
  if (kind == "l" && v.is_number_integer()) return Value(static_cast<long long>(v.get<int64_t>()));
  if (kind == "d" && v.is_string()) {
    auto d = Decimal::parse(v.get<std::string>());
    if (!d) return std::nullopt;
    return Value(*d);
  }
  if (kind == "t" && v.is_string()) {
    auto d = DateTime::parse(v.get<std::string>());
    if (!d) return std::nullopt;
    return Value(*d);
  }
  if (kind == "b" && v.is_boolean()) return Value(v.get<bool>());
  if (kind == "x" && v.is_string()) {
    auto b = unhex(v.get<std::string>());
    if (!b) return std::nullopt;
    return Value(Blob{*b});
  }
  return std::nullopt;
}

json item_to_json(const Value& v) {
  if (v.is_null()) return nullptr;
  if (v.is_string()) return text_to_json(v.str());
  if (v.is_long()) return v.lng();
  if (v.is_decimal()) return v.dec().to_string();
  if (v.is_datetime()) return v.dt().to_iso();
  return typed_to_json(v);
}

std::optional<Value> item_from_json(const json& j, Type type) {
  if (j.is_null()) return Value::null(type);
  Value v;
  if (j.is_number_integer()) v = Value(static_cast<long long>(j.get<int64_t>()));
  else if (auto s = text_from_json(j)) v = Value(*s);
  else if (auto t = typed_from_json(j)) v = *t;
  else return std::nullopt;
  auto c = v.converted_to(type);
  if (!c || (c->is_null() && !v.is_null())) return std::nullopt;
  return c;
}

}  // namespace kq::dw
