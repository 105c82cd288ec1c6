// The reader's answers on a card: what it refuses, and that a refused write
// changes nothing.
#include "support/sample_card.h"
#include "platform/card/responder.h"

#include <gtest/gtest.h>

namespace kq::card {
namespace {

card::Card sample() { return kq::testing::sample_card(); }

struct Answer {
  std::vector<std::string> fields;
  bool changed = false;
};

Answer ask(Card& c, std::vector<std::string> fields) {
  Frame q{Frame::Kind::Request, 41, std::move(fields)};
  bool changed = true;
  Frame a = respond(c, q, changed);
  EXPECT_EQ(a.kind, Frame::Kind::Answer);
  EXPECT_EQ(a.seq, 41u);
  return {a.fields, changed};
}

using V = std::vector<std::string>;

TEST(CardResponder, ReadsFieldsInTheOrderAsked) {
  Card c = sample();
  EXPECT_EQ(ask(c, {"PING"}).fields, V{"OK"});
  EXPECT_EQ(ask(c, {"STATUS"}).fields, (V{"OK", "1"}));
  EXPECT_EQ(ask(c, {"NUMBER"}).fields, (V{"OK", "8801000001"}));
  EXPECT_EQ(ask(c, {"READ", "points", "valid", "s01", "s12"}).fields, (V{"OK", "1350", "1", "3", ""}));
  EXPECT_EQ(ask(c, {"READ", "valid", "s13"}).fields, (V{"NOFIELD", "s13"}));
  EXPECT_EQ(ask(c, {"READ"}).fields, V{"BADREQ"});
  EXPECT_EQ(ask(c, {"FORMAT"}).fields, V{"BADREQ"});
  EXPECT_FALSE(ask(c, {"READ", "points"}).changed);
}

TEST(CardResponder, WithoutACardOnlyPingAndStatusAnswerOk) {
  Card c = sample();
  c.present = false;
  EXPECT_EQ(ask(c, {"PING"}).fields, V{"OK"});
  EXPECT_EQ(ask(c, {"STATUS"}).fields, (V{"OK", "0"}));
  for (V q : {V{"NUMBER"}, V{"READ", "valid"}, V{"WRITE", "pw", "points", "1"},
              V{"LOG", "pw", "a", "b", "c", "d", "e", "f"}})
    EXPECT_EQ(ask(c, q).fields, V{"NOCARD"}) << q[0];
  EXPECT_EQ(c.points, "1350");
  EXPECT_TRUE(c.records.empty());
}

TEST(CardResponder, WritesAllFieldsOrNone) {
  Card c = sample();
  Answer a = ask(c, {"WRITE", "pw", "points", "1200", "s01", "2"});
  EXPECT_EQ(a.fields, V{"OK"});
  EXPECT_TRUE(a.changed);
  EXPECT_EQ(c.points, "1200");
  EXPECT_EQ(c.service[0], "2");

  // Refused writes leave every field as it was, also the ones listed first.
  const Card before = c;
  EXPECT_EQ(ask(c, {"WRITE", "nope", "points", "0"}).fields, V{"BADPASS"});
  EXPECT_EQ(ask(c, {"WRITE", "pw", "points", "0", "number", "9"}).fields, (V{"DENIED", "number"}));
  EXPECT_EQ(ask(c, {"WRITE", "pw", "points", "0", "valid", "1"}).fields, (V{"DENIED", "valid"}));
  EXPECT_EQ(ask(c, {"WRITE", "pw", "points", "0", "s99", "1"}).fields, (V{"NOFIELD", "s99"}));
  EXPECT_EQ(ask(c, {"WRITE", "pw", "points"}).fields, V{"BADREQ"});
  EXPECT_EQ(ask(c, {"WRITE", "pw"}).fields, V{"BADREQ"});
  Answer refused = ask(c, {"WRITE", "pw", "password", "x"});
  EXPECT_EQ(refused.fields, (V{"DENIED", "password"}));
  EXPECT_FALSE(refused.changed);
  EXPECT_EQ(c, before);
}

TEST(CardResponder, LogAppendsACancellationRecord) {
  Card c = sample();
  Answer a = ask(c, {"LOG", "pw", "8801000001", "1010000000006", "2026/12/08", "1350", "150", "001"});
  EXPECT_EQ(a.fields, V{"OK"});
  EXPECT_TRUE(a.changed);
  ASSERT_EQ(c.records.size(), 1u);
  EXPECT_EQ(c.records[0], (CancellationRecord{"8801000001", "1010000000006", "2026/12/08", "1350", "150", "001"}));
  EXPECT_EQ(ask(c, {"LOG", "bad", "a", "b", "c", "d", "e", "f"}).fields, V{"BADPASS"});
  EXPECT_EQ(ask(c, {"LOG", "pw", "a", "b", "c", "d", "e"}).fields, V{"BADREQ"});
  EXPECT_EQ(c.records.size(), 1u);
}

}  // namespace
}  // namespace kq::card
