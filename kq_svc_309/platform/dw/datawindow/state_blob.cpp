// The full state of a data window as a versioned JSON blob, and back.
#include <nlohmann/json.hpp>

#include "platform/dw/datawindow/datawindow.h"
#include "platform/dw/datawindow/state_format.h"
#include "platform/dw/datawindow/value_json.h"
#include "platform/value/text.h"

namespace kq::dw {

using nlohmann::json;

namespace {

std::string column_type_text(const ColumnDef& c) {
  switch (c.type) {
    case Type::String: return "char(" + std::to_string(c.length) + ")";
    case Type::Decimal: return "decimal(" + std::to_string(c.scale) + ")";
    case Type::DateTime: return "datetime";
    default: return "long";
  }
}

// Whether `j` is a state this program reads: Foreign when it is no data
// window state at all, Corrupt when it is one without a valid version,
// UnsupportedVersion when a newer program wrote it.
Result<void> identify(const json& j) {
  if (!j.is_object()) return make_error("not a data window state", ErrorKind::Foreign);
  const auto format = j.find("format");
  if (format == j.end() || !format->is_string() || format->get<std::string>() != kStateFormat)
    return make_error("not a data window state", ErrorKind::Foreign);
  const auto version = j.find("version");
  if (version == j.end() || !version->is_number_integer() || version->get<int64_t>() < 1)
    return make_error("data window state has no valid version", ErrorKind::Corrupt);
  if (version->get<int64_t>() > kStateVersion)
    return make_error("data window state version " + std::to_string(version->get<int64_t>()) +
                          "; this program reads up to " + std::to_string(kStateVersion),
                      ErrorKind::UnsupportedVersion);
  return {};
}

// Whether text that does not parse is a state of ours damaged: it names our
// format, or it is a JSON object that ends before it is complete.
bool cut_off_or_garbled(const std::string& bytes) {
  if (bytes.find("\"" + std::string(kStateFormat) + "\"") != std::string::npos) return true;
  const size_t first = bytes.find_first_not_of(" \t\r\n");
  if (first == std::string::npos || bytes[first] != '{') return false;
  try {
    const json parsed = json::parse(bytes);
    (void)parsed;
  } catch (const json::parse_error& e) {
    return e.byte > bytes.size();  // the text ended where more was due
  }
  return false;
}

}  // namespace

class StateCodec {
 public:
  static json encode(DataWindow& dw);
  static Result<void> decode(DataWindow& dw, const json& j);

