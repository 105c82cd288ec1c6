#include "platform/db/dialect/day_bounds.h"

#include <utility>

namespace kq::db::sql {

Nodes NodeWriter::call(std::string_view name, Nodes args, bool space) {
  if (!args.empty()) args.front().space_before = false;
  Nodes out;
  out.push_back(word(name, space));
  out.push_back(group(std::move(args)));
  return out;
}

Nodes NodeWriter::cast(Nodes x, std::string_view type) {
  x.push_back(word("as"));
  x.push_back(word(type));
  return call("cast", std::move(x));
}

void NodeWriter::append(Nodes& to, Nodes from, bool space) {
  if (!from.empty()) from.front().space_before = space;
  for (Node& n : from) to.push_back(std::move(n));
}

Nodes DayBoundsByCase::lower_bound(Statement& st, Nodes day, DayEdge edge, uint32_t at) const {
  return bound(st, day, edge, true, at);
}

Nodes DayBoundsByCase::upper_bound(Statement& st, Nodes day, DayEdge edge, uint32_t at) const {
  return bound(st, day, edge, false, at);
}

Nodes DayBoundsByCase::bound(Statement& st, const Nodes& day, DayEdge which, bool lower, uint32_t at) const {
  NodeWriter w(st, at);
  Nodes out;
  out.push_back(w.word("case", false));
  out.push_back(w.word("when"));
  NodeWriter::append(out, is_day(w, day));
  out.push_back(w.word("then"));
  NodeWriter::append(out, edge(w, day, which));
  out.push_back(w.word("else"));
  NodeWriter::append(out, lower ? below_every_value(w) : above_every_value(w));
  out.push_back(w.word("end"));
  Nodes wrapped;
  wrapped.push_back(w.group(std::move(out)));
  return wrapped;
}

}  // namespace kq::db::sql
