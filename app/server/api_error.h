#pragma once
// A refused request: the HTTP status and a message for the person (Chinese,
// shown as it is by the browser). Every answer of the workstation protocol
// that is not a success carries one as {"error": {"status": N, "message": "..."}}.
#include <string>
#include <utility>
#include <variant>

namespace kq::server {

struct ApiError {
  int status = 400;
  std::string message;
};

inline ApiError bad_request(std::string message) { return {400, std::move(message)}; }
inline ApiError unauthorized(std::string message) { return {401, std::move(message)}; }
inline ApiError forbidden(std::string message) { return {403, std::move(message)}; }
inline ApiError not_found(std::string message) { return {404, std::move(message)}; }
inline ApiError conflict(std::string message) { return {409, std::move(message)}; }
inline ApiError internal_error(std::string message) { return {500, std::move(message)}; }
inline ApiError unavailable(std::string message) { return {503, std::move(message)}; }

// Either a value or the error that refused the request.
template <typename T>
class [[nodiscard]] Expected {
 public:
  Expected(T value) : v_(std::move(value)) {}       // NOLINT(google-explicit-constructor)
  Expected(ApiError error) : v_(std::move(error)) {}  // NOLINT

  bool ok() const { return v_.index() == 0; }
  explicit operator bool() const { return ok(); }
  T& value() { return std::get<0>(v_); }
  const T& value() const { return std::get<0>(v_); }
  T& operator*() { return value(); }
  const T& operator*() const { return value(); }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }
  const ApiError& error() const { return std::get<1>(v_); }

 private:
  std::variant<T, ApiError> v_;
};

}  // namespace kq::server
