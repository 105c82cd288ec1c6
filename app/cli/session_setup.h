#pragma once
// Opening a session for a command-line subcommand: the shop's databases (a
// file pair, or a database server) are validated (and an older schema brought
// forward) before the session connects.
#include <memory>
#include <optional>
#include <string>

#include "framework/session.h"
#include "platform/result.h"

namespace kq::app {

struct SessionSetup {
  std::string db_path;
  // --server: the shop on a database server, named as `db --server` names it
  // (no password in it); the folder of the shop's files is then the current one.
  std::optional<std::string> server;
  std::string company;
  std::string operator_code;  // optional: fills gs_yhdm, gs_yhxm and the authorities from the operators table
};

// A connected session whose globals are those of `setup` with today as the
// business date. Messages go to standard error unless the caller sets a Ui.
Result<std::unique_ptr<fw::Session>> open_session(const SessionSetup& setup);

}  // namespace kq::app
