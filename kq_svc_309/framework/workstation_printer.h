#pragma once
// The printer of the workstation: a CUPS queue on the machine that serves the
// workstation, named per workstation in the profile file (<gs_startfile>/pb.ini,
// section [print], key printer) or per company by the system parameter
// sys/DYJMC; the profile file wins. Without a name the browser prints (its
// print dialog), as before.
#include <string>

#include "platform/result.h"
#include "platform/value/value.h"

namespace kq::fw {

// The queue named for the current session, trimmed; "" when neither the
// profile file nor the parameter names one, or without a session.
std::string configured_printer();

// Prints what a preview shows (a data window state, modifications applied) as
// its PDF pages on queue `printer`, `copies` times (1 to 9), titled `title`.
// The CUPS job id, or the error in the person's words (the document could not
// be drawn, no such printer, the print service down ...); nothing printed then.
Result<int> print_on_printer(const std::string& printer, const Blob& state, const std::string& title, int copies);

}  // namespace kq::fw
