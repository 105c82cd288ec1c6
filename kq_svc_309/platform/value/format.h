#pragma once
// Display formats of the runtime, in one place: number masks ("#,###.00",
// "###,##0.00", "#0.00", "###0.0000", "#" ...), date masks ("yyyy/mm/dd",
// "yyyy/mm/dd hh:mm", "YYYY/MM/DD HH:MM", "yyyy/mm/dd hh:mm:ss",
// "yyyy年mm月dd日" ...) and "[general]".
//
// Number masks: '#' is an optional digit, '0' a required one, ',' groups the
// integer digits by three, '.' is the decimal point; any other character is
// copied. The value is rounded half away from zero to the mask's decimals. A
// mask may have sections "positive;negative;zero"; without a negative section
// a negative value is written with a leading "-". With "#,###.00" a zero prints
// as ".00" (no required integer digit), as the runtime prints it.
//
// Date masks (case-insensitive): yyyy, yy, mm (month, or minutes right after an
// hour), dd, hh, ss; other characters are copied.
#include <string>
#include <string_view>

#include "platform/value/datetime.h"
#include "platform/value/decimal.h"
#include "platform/value/value.h"

namespace kq::format {

std::string number(const Decimal& v, std::string_view mask);
std::string datetime(const DateTime& v, std::string_view mask);
// Any value: numbers by a number mask, dates by a date mask, text as it is;
// an empty mask or "[general]" gives the plain text form. Null gives "".
std::string value(const Value& v, std::string_view mask);
// The plain text form that "[general]" and string(value) without a format give.
std::string general(const Value& v);

}  // namespace kq::format
