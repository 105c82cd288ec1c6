#include "platform/dw/expression/node.h"

namespace kq::dw::expr {

Tri truth(const Value& v) {
  if (v.is_bool()) return v.boolean() ? Tri::True : Tri::False;
  if (v.is_long()) return v.lng() != 0 ? Tri::True : Tri::False;
  if (v.is_decimal()) return v.dec().is_zero() ? Tri::False : Tri::True;
  return Tri::Null;
}

Value tri_value(Tri t) {
  if (t == Tri::Null) return Value::null(Type::Boolean);
  return Value(t == Tri::True);
}

Tri Node::test(const Frame& f) const {
  Value scratch;
  return truth(eval(f, scratch));
}

}  // namespace kq::dw::expr
