#pragma once
// f_svc_upper_je: an amount of money in yuan written in Chinese capital
// numerals, as printed on financial documents (the settlement slip prints the
// latest receipt this way).
//
// Amounts of one yuan or more begin with one space (" 壹元整"); amounts below
// one yuan begin with "零" ("零元伍角"); negatives begin with "负". Two
// decimals are significant; a third is rounded half away from zero.
//
// Outside what the written form supports the result is null, never a partial
// or wrong text: for a null amount, and for an amount whose absolute value,
// rounded to two places, reaches 10 000 000 000 000 (more than thirteen integer
// digits, beyond the largest unit "万亿"). A null result prints as nothing.
#include <optional>
#include <string>

#include "platform/value/decimal.h"

namespace kq {

std::optional<std::string> f_svc_upper_je(std::optional<Decimal> ad_amout);

}  // namespace kq
