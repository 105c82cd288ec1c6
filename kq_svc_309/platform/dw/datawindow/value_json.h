#pragma once
// Values in the JSON of a state blob. A typed value is a pair [kind, value]:
// ["s", "text"], ["l", 12], ["d", "1234.50"], ["t", "2026-12-08 09:30:00"],
// ["b", true], ["x", "hex bytes"], or ["n", "type"] for a null of a type. An
// item of a column of known type is written bare: null, "text", 12,
// "1234.50", "2026-12-08 09:30:00". Texts that are not UTF-8 are written as
// {"hex": "..."} so that every byte comes back.
#include <optional>

#include <nlohmann/json.hpp>

#include "platform/value/value.h"

namespace kq::dw {

nlohmann::json typed_to_json(const Value& v);
// nullopt when the JSON is no typed value.
std::optional<Value> typed_from_json(const nlohmann::json& j);

nlohmann::json item_to_json(const Value& v);
// The item as a value of `type`; nullopt when it is none.
std::optional<Value> item_from_json(const nlohmann::json& j, Type type);

}  // namespace kq::dw
