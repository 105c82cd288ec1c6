#include "framework/password.h"

#include <sodium.h>

namespace kq::fw {
namespace {

bool ready() {
  static const bool ok = sodium_init() >= 0;  // idempotent and thread-safe
  return ok;
}

}  // namespace

std::string hash_password(std::string_view password) {
  if (!ready()) return {};
  char out[crypto_pwhash_STRBYTES];
  if (crypto_pwhash_str(out, password.data(), password.size(), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                        crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0)
    return {};
  return out;
}

bool verify_password(std::string_view hash, std::string_view password) {
  if (!ready() || hash.empty() || hash.size() >= crypto_pwhash_STRBYTES) return false;
  // The library wants a zero-terminated string of at most STRBYTES - 1 characters.
  char buf[crypto_pwhash_STRBYTES] = {};
  hash.copy(buf, hash.size());
  return crypto_pwhash_str_verify(buf, password.data(), password.size()) == 0;
}

}  // namespace kq::fw
