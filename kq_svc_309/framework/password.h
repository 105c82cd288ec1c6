#pragma once
// Operator passwords, stored as slow hashes: libsodium's crypto_pwhash_str
// (argon2id with its interactive limits, a random salt per hash). The stored
// string carries algorithm, limits and salt, so verification needs nothing else.
#include <string>
#include <string_view>

namespace kq::fw {

// The hash string of `password` ("$argon2id$v=19$m=…"); each call draws a new
// salt, so two hashes of one password differ. Empty only when the library
// cannot work (no memory for the hash); verify_password never accepts "".
std::string hash_password(std::string_view password);

// True when `password` is the one that `hash` was made from. False for a
// wrong password and for anything that is not a hash string of ours.
bool verify_password(std::string_view hash, std::string_view password);

}  // namespace kq::fw
