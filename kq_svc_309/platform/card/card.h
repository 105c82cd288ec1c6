#pragma once
// The content of a membership IC card, as the reader simulator keeps it and
// as card files (JSON) hold it:
//
//   {
//     "present": true,                 a card is on the reader
//     "number": "8801000001",
//     "valid": "1",                    "1" valid
//     "password": "880101",            the write key
//     "points": "1350",
//     "scoring_code": "01",
//     "service": ["3", "2860.00", ...], twelve texts (service_data.h)
//     "records": [ { "card": ..., "work_order": ..., "date": "yyyy/mm/dd",
//                    "points_before": ..., "points_taken": ..., "operator": ... } ]
//   }
//
// Missing keys take their defaults (no card, empty texts); numbers may be
// written as JSON numbers.
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "platform/card/protocol.h"
#include "platform/result.h"

namespace kq::card {

// What a cancellation wrote onto the card (LOG).
struct CancellationRecord {
  std::string card;
  std::string work_order;
  std::string date;
  std::string points_before;
  std::string points_taken;
  std::string operator_code;
  friend bool operator==(const CancellationRecord&, const CancellationRecord&) = default;
};

struct Card {
  bool present = false;
  std::string number;
  std::string valid;
  std::string password;
  std::string points;
  std::string scoring_code;
  std::array<std::string, proto::kServiceFields> service{};
  std::vector<CancellationRecord> records;
  friend bool operator==(const Card&, const Card&) = default;

  // The field named `name` (protocol.h: "number", "valid", "password",
  // "points", "scoring_code", "s01" ... "s12"); null when there is none.
  const std::string* field(std::string_view name) const;
  std::string* field(std::string_view name);
  // True for the fields the host may write: points and the service data.
  static bool writable(std::string_view name);
};

// The card file's JSON, keys in the order above.
nlohmann::ordered_json to_json(const Card& card);
// Fails with a readable reason on a value of the wrong type or a service
// list longer than twelve.
Result<Card> card_from_json(const nlohmann::json& j);
// From the text of a card file.
Result<Card> parse_card(std::string_view text);

}  // namespace kq::card
