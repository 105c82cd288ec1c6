// Card files (JSON) and the service data kept on the card.
#include <gtest/gtest.h>

#include "platform/card/card.h"
#include "platform/card/service_data.h"

namespace kq::card {
namespace {

TEST(CardFile, RoundTripsEveryField) {
  Card c;
  c.present = true;
  c.number = "8801000001";
  c.valid = "1";
  c.password = "880101";
  c.points = "1350";
  c.scoring_code = "01";
  for (size_t i = 0; i < c.service.size(); ++i) c.service[i] = "v" + std::to_string(i);
  c.records.push_back({"8801000001", "1010000000006", "2026/12/08", "1350", "150", "001"});
  auto back = parse_card(to_json(c).dump());
  ASSERT_TRUE(back) << back.error();
  EXPECT_EQ(*back, c);
}

TEST(CardFile, TakesWhatAPersonWritesByHand) {
  auto c = parse_card(R"({"present": true, "number": 8802000001, "points": 400, "service": ["1", 2.5]})");
  ASSERT_TRUE(c) << c.error();
  EXPECT_TRUE(c->present);
  EXPECT_EQ(c->number, "8802000001");
  EXPECT_EQ(c->points, "400");
  EXPECT_EQ(c->service[0], "1");
  EXPECT_EQ(c->service[1], "2.5");
  EXPECT_EQ(c->service[11], "");
  EXPECT_EQ(c->valid, "");

  auto empty = parse_card("{}");
  ASSERT_TRUE(empty);
  EXPECT_FALSE(empty->present);
}

TEST(CardFile, RefusesWhatItCannotHold) {
  EXPECT_FALSE(parse_card("{\"number\": "));
  EXPECT_FALSE(parse_card("[1, 2]"));
  EXPECT_FALSE(parse_card(R"({"present": "yes"})"));
  EXPECT_FALSE(parse_card(R"({"number": ["8801"]})"));
  EXPECT_FALSE(parse_card(R"({"service": ["1","2","3","4","5","6","7","8","9","10","11","12","13"]})"));
  EXPECT_FALSE(parse_card(R"({"records": [{"card": {}}]})"));
}

TEST(CardFields, NamesAndWhatTheHostMayWrite) {
  Card c;
  ASSERT_NE(c.field("s01"), nullptr);
  EXPECT_EQ(c.field("s01"), &c.service[0]);
  EXPECT_EQ(c.field("s12"), &c.service[11]);
  EXPECT_EQ(c.field("s00"), nullptr);
  EXPECT_EQ(c.field("s13"), nullptr);
  EXPECT_EQ(c.field("S01"), nullptr);
  EXPECT_TRUE(Card::writable("points"));
  EXPECT_TRUE(Card::writable("s07"));
  for (const char* f : {"number", "valid", "password", "scoring_code", "records"}) EXPECT_FALSE(Card::writable(f)) << f;
  EXPECT_EQ(service_field_names().front(), "s01");
  EXPECT_EQ(service_field_names().back(), "s12");
}

TEST(ServiceData, CancellingTakesTheSettlementBack) {
  ServiceData before = {"3", "2860.00", "450.00", "420", "1010000000006", "2026/12/08", "1200.00", "200.00", "150",
                        "1", "1010000000001", "2026/10/01"};
  ServiceData after = cancel_settlement(before, "1010000000006", {Decimal(1200), Decimal(200), 150}, "2026/12/09");
  ServiceData want = {"2", "1660.00", "250.00", "270", "", "", "", "", "", "2", "1010000000006", "2026/12/09"};
  EXPECT_EQ(after, want);
}

TEST(ServiceData, AnEarlierSettlementKeepsTheLastOneAndTotalsStayAtZero) {
  ServiceData before = {"", "abc", "100.00", "50", "1010000000009", "2026/12/08", "80.00", "0.00", "5", "", "", ""};
  ServiceData after = cancel_settlement(before, "1010000000006", {*Decimal::parse("1200.50"), Decimal(200), 150}, "2026/12/09");
  EXPECT_EQ(after[0], "0");
  EXPECT_EQ(after[1], "0.00");
  EXPECT_EQ(after[2], "0.00");
  EXPECT_EQ(after[3], "0");
  EXPECT_EQ(after[4], "1010000000009");
  EXPECT_EQ(after[8], "5");
  EXPECT_EQ(after[9], "1");
  EXPECT_EQ(after[10], "1010000000006");
}

}  // namespace
}  // namespace kq::card
