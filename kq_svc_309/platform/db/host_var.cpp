#include "platform/db/host_var.h"

namespace kq::db {

Type Out::type() const {
  switch (kind_) {
    case Kind::Str: return Type::String;
    case Kind::Dec: return Type::Decimal;
    case Kind::Long: return Type::Long;
    case Kind::Dt: return Type::DateTime;
    case Kind::Value: return Type::Any;
    case Kind::Blob:
    case Kind::OptBlob: return Type::Blob;
  }
  return Type::Any;
}

Value Out::current() const {
  switch (kind_) {
    case Kind::Str: return Value(*static_cast<Str*>(p_));
    case Kind::Dec: return Value(*static_cast<Dec*>(p_));
    case Kind::Long: return Value(*static_cast<Long*>(p_));
    case Kind::Dt: return Value(*static_cast<Dt*>(p_));
    case Kind::Value: return *static_cast<Value*>(p_);
    case Kind::Blob: return Value(*static_cast<Blob*>(p_));
    case Kind::OptBlob: return Value(*static_cast<std::optional<Blob>*>(p_));
  }
  return Value();
}

std::optional<Value> Out::convert(const Value& v) const {
  if (kind_ == Kind::Value) return v;
  return v.converted_to(type());
}

void Out::store(Value&& v) const {
  switch (kind_) {
    case Kind::Str: {
      auto& t = *static_cast<Str*>(p_);
      if (v.is_null()) t.reset();
      else t = v.str();
      return;
    }
    case Kind::Dec: {
      auto& t = *static_cast<Dec*>(p_);
      if (v.is_null()) t.reset();
      else t = v.dec();
      return;
    }
    case Kind::Long: {
      auto& t = *static_cast<Long*>(p_);
      if (v.is_null()) t.reset();
      else t = v.lng();
      return;
    }
    case Kind::Dt: {
      auto& t = *static_cast<Dt*>(p_);
      if (v.is_null()) t.reset();
      else t = v.dt();
      return;
    }
    case Kind::Value: *static_cast<Value*>(p_) = std::move(v); return;
    case Kind::Blob: {
      auto& t = *static_cast<Blob*>(p_);
      if (v.is_null()) t = Blob{};
      else t = v.blob();
      return;
    }
    case Kind::OptBlob: {
      auto& t = *static_cast<std::optional<Blob>*>(p_);
      if (v.is_null()) t.reset();
      else t = v.blob();
      return;
    }
  }
}

}  // namespace kq::db
