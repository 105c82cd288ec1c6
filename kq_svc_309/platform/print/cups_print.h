#pragma once
// Printing a PDF document on a CUPS queue through libcups, without a dialog.
// The scheduler is the one libcups is set up for: CUPS_SERVER, else
// client.conf, else the machine's own (/run/cups/cups.sock). Blocking: it
// waits at most `connect_timeout` for the scheduler and then as long as the
// scheduler takes to spool the document (no printing is waited for).
#include <chrono>
#include <string>
#include <string_view>

#include "platform/result.h"

namespace kq::print {

struct PrintJob {
  std::string printer;  // the queue's name
  std::string title;    // the job's name in the queue ("结算单 1010000000006")
  // Copies the queue prints (the IPP attribute "copies", collated); 1 to 9,
  // anything else is refused before the scheduler is asked.
  int copies = 1;
  std::chrono::milliseconds connect_timeout{5000};
};

// Sends `pdf` as one job. The job's id; or an Error with a message for the
// person, whose kind says why: NotFound (no queue of that name), Busy (the
// scheduler cannot be reached, or the queue is stopped or refuses jobs), Other
// (anything else the scheduler answered, or copies out of range). Nothing is
// printed when it fails: a job begun is cancelled.
Result<int> print_pdf(const PrintJob& job, std::string_view pdf);

}  // namespace kq::print
