#include "platform/card/responder.h"

#include <string>
#include <vector>

namespace kq::card {
namespace {

Frame reply(const Frame& request, std::string_view status, std::vector<std::string> values = {}) {
  Frame f;
  f.kind = Frame::Kind::Answer;
  f.seq = request.seq;
  f.fields.emplace_back(status);
  for (auto& v : values) f.fields.push_back(std::move(v));
  return f;
}

Frame read(const Card& card, const Frame& q, const std::vector<std::string>& args) {
  if (args.empty()) return reply(q, proto::kBadRequest);
  std::vector<std::string> values;
  for (const auto& name : args) {
    const std::string* v = card.field(name);
    if (!v) return reply(q, proto::kNoField, {name});
    values.push_back(*v);
  }
  return reply(q, proto::kOk, std::move(values));
}

Frame write(Card& card, const Frame& q, const std::vector<std::string>& args, bool& changed) {
  if (args.size() < 3 || args.size() % 2 == 0) return reply(q, proto::kBadRequest);
  if (args[0] != card.password) return reply(q, proto::kBadPass);
  // All fields are checked before any is written.
  for (size_t i = 1; i < args.size(); i += 2) {
    if (!card.field(args[i])) return reply(q, proto::kNoField, {args[i]});
    if (!Card::writable(args[i])) return reply(q, proto::kDenied, {args[i]});
  }
  for (size_t i = 1; i < args.size(); i += 2) *card.field(args[i]) = args[i + 1];
  changed = true;
  return reply(q, proto::kOk);
}

Frame log(Card& card, const Frame& q, const std::vector<std::string>& args, bool& changed) {
  if (args.size() != 1 + proto::kRecordFields) return reply(q, proto::kBadRequest);
  if (args[0] != card.password) return reply(q, proto::kBadPass);
  card.records.push_back(CancellationRecord{args[1], args[2], args[3], args[4], args[5], args[6]});
  changed = true;
  return reply(q, proto::kOk);
}

}  // namespace

Frame respond(Card& card, const Frame& request, bool& changed) {
  changed = false;
  if (request.kind != Frame::Kind::Request || request.fields.empty()) return reply(request, proto::kBadRequest);
  const std::string& command = request.fields[0];
  std::vector<std::string> args(request.fields.begin() + 1, request.fields.end());
  if (command == proto::kPing) return reply(request, proto::kOk);
  if (command == proto::kStatus) return reply(request, proto::kOk, {card.present ? "1" : "0"});
  if (command != proto::kNumber && command != proto::kRead && command != proto::kWrite && command != proto::kLog)
    return reply(request, proto::kBadRequest);
  if (!card.present) return reply(request, proto::kNoCard);
  if (command == proto::kNumber) return reply(request, proto::kOk, {card.number});
  if (command == proto::kRead) return read(card, request, args);
  if (command == proto::kWrite) return write(card, request, args, changed);
  return log(card, request, args, changed);
}

}  // namespace kq::card
