#pragma once
// uo_clu100: the IC membership card reader as the cancellation window uses it.
//
// Two uses, each on its own connection to the reader:
//  - reading the card number while the window is open: of_gsgl_opencom at
//    opening, of_hyk_readcard whenever the cashier reads, of_gsgl_colsecom at
//    closing;
//  - writing the reversed points and service data back onto the card before
//    the cancellation is committed: open_comm ... close_comm (see below).
//
// Ports: a port text is a device path ("/dev/ttyUSB0"), "COMn" or a number n
// (see docs/card-reader.md for how COMn maps to a device). of_gsgl_opencom(0)
// opens the reader configured for the session (the profile file's
// [database] ickcom, else the system parameter sys/ickcom), so a window that
// leaves the port number 0 still reaches the configured reader.
//
// The reader speaks the protocol of platform/card/protocol.h; an operation
// that gets no answer within the answer timeout fails, it never hangs. Every
// operation returns its status; none throws.
#include <chrono>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace kq::fw {

// The session's profile file, <gs_startfile>/pb.ini; empty without a session.
std::string session_profile_file();
// The device of the session's card reader: the port text of the profile
// file's [database] ickcom, else of the system parameter sys/ickcom, as a
// device (platform/serial/port_name.h). Empty when neither names a port.
std::string configured_card_reader();

class uo_clu100 {
 public:
  uo_clu100();
  virtual ~uo_clu100();
  uo_clu100(const uo_clu100&) = delete;
  uo_clu100& operator=(const uo_clu100&) = delete;

  // How long each operation waits for the reader's answer (2 s unless set).
  void set_answer_timeout(std::chrono::milliseconds timeout);

  // Opens the reader for card-number reads: port n > 0 is COMn, 0 the
  // configured reader. Non-zero on success: the device opened and the reader
  // answered.
  virtual int of_gsgl_opencom(int port);
  // Reads the card on the reader. Returns 0 when the read was abandoned
  // (no connection, no answer); otherwise 1 with `status` 0 and the card's
  // number text in `card`, or 1 with `status` -1 when the card could not be
  // read (no card, unreadable).
  virtual int of_hyk_readcard(int& status, std::string& card);
  // Closes what of_gsgl_opencom opened. 1.
  virtual int of_gsgl_colsecom();

  // The write-back. Unless said otherwise an operation returns 1 on success
  // and -1 on failure (no connection, no answer, the reader refused); the
  // card operations need open_comm first.

  // Opens the write-back connection to the reader named by the port text
  // `port` ("/dev/...", "COMn", "n"). -1 when the text names no port, the
  // device cannot be opened or the reader does not answer.
  virtual int open_comm(const std::string& port);
  // 1 a card is on the reader, 0 none, -1 no answer.
  virtual int cardready();
  // Closes the write-back connection (nothing when closed). 1.
  virtual int close_comm();
  // The card's write key, presented with every write.
  virtual int of_getpass(std::string& password);
  // The card's field `field` ("valid", "number", "s01" ...; protocol.h).
  virtual int of_read(const std::string& field, std::string& value);
  // Several fields at once, values in the order of `fields`.
  virtual int of_read(const std::vector<std::string>& fields, std::vector<std::string>& values);
  // Field `field` as a whole number; -1 also when it holds none.
  virtual int of_part_int(const std::string& field, long& value);
  // The card's scoring code (trimmed; may be empty).
  virtual int of_retu_dm(std::string& code);
  // The scoring standard named by `code`: 1 with the standard in
  // `standard`, 0 when there is none. A card's scoring code names its
  // standard; a blank code, or one that is not letters and digits (at most
  // ten), names none.
  virtual int of_retu_jfbz(const std::string& code, std::string& standard);
  // The points that work order `work_order` of the session's company booked
  // under scoring code `code` (svcb20c.nhykbcjf, rounded to whole points):
  // 1 with the points, 0 when the work order is not found (points 0), -1 on
  // a database error.
  virtual int of_retu_bcjf(const std::string& code, const std::string& work_order, long& points);
  // Writes `value` into the card's field `field`, presenting `password`.
  virtual int of_write(const std::string& password, const std::string& field, const std::string& value);
  // Writes every (field, value) of `fields` or, on failure, none.
  virtual int of_write(const std::string& password, const std::vector<std::pair<std::string, std::string>>& fields);
  // The figures of work order `work_order` of the session's company that the
  // card's service data holds: `infor` = { total (nhjje), paid by card
  // (nhykbcxfje), points (nhykbcjf) } as texts. 1, 0 when not found, -1 on a
  // database error.
  virtual int of_retu_infor(const std::string& work_order, std::vector<std::string>& infor);
  // Appends the record of a cancellation to the card: the card number, the
  // work order, the date ("yyyy/mm/dd"), the card's points before and the
  // points taken off, and the operator; `password` is the card's write key.
  virtual int of_wgjs(const std::string& password, const std::string& card, const std::string& work_order,
                      const std::string& date, long points_before, long points_taken, const std::string& operator_code);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace kq::fw
