#pragma once
// The card reader's commands, answers and card fields (see frame.h for the
// frame and docs/card-reader.md for the whole protocol).
//
//   PING                          OK                      the reader is there
//   STATUS                        OK|1 or OK|0            a card is on the reader, or none
//   NUMBER                        OK|<card number>        the number printed in the card's chip
//   READ|f1|f2...                 OK|v1|v2...             fields of the card, in the order asked
//   WRITE|pw|f1|v1|f2|v2...       OK                      all the fields or none
//   LOG|pw|card|work order|date|points before|points taken|operator
//                                 OK                      appends a cancellation record
//
// Refusals: NOCARD (no card on the reader), NOFIELD|f (no such field),
// DENIED|f (a field the host may not write), BADPASS (the password given is
// not the card's), BADREQ (unknown command, wrong number of fields), FAIL
// (the card could not be read or written).
#include <string_view>

namespace kq::card::proto {

inline constexpr std::string_view kPing = "PING";
inline constexpr std::string_view kStatus = "STATUS";
inline constexpr std::string_view kNumber = "NUMBER";
inline constexpr std::string_view kRead = "READ";
inline constexpr std::string_view kWrite = "WRITE";
inline constexpr std::string_view kLog = "LOG";

inline constexpr std::string_view kOk = "OK";
inline constexpr std::string_view kNoCard = "NOCARD";
inline constexpr std::string_view kNoField = "NOFIELD";
inline constexpr std::string_view kDenied = "DENIED";
inline constexpr std::string_view kBadPass = "BADPASS";
inline constexpr std::string_view kBadRequest = "BADREQ";
inline constexpr std::string_view kFail = "FAIL";

// Fields of the card. The host may write points and the service data only.
inline constexpr std::string_view kFieldNumber = "number";         // card number
inline constexpr std::string_view kFieldValid = "valid";           // "1" valid, anything else not
inline constexpr std::string_view kFieldPassword = "password";     // the write key
inline constexpr std::string_view kFieldPoints = "points";         // whole points, as text
inline constexpr std::string_view kFieldScoringCode = "scoring_code";  // code of the card's scoring standard
// Service data: "s01" ... "s12" (see service_data.h).
inline constexpr int kServiceFields = 12;

// Fields of a cancellation record (LOG), after the password.
inline constexpr int kRecordFields = 6;

}  // namespace kq::card::proto
