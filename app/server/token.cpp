#include "server/token.h"

#include <sodium.h>

#include <array>
#include <stdexcept>

namespace kq::server {

std::string new_session_token() {
  if (sodium_init() < 0) throw std::runtime_error("libsodium cannot be initialised");
  std::array<unsigned char, 32> bytes{};
  randombytes_buf(bytes.data(), bytes.size());
  std::string hex(bytes.size() * 2 + 1, '\0');
  sodium_bin2hex(hex.data(), hex.size(), bytes.data(), bytes.size());
  hex.pop_back();
  return hex;
}

bool looks_like_token(const std::string& token) {
  if (token.size() != 64) return false;
  for (char c : token) {
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
  }
  return true;
}

}  // namespace kq::server
