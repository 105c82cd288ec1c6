#pragma once
// Session tokens: 32 random bytes from libsodium's generator, as 64 lowercase
// hex digits. Unguessable; they carry no meaning.
#include <string>

namespace kq::server {

std::string new_session_token();

// True when `token` has the form new_session_token() gives (a cheap test
// before any lookup).
bool looks_like_token(const std::string& token);

}  // namespace kq::server
