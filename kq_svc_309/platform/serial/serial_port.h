#pragma once
// A serial port in raw mode: bytes in, bytes out, every wait bounded by a
// timeout. The port is opened non-blocking and configured 8N1 without flow
// control, without echo and without any line processing (cfmakeraw), with the
// modem lines ignored (CLOCAL). A pseudo-terminal slave is a serial port too.
//
// Errors are values; nothing throws and nothing waits longer than asked.
#include <chrono>
#include <string>
#include <string_view>

#include "platform/result.h"

namespace kq::serial {

struct Settings {
  int baud = 9600;  // one of the standard rates 1200 ... 115200
};

class Port {
 public:
  Port() = default;
  ~Port() { close(); }
  Port(Port&& other) noexcept : fd_(other.fd_), device_(std::move(other.device_)) { other.fd_ = -1; }
  Port& operator=(Port&& other) noexcept;
  Port(const Port&) = delete;
  Port& operator=(const Port&) = delete;

  // Opens `device` ("/dev/ttyS0", "/dev/pts/5" ...). Fails when the device
  // does not exist, cannot be opened, or is not a terminal device.
  static Result<Port> open(const std::string& device, const Settings& settings = {});

  bool is_open() const { return fd_ >= 0; }
  const std::string& device() const { return device_; }

  // Writes all of `data`, waiting at most `timeout` for the device to take it.
  Result<void> write(std::string_view data, std::chrono::milliseconds timeout);
  // Waits at most `timeout` for input and returns what is there (at most
  // `max` bytes); an empty text when nothing came in time. Fails on an I/O
  // error or when the device went away.
  Result<std::string> read(std::chrono::milliseconds timeout, size_t max = 4096);
  // Drops input received but not yet read.
  void discard_input();
  // Closes the device; nothing when closed.
  void close();

 private:
  int fd_ = -1;
  std::string device_;
};

}  // namespace kq::serial
