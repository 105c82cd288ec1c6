#pragma once
// The service data kept on a membership IC card: twelve texts, fields
// "s01" ... "s12" of the card.
//
//   s01  visits: settlements booked on the card (whole number)
//   s02  total amount of those settlements, yuan ("2860.00")
//   s03  total paid from the card's stored value, yuan
//   s04  total points earned
//   s05  work order of the last settlement
//   s06  date of the last settlement, "yyyy/mm/dd"
//   s07  amount of the last settlement
//   s08  paid from the card in the last settlement
//   s09  points of the last settlement
//   s10  cancellations: settlements cancelled (whole number)
//   s11  work order of the last cancellation
//   s12  date of the last cancellation, "yyyy/mm/dd"
//
// A field that is empty or no number counts as 0.
#include <array>
#include <string>

#include "platform/card/protocol.h"
#include "platform/value/decimal.h"

namespace kq::card {

using ServiceData = std::array<std::string, proto::kServiceFields>;

// The field names "s01" ... "s12", in order.
const std::array<std::string, proto::kServiceFields>& service_field_names();

// What one settlement booked on the card.
struct SettlementFigures {
  Decimal amount;       // total of the settlement
  Decimal card_amount;  // paid from the card
  long points = 0;      // points taken back from the card by the cancellation
};

// The service data after cancelling `work_order` on `date`: one visit fewer,
// the totals less the settlement's figures (never below 0), the last
// settlement cleared when it is the one cancelled, one cancellation more
// with its work order and date.
ServiceData cancel_settlement(const ServiceData& before, const std::string& work_order, const SettlementFigures& figures,
                              const std::string& date);

}  // namespace kq::card
