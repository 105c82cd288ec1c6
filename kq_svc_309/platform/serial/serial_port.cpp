#include "platform/serial/serial_port.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace kq::serial {
namespace {

std::string why(const std::string& what, const std::string& device) {
  return what + " " + device + ": " + std::strerror(errno);
}

bool speed_of(int baud, speed_t& out) {
  switch (baud) {
    case 1200: out = B1200; return true;
    case 2400: out = B2400; return true;
    case 4800: out = B4800; return true;
    case 9600: out = B9600; return true;
    case 19200: out = B19200; return true;
    case 38400: out = B38400; return true;
    case 57600: out = B57600; return true;
    case 115200: out = B115200; return true;
    default: return false;
  }
}

int remaining_ms(std::chrono::steady_clock::time_point deadline) {
  auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
  return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

}  // namespace

Port& Port::operator=(Port&& other) noexcept {
  if (this != &other) {
    close();
    fd_ = other.fd_;
    device_ = std::move(other.device_);
    other.fd_ = -1;
  }
  return *this;
}

Result<Port> Port::open(const std::string& device, const Settings& settings) {
  speed_t speed;
  if (!speed_of(settings.baud, speed)) return make_error("unsupported baud rate " + std::to_string(settings.baud));
  if (device.empty()) return make_error("no serial device given");
  int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return make_error(why("cannot open", device));
  Port port;
  port.fd_ = fd;
  port.device_ = device;
  if (!isatty(fd)) return make_error(device + " is not a serial device");
  termios tio{};
  if (tcgetattr(fd, &tio) != 0) return make_error(why("cannot read the settings of", device));
  cfmakeraw(&tio);
  tio.c_cflag |= CLOCAL | CREAD;
  tio.c_cflag &= ~(CSTOPB | PARENB | CSIZE);
  tio.c_cflag |= CS8;
#ifdef CRTSCTS
  tio.c_cflag &= ~CRTSCTS;
#endif
  tio.c_iflag &= ~(IXON | IXOFF | IXANY);
  tio.c_cc[VMIN] = 0;
  tio.c_cc[VTIME] = 0;
  cfsetispeed(&tio, speed);
  cfsetospeed(&tio, speed);
  if (tcsetattr(fd, TCSANOW, &tio) != 0) return make_error(why("cannot configure", device));
  tcflush(fd, TCIOFLUSH);
  return port;
}

Result<void> Port::write(std::string_view data, std::chrono::milliseconds timeout) {
  if (fd_ < 0) return make_error("the serial port is not open");
  auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!data.empty()) {
    ssize_t n = ::write(fd_, data.data(), data.size());
    if (n > 0) {
      data.remove_prefix(static_cast<size_t>(n));
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return make_error(why("cannot write to", device_));
    pollfd p{fd_, POLLOUT, 0};
    int wait = remaining_ms(deadline);
    if (wait == 0) return make_error("timed out writing to " + device_);
    int r = ::poll(&p, 1, wait);
    if (r < 0 && errno != EINTR) return make_error(why("cannot wait for", device_));
    if (r > 0 && (p.revents & (POLLERR | POLLHUP | POLLNVAL))) return make_error(device_ + " went away");
  }
  return {};
}

Result<std::string> Port::read(std::chrono::milliseconds timeout, size_t max) {
  if (fd_ < 0) return make_error("the serial port is not open");
  auto deadline = std::chrono::steady_clock::now() + timeout;
  std::string out(max, '\0');
  for (;;) {
    ssize_t n = ::read(fd_, out.data(), max);
    if (n > 0) {
      out.resize(static_cast<size_t>(n));
      return out;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return make_error(why("cannot read from", device_));
    // n == 0 on a raw terminal with VMIN 0: nothing there yet.
    int wait = remaining_ms(deadline);
    if (wait == 0) return std::string();
    pollfd p{fd_, POLLIN, 0};
    int r = ::poll(&p, 1, wait);
    if (r < 0 && errno != EINTR) return make_error(why("cannot wait for", device_));
    if (r > 0 && (p.revents & (POLLERR | POLLNVAL))) return make_error(device_ + " went away");
    if (r > 0 && (p.revents & POLLHUP) && !(p.revents & POLLIN)) return make_error(device_ + " hung up");
  }
}

void Port::discard_input() {
  if (fd_ >= 0) tcflush(fd_, TCIFLUSH);
}

void Port::close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

}  // namespace kq::serial
