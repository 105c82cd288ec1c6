#pragma once
// Errors as values: a Result<T> holds either a T or an Error, a text for the
// person with the kind of failure a caller may act on.
#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <variant>

namespace kq {

// What went wrong, as far as a caller decides by it. Other for every failure
// that a caller only reports.
enum class ErrorKind {
  Other,
  NotFound,            // the thing named does not exist
  Corrupt,             // ours, but damaged (cut off, garbled)
  Foreign,             // not ours at all (another program's file or data)
  UnsupportedVersion,  // ours, written by a newer version of this program
  Busy,                // held by another program; may succeed when tried again
};

struct Error {
  std::string message;
  ErrorKind kind = ErrorKind::Other;

  bool is_not_found() const { return kind == ErrorKind::NotFound; }
  bool is_corrupt() const { return kind == ErrorKind::Corrupt; }
  bool is_foreign() const { return kind == ErrorKind::Foreign; }
  bool is_unsupported_version() const { return kind == ErrorKind::UnsupportedVersion; }
  bool is_busy() const { return kind == ErrorKind::Busy; }
};

// Result<T, E>: either a T or an error of type E (Error unless given). For
// Result<T> error() is the error's text and failure() the whole Error (its
// kind); with another E error() is the E itself (the workstation's requests
// use Result<T, ApiError>).
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
  const E& failure() const { return std::get<1>(v_); }

 private:
  std::variant<T, E> v_;
};

// Result<void>: success, or an Error.
template <>
class [[nodiscard]] Result<void, Error> {
 public:
  Result() = default;
  Result(Error error) : error_(std::move(error)) {}  // NOLINT
  bool ok() const { return !error_; }
  explicit operator bool() const { return ok(); }
  const std::string& error() const { return error_->message; }
  const Error& failure() const { return *error_; }

 private:
  std::optional<Error> error_;
};

inline Error make_error(std::string message, ErrorKind kind = ErrorKind::Other) {
  return Error{std::move(message), kind};
}

}  // namespace kq
