#pragma once
// Texts of messages joined piece by piece.
#include <initializer_list>
#include <string>
#include <string_view>

namespace kq::dw {

inline std::string concat(std::initializer_list<std::string_view> parts) {
  std::size_t n = 0;
  for (std::string_view p : parts) n += p.size();
  std::string out;
  out.reserve(n);
  for (std::string_view p : parts) out.append(p);
  return out;
}

}  // namespace kq::dw
