#pragma once
// A refused request: the HTTP status and a message for the person (Chinese,
// shown as it is by the browser). Every answer of the workstation protocol
// that is not a success carries one as {"error": {"status": N, "message": "..."}}.
// What only an administrator can use (an engine's text, an exception) goes
// into `detail`: written to the server's log, never sent to the browser.
#include <string>
#include <utility>

#include "platform/result.h"

namespace kq::server {

struct ApiError {
  ApiError() = default;
  ApiError(int status_, std::string message_, std::string detail_ = {})
      : status(status_), message(std::move(message_)), detail(std::move(detail_)) {}

  int status = 400;
  std::string message;
  std::string detail;
};

inline ApiError bad_request(std::string message) { return {400, std::move(message)}; }
inline ApiError unauthorized(std::string message) { return {401, std::move(message)}; }
inline ApiError forbidden(std::string message) { return {403, std::move(message)}; }
inline ApiError not_found(std::string message) { return {404, std::move(message)}; }
inline ApiError conflict(std::string message) { return {409, std::move(message)}; }
inline ApiError internal_error(std::string message) { return {500, std::move(message)}; }
inline ApiError unavailable(std::string message) { return {503, std::move(message)}; }
inline ApiError unavailable(std::string message, std::string detail) {
  return {503, std::move(message), std::move(detail)};
}
inline ApiError internal_error(std::string message, std::string detail) {
  return {500, std::move(message), std::move(detail)};
}

// Either a value or the error that refused the request.
template <typename T>
using Expected = Result<T, ApiError>;

}  // namespace kq::server
