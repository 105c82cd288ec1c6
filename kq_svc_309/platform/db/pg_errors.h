#pragma once
// PostgreSQL's errors in the words of the embedded default, so that a window
// shows the same sqlerrtext on either backend: a missing value, a duplicate
// key, a lock held too long and a lost connection read as SQLite writes them
// (or, for the lost connection, which SQLite cannot have, in the system's
// own words). Any other error keeps the server's primary message.
#include <string>

#include "libpq-fe.h"

namespace kq::db::pg {

struct ServerError {
  std::string text;  // sqlerrtext
  int code = 1;      // sqldbcode: the SQLite result code of the same failure (1 for any other)
};

// The text a lost connection gives.
inline constexpr const char* kConnectionLost = "与数据库服务器的连接已断开";

// The error of a failed result (null when the call returned no result at
// all), on connection `conn`.
ServerError describe_failure(PGconn* conn, const PGresult* result);

}  // namespace kq::db::pg
