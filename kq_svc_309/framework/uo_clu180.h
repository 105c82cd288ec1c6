#pragma once
// uo_clu180: the membership club card reader. Opened on demand, read, closed.
// Every operation returns an integer status: 1 success, anything else a
// failure (see docs/card-reader.md). The reader is the one configured for the
// session (profile file [database] ickcom, else the system parameter
// sys/ickcom) and speaks the protocol of platform/card/protocol.h; no
// operation waits longer than the answer timeout.
#include <chrono>
#include <memory>
#include <string>

namespace kq::fw {

class uo_clu180 {
 public:
  uo_clu180();
  virtual ~uo_clu180();
  uo_clu180(const uo_clu180&) = delete;
  uo_clu180& operator=(const uo_clu180&) = delete;

  // How long each operation waits for the reader's answer (2 s unless set).
  void set_answer_timeout(std::chrono::milliseconds timeout);

  // 1 when the device is open, 0 when it is closed.
  virtual int of_clu_getdevicestatus();
  // Opens the device. 1 on success (the device opened and the reader
  // answered); -1 when no reader is configured, the device cannot be opened
  // or the reader does not answer.
  virtual int of_clu_opendevice();
  // Reads the card number of the card on the reader into `card` (trimmed).
  // 1 on success; -1 when the device is closed, no card is on the reader,
  // or the reader does not answer.
  virtual int of_clu_getckh(std::string& card);
  // Closes the device. 1 on success (also when it was not open).
  virtual int of_clu_closedevice();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace kq::fw