 private:
  static json encode_row(const DataWindow& dw, RowIndex r);
  static Result<void> decode_row(DataWindow& dw, const json& j, Buffer b, const std::vector<int>& slots);
};

void DataWindow::touch_presentation() {
  if (!bound_) return;
  const Definition& d = bound_->definition();
  bool has_reports = false;
  for (const ObjectDef* o : d.objects()) has_reports = has_reports || o->kind == ObjectDef::Kind::Report;
  if (!has_reports && !bound_->functions().declares_any()) return;
  // Rows as a renderer asks for them: each row, or 0 when there is none.
  const long n = rowcount();
  for (const ObjectDef* o : d.objects()) {
    for (long row = n == 0 ? 0 : 1; row <= n; ++row) {
      visible(*o, row);
      is_protected(*o, row);
      if (o->kind == ObjectDef::Kind::Report) nested(*o, row);
      else display_text(*o, row);
    }
  }
}

json StateCodec::encode_row(const DataWindow& dw, RowIndex r) {
  const RowBuffers& rows = dw.rows_;
  json items = json::array();
  for (std::size_t c = 0; c < rows.store.column_count(); ++c) items.push_back(item_to_json(rows.store.get(r, c)));
  json row{{"status", status_name(rows.status(r))}, {"items", std::move(items)}};
  if (rows.selected(r)) row["selected"] = true;
  json changed = json::array();
  for (uint32_t c : rows.modified_columns(r))
    changed.push_back(json{{"column", c + 1}, {"original", item_to_json(rows.original(r, c))}});
  if (!changed.empty()) row["changed"] = std::move(changed);
  return row;
}

json StateCodec::encode(DataWindow& dw) {
  dw.touch_presentation();
  const Definition& d = dw.definition();
  json j{{"format", kStateFormat}, {"version", kStateVersion}, {"dataobject", d.name}};
  json columns = json::array();
  for (const ColumnDef& c : d.columns) columns.push_back(json{{"name", c.name}, {"type", column_type_text(c)}});
  j["columns"] = std::move(columns);
  json args = json::array();
  for (const Value& a : dw.args_) args.push_back(typed_to_json(a));
  j["arguments"] = std::move(args);

  json buffers = json::object();
  for (auto [b, name] : {std::pair{Buffer::Primary, "primary"}, std::pair{Buffer::Filter, "filter"},
                         std::pair{Buffer::Delete, "delete"}}) {
    json list = json::array();
    for (RowIndex r : dw.rows_.buffer(b)) list.push_back(encode_row(dw, r));
    buffers[name] = std::move(list);
  }
  j["buffers"] = std::move(buffers);
  j["current"] = dw.getrow();
  j["filter"] = dw.filter_text_;
  j["sort"] = dw.sort_text_;
  j["sorted"] = dw.sorted_;
  j["readonly"] = dw.readonly_;
  j["texts"] = dw.texts_;
  json visible = json::object();
  for (const auto& [name, v] : dw.visible_) visible[name] = v.text;
  j["visible"] = std::move(visible);
  j["properties"] = dw.properties_;

  json functions = json::array();
  if (dw.bound_) {
    for (const FunctionMemo::Call& c : dw.bound_->functions().record()) {
      json args_json = json::array();
      for (const Value& a : c.args) args_json.push_back(typed_to_json(a));
      functions.push_back(json{{"function", c.function}, {"arguments", std::move(args_json)}, {"result", typed_to_json(c.result)}});
    }
  }
  j["functions"] = std::move(functions);

  json nested = json::array();
  for (auto& [key, entry] : dw.nested_) {
    json args_json = json::array();
    for (const Value& a : entry.arguments) args_json.push_back(typed_to_json(a));
    nested.push_back(json{{"report", entry.report},
                          {"arguments", std::move(args_json)},
                          {"state", entry.window ? encode(*entry.window) : json(nullptr)}});
  }
  j["nested"] = std::move(nested);
  return j;
}

Result<void> StateCodec::decode_row(DataWindow& dw, const json& j, Buffer b, const std::vector<int>& slots) {
  if (!j.is_object() || !j.contains("items") || !j["items"].is_array()) return make_error("a row without items");
  auto status = parse_status(j.value("status", "notmodified"));
  if (!status) return make_error("a row with an unknown status");
  RowBuffers& rows = dw.rows_;
  const auto& cols = dw.bound_->definition().columns;
  const RowIndex r = rows.add_row(*status);
  const json& items = j["items"];
  for (std::size_t i = 0; i < items.size() && i < slots.size(); ++i) {
    if (slots[i] < 0) continue;
    auto v = item_from_json(items[i], cols[static_cast<std::size_t>(slots[i])].type);
    if (!v) return make_error("item " + std::to_string(i + 1) + " is no " + type_name(cols[slots[i]].type));
    rows.store.set(r, static_cast<std::size_t>(slots[i]), *v);
  }
  if (j.value("selected", false)) rows.set_selected(r, true);
  if (j.contains("changed") && j["changed"].is_array()) {
    for (const json& c : j["changed"]) {
      std::size_t i = c.value("column", std::size_t{0});
      if (i < 1 || i > slots.size() || slots[i - 1] < 0) continue;
      const auto slot = static_cast<uint32_t>(slots[i - 1]);
      auto v = item_from_json(c.contains("original") ? c["original"] : json(nullptr), cols[slot].type);
      rows.mark_modified(r, slot, v ? *v : Value::null(cols[slot].type));
    }
  }
  rows.buffer(b).push_back(r);
  return {};
}

Result<void> StateCodec::decode(DataWindow& dw, const json& j) {
  if (auto known = identify(j); !known) return known;
  auto def = dw.definitions_(j.value("dataobject", ""));
  if (!def) return make_error(def.error());

  std::vector<FunctionMemo::Call> record;
  for (const json& f : j.value("functions", json::array())) {
    FunctionMemo::Call c;
    c.function = text::lower(f.value("function", ""));
    for (const json& a : f.value("arguments", json::array())) {
      auto v = typed_from_json(a);
      if (!v) return make_error("a function argument that is no value");
      c.args.push_back(*v);
    }
    auto result = typed_from_json(f.value("result", json()));
    if (!result) return make_error("a function result that is no value");
    c.result = *result;
    record.push_back(std::move(c));
  }
  dw.reset_settings();
  if (dw.bind(*def, FunctionMemo::replaying(std::move(record))) < 0) return make_error(dw.error_);

  // Items are matched to the definition's columns by name.
  std::vector<int> slots;
  for (const json& c : j.value("columns", json::array())) slots.push_back(dw.bound_->column(c.value("name", "")));
  for (auto [b, name] : {std::pair{Buffer::Primary, "primary"}, std::pair{Buffer::Filter, "filter"},
                         std::pair{Buffer::Delete, "delete"}}) {
    const json buffers = j.value("buffers", json::object());
    for (const json& row : buffers.value(name, json::array()))
      if (auto r = decode_row(dw, row, b, slots); !r) return r;
  }
  dw.rows_.primary_changed();
  for (const json& a : j.value("arguments", json::array())) {
    auto v = typed_from_json(a);
    if (!v) return make_error("a retrieval argument that is no value");
    dw.args_.push_back(*v);
  }
  long current = j.value("current", 0L);
  if (auto r = dw.rows_.at(Buffer::Primary, current)) dw.current_ = *r;

  if (dw.setfilter(j.value("filter", "")) < 0) return make_error(dw.error_);
  if (dw.setsort(j.value("sort", "")) < 0) return make_error(dw.error_);
  dw.sorted_ = j.value("sorted", false);
  dw.readonly_ = j.value("readonly", false);
  dw.texts_ = j.value("texts", std::map<std::string, std::string>{});
  dw.properties_ = j.value("properties", std::map<std::string, std::string>{});
  for (const auto& [name, text] : j.value("visible", std::map<std::string, std::string>{})) {
    const ObjectDef* o = dw.bound_->definition().find_object(name);
    if (!o) continue;
    if (std::string err = dw.modify_object(*o, "visible", text); !err.empty()) return make_error(err);
  }

  for (const json& n : j.value("nested", json::array())) {
    DataWindow::NestedEntry entry;
    entry.report = n.value("report", "");
    for (const json& a : n.value("arguments", json::array())) {
      auto v = typed_from_json(a);
      if (!v) return make_error("a nested report argument that is no value");
      entry.arguments.push_back(*v);
    }
    if (n.contains("state") && !n["state"].is_null()) {
      entry.window = std::make_unique<DataWindow>(dw.functions_, dw.definitions_);
      if (auto r = decode(*entry.window, n["state"]); !r) return make_error("nested report " + entry.report + ": " + r.error());
    }
    std::string key = call_key(entry.report, entry.arguments);
    dw.nested_.emplace(std::move(key), std::move(entry));
  }
  dw.archived_ = true;
  return {};
}

Blob DataWindow::state_blob() {
  return Blob{StateCodec::encode(*this).dump(-1, ' ', false, json::error_handler_t::replace)};
}

Result<void> DataWindow::restore_state(const Blob& blob) {
  json j = json::parse(blob.bytes, nullptr, false);
  Result<void> r = [&]() -> Result<void> {
    if (j.is_discarded()) {
      if (cut_off_or_garbled(blob.bytes))
        return make_error("data window state is cut off or garbled", ErrorKind::Corrupt);
      return make_error("not a data window state", ErrorKind::Foreign);
    }
    try {
      return StateCodec::decode(*this, j);
    } catch (const json::exception& e) {
      return make_error(std::string("malformed data window state: ") + e.what(), ErrorKind::Corrupt);
    }
  }();
  if (!r) {
    reset_settings();
    clear_rows();
    fail(r.error());
  }
  return r;
}

int DataWindow::from_state_blob(const Blob& blob) { return restore_state(blob) ? 1 : -1; }

}  // namespace kq::dw
