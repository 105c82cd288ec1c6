#pragma once
// The runtime's `message`: the parameter a window is opened with and the
// answer a closing window leaves behind. A parameter is a text, a number or
// an object (a record of the host application such as us_svc_xlxm).
//
//   manager.open("w_svc300_03", Message::of_object(lstr_1), this);
//   auto* p = parameter().object_as<fw::us_svc_xlxm>();   // in the opened window
#include <any>
#include <optional>
#include <string>

#include "platform/value/value.h"

namespace kq::ui {

struct Message {
  Str text;         // a text parameter or answer
  Dec number;       // a number parameter or answer
  std::any object;  // a record

  static Message of_text(Str s) {
    Message m;
    m.text = std::move(s);
    return m;
  }
  static Message of_number(Decimal d) {
    Message m;
    m.number = d;
    return m;
  }
  template <typename T>
  static Message of_object(T record) {
    Message m;
    m.object = std::move(record);
    return m;
  }
  // The object if it is a T; null otherwise.
  template <typename T>
  const T* object_as() const {
    return std::any_cast<T>(&object);
  }
  bool empty() const { return !text && !number && !object.has_value(); }
};

}  // namespace kq::ui
