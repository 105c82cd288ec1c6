#pragma once
// Opening a session for a command-line subcommand: the database pair is
// validated (and an older schema brought forward) before the session connects.
#include <memory>
#include <string>

#include "framework/session.h"
#include "platform/result.h"

namespace kq::app {

struct SessionSetup {
  std::string db_path;
  std::string company;
  std::string operator_code;  // optional: fills gs_yhdm, gs_yhxm and the authorities from the operators table
};

// A connected session whose globals are those of `setup` with today as the
// business date. Messages go to standard error unless the caller sets a Ui.
Result<std::unique_ptr<fw::Session>> open_session(const SessionSetup& setup);

}  // namespace kq::app
