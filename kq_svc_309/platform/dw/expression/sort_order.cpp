#include "platform/dw/expression/sort_order.h"

namespace kq::dw::expr {
namespace {

int rank(const Value& v) {
  if (v.is_null()) return 0;
  if (v.is_bool()) return 1;
  if (v.is_number()) return 2;
  if (v.is_string()) return 3;
  if (v.is_datetime()) return 4;
  return 5;
}

}  // namespace

int sort_order(const Value& a, const Value& b) {
  int ra = rank(a), rb = rank(b);
  if (ra != rb) return ra < rb ? -1 : 1;
  if (ra == 0) return 0;
  if (ra == 5) {
    int c = a.blob().bytes.compare(b.blob().bytes);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
  }
  return compare(a, b).value_or(0);
}

}  // namespace kq::dw::expr
