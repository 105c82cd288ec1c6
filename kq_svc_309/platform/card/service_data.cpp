#include "platform/card/service_data.h"

#include <algorithm>

#include "platform/value/text.h"

namespace kq::card {
namespace {

Decimal number_of(const std::string& s) { return Decimal::parse(text::trim(s)).value_or(Decimal(0)); }

long whole_of(const std::string& s) { return static_cast<long>(number_of(s).to_int64()); }

std::string money(Decimal d) { return (d.sign() < 0 ? Decimal(0) : d).to_fixed(2); }

std::string whole(long v) { return std::to_string(std::max(0L, v)); }

}  // namespace

const std::array<std::string, proto::kServiceFields>& service_field_names() {
  static const auto names = [] {
    std::array<std::string, proto::kServiceFields> n;
    for (size_t i = 0; i < n.size(); ++i) n[i] = (i < 9 ? "s0" : "s") + std::to_string(i + 1);
    return n;
  }();
  return names;
}

ServiceData cancel_settlement(const ServiceData& before, const std::string& work_order, const SettlementFigures& figures,
                              const std::string& date) {
  ServiceData d = before;
  d[0] = whole(whole_of(before[0]) - 1);
  d[1] = money(number_of(before[1]) - figures.amount);
  d[2] = money(number_of(before[2]) - figures.card_amount);
  d[3] = whole(whole_of(before[3]) - figures.points);
  if (text::trim(before[4]) == text::trim(work_order))
    for (size_t i = 4; i <= 8; ++i) d[i].clear();
  d[9] = whole(whole_of(before[9]) + 1);
  d[10] = work_order;
  d[11] = date;
  return d;
}

}  // namespace kq::card
