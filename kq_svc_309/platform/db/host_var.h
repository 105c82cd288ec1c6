#pragma once
// Host variables of embedded statements: the ":name" placeholders of the
// statement text and the window code's variables they stand for.
//
//   sqlca.exec("select cxmmc into :ls_wxxm from svcb20d where cwtsbh = :ls_wtsbh",
//              {{"ls_wtsbh", ls_wtsbh}, {"ls_wxxm", kq::db::out(ls_wxxm)}});
//
// An input is any Value-convertible thing (std::string, Str, Dec, Long, Dt,
// int, Decimal, DateTime, bool, Blob, Value ...) and is copied when the
// HostVar is made. An output is `out(variable)`: it refers to the variable,
// which must outlive the statement, and receives the fetched value converted
// to the variable's type. An output may also be read as an input by the same
// statement (its current value).
#include <optional>
#include <string_view>

#include "platform/value/value.h"

namespace kq::db {

// A reference to a variable that a SELECT ... INTO or SELECTBLOB ... INTO fills.
class Out {
 public:
  explicit Out(Str& v) : kind_(Kind::Str), p_(&v) {}
  explicit Out(Dec& v) : kind_(Kind::Dec), p_(&v) {}
  explicit Out(Long& v) : kind_(Kind::Long), p_(&v) {}
  explicit Out(Dt& v) : kind_(Kind::Dt), p_(&v) {}
  explicit Out(Value& v) : kind_(Kind::Value), p_(&v) {}
  explicit Out(Blob& v) : kind_(Kind::Blob), p_(&v) {}
  explicit Out(std::optional<Blob>& v) : kind_(Kind::OptBlob), p_(&v) {}

  // The runtime type of the variable (Any for a Value variable).
  Type type() const;
  // The variable's present value.
  Value current() const;
  // `v` converted to the variable's type (a null stays a null of that type);
  // nullopt when it cannot be converted (a text that is no number into a Dec).
  // A Blob variable takes text as bytes; a null into a plain Blob gives an empty blob.
  std::optional<Value> convert(const Value& v) const;
  // Stores a value that convert() returned. Never fails.
  void store(Value&& converted) const;

 private:
  enum class Kind { Str, Dec, Long, Dt, Value, Blob, OptBlob };
  Kind kind_;
  void* p_;
};

inline Out out(Str& v) { return Out(v); }
inline Out out(Dec& v) { return Out(v); }
inline Out out(Long& v) { return Out(v); }
inline Out out(Dt& v) { return Out(v); }
inline Out out(Value& v) { return Out(v); }
inline Out out(Blob& v) { return Out(v); }
inline Out out(std::optional<Blob>& v) { return Out(v); }

// One host variable: a name (case-insensitive, a leading ':' ignored) with an
// input value or an output variable. The name is referenced, not copied: it
// must live as long as the HostVar (a literal or a string of the caller).
class HostVar {
 public:
  HostVar(std::string_view name, Value value) : name_(strip(name)), value_(std::move(value)) {}  // NOLINT
  HostVar(std::string_view name, Out target) : name_(strip(name)), out_(target) {}               // NOLINT

  std::string_view name() const { return name_; }
  bool is_output() const { return out_.has_value(); }
  const std::optional<Out>& output() const { return out_; }
  // The value an input binds: the given value, or an output variable's present value.
  Value input() const { return out_ ? out_->current() : value_; }
  const Value& value() const { return value_; }

 private:
  static std::string_view strip(std::string_view n) {
    if (!n.empty() && n.front() == ':') n.remove_prefix(1);
    return n;
  }
  std::string_view name_;
  Value value_;
  std::optional<Out> out_;
};

}  // namespace kq::db
