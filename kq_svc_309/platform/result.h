#pragma once
// Errors as values: a Result<T> holds either a T or an error text.
#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <variant>

namespace kq {

struct Error {
  std::string message;
};

// Result<T, E>: either a T or an error of type E (Error unless given). For
// Result<T> error() is the error's text; with another E it is the E itself
// (the workstation's requests use Result<T, ApiError>).
template <typename T, typename E = Error>
class [[nodiscard]] Result {
 public:
  Result(T value) : v_(std::move(value)) {}         // NOLINT(google-explicit-constructor)
  Result(E error) : v_(std::move(error)) {}         // NOLINT

  bool ok() const { return v_.index() == 0; }
  explicit operator bool() const { return ok(); }
  T& value() { return std::get<0>(v_); }
  const T& value() const { return std::get<0>(v_); }
  T& operator*() { return value(); }
  const T& operator*() const { return value(); }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }
  decltype(auto) error() const {
    if constexpr (std::is_same_v<E, Error>) return (std::get<1>(v_).message);
    else return (std::get<1>(v_));
  }

 private:
  std::variant<T, E> v_;
};

// Result<void>: success, or an error text.
template <>
class [[nodiscard]] Result<void, Error> {
 public:
  Result() = default;
  Result(Error error) : error_(std::move(error.message)) {}  // NOLINT
  bool ok() const { return !error_; }
  explicit operator bool() const { return ok(); }
  const std::string& error() const { return *error_; }

 private:
  std::optional<std::string> error_;
};

inline Error make_error(std::string message) { return Error{std::move(message)}; }

}  // namespace kq
