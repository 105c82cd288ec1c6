#include "platform/card/card.h"

namespace kq::card {
namespace {

// "s01" ... "s12" → 0 ... 11; -1 otherwise.
int service_index(std::string_view name) {
  if (name.size() != 3 || name[0] != 's' || name[1] < '0' || name[1] > '9' || name[2] < '0' || name[2] > '9') return -1;
  int n = (name[1] - '0') * 10 + (name[2] - '0');
  return n >= 1 && n <= proto::kServiceFields ? n - 1 : -1;
}

// A JSON text or number as text; an error for anything else.
Result<std::string> text_of(const nlohmann::json& v, const std::string& key) {
  if (v.is_null()) return std::string();
  if (v.is_string()) return v.get<std::string>();
  if (v.is_number_integer()) return std::to_string(v.get<long long>());
  if (v.is_number()) return v.dump();
  return make_error("\"" + key + "\" must be a text or a number");
}

}  // namespace

const std::string* Card::field(std::string_view name) const { return const_cast<Card*>(this)->field(name); }

std::string* Card::field(std::string_view name) {
  if (name == proto::kFieldNumber) return &number;
  if (name == proto::kFieldValid) return &valid;
  if (name == proto::kFieldPassword) return &password;
  if (name == proto::kFieldPoints) return &points;
  if (name == proto::kFieldScoringCode) return &scoring_code;
  int i = service_index(name);
  return i >= 0 ? &service[static_cast<size_t>(i)] : nullptr;
}

bool Card::writable(std::string_view name) { return name == proto::kFieldPoints || service_index(name) >= 0; }

nlohmann::ordered_json to_json(const Card& card) {
  nlohmann::ordered_json records = nlohmann::ordered_json::array();
  for (const auto& r : card.records)
    records.push_back({{"card", r.card},
                       {"work_order", r.work_order},
                       {"date", r.date},
                       {"points_before", r.points_before},
                       {"points_taken", r.points_taken},
                       {"operator", r.operator_code}});
  return {{"present", card.present}, {"number", card.number},
          {"valid", card.valid},     {"password", card.password},
          {"points", card.points},   {"scoring_code", card.scoring_code},
          {"service", card.service}, {"records", records}};
}

Result<Card> card_from_json(const nlohmann::json& j) {
  if (!j.is_object()) return make_error("a card is a JSON object");
  Card c;
  if (j.contains("present")) {
    if (!j["present"].is_boolean()) return make_error("\"present\" must be true or false");
    c.present = j["present"].get<bool>();
  }
  for (auto [key, target] : {std::pair<const char*, std::string*>{"number", &c.number},
                             {"valid", &c.valid},
                             {"password", &c.password},
                             {"points", &c.points},
                             {"scoring_code", &c.scoring_code}}) {
    if (!j.contains(key)) continue;
    auto t = text_of(j[key], key);
    if (!t) return make_error(t.error());
    *target = *t;
  }
  if (j.contains("service")) {
    const auto& s = j["service"];
    if (!s.is_array()) return make_error("\"service\" must be a list of texts");
    if (s.size() > c.service.size()) return make_error("\"service\" holds at most twelve texts");
    for (size_t i = 0; i < s.size(); ++i) {
      auto t = text_of(s[i], "service");
      if (!t) return make_error(t.error());
      c.service[i] = *t;
    }
  }
  if (j.contains("records")) {
    const auto& rs = j["records"];
    if (!rs.is_array()) return make_error("\"records\" must be a list");
    for (const auto& r : rs) {
      if (!r.is_object()) return make_error("a record is a JSON object");
      CancellationRecord rec;
      for (auto [key, target] : {std::pair<const char*, std::string*>{"card", &rec.card},
                                 {"work_order", &rec.work_order},
                                 {"date", &rec.date},
                                 {"points_before", &rec.points_before},
                                 {"points_taken", &rec.points_taken},
                                 {"operator", &rec.operator_code}}) {
        if (!r.contains(key)) continue;
        auto t = text_of(r[key], key);
        if (!t) return make_error(t.error());
        *target = *t;
      }
      c.records.push_back(std::move(rec));
    }
  }
  return c;
}

Result<Card> parse_card(std::string_view text) {
  nlohmann::json j = nlohmann::json::parse(text, nullptr, false);
  if (j.is_discarded()) return make_error("the card file is not valid JSON");
  return card_from_json(j);
}

}  // namespace kq::card
