#pragma once
// A valid membership card on the reader for card tests: 8801000001, write
// key "pw", 1350 points, scoring code "01", three settlements booked.
#include "platform/card/card.h"

namespace kq::testing {

inline card::Card sample_card() {
  card::Card c;
  c.present = true;
  c.number = "8801000001";
  c.valid = "1";
  c.password = "pw";
  c.points = "1350";
  c.scoring_code = "01";
  c.service[0] = "3";
  return c;
}

}  // namespace kq::testing
