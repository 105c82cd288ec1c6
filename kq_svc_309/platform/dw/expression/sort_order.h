#pragma once
// The order in which sorting puts values: null before everything, then by
// value within a kind (numbers by value, Long against Decimal too; text
// byte-wise, i.e. by code point; dates by time; false before true), and
// values of different kinds by kind: boolean, number, text, date, blob.
#include "platform/value/value.h"

namespace kq::dw::expr {

// <0 when a goes before b, 0 when they tie, >0 when a goes after b.
int sort_order(const Value& a, const Value& b);

}  // namespace kq::dw::expr
