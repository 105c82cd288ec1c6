#pragma once
// A signed-in workstation as the module sees it: the host application's
// globals (gs_gsh, gs_yhdm, gd_xtrq ...), its transactions sqlca and sqlls,
// and the Ui through which messages and dialogs reach the person.
//
// Everything of a session runs on the session's own thread; session() is that
// thread's current session (set with SessionScope), so host functions and
// windows read the globals the way the host application's code reads its
// globals.
#include <string>
#include <vector>

#include "platform/db/transaction.h"
#include "platform/result.h"
#include "platform/ui/ui.h"
#include "platform/value/datetime.h"

namespace kq::fw {

// The host application's global variables.
struct Globals {
  std::string gs_gsh;                 // company code
  std::string gs_yhdm;                // operator code
  std::string gs_yhxm;                // operator name
  std::string gs_tsxx = "提示信息";    // title of message boxes
  DateTime gd_xtrq;                   // business date
  DateTime gd_qsrq;                   // default first date of queries
  int gi_dqn = 0;                     // business year
  int gi_dqy = 0;                     // business month
  bool gb_net = false;                // numbers begin with the company code
  int gi_cwaz = 0;                    // 1 = the finance module is installed
  std::string gs_startfile;           // the application folder (profile file pb.ini lives there)
  std::vector<std::string> authorities;  // the operator's authorities ("CJ", "CP", "CQ" ...)
};

class Session {
 public:
  Globals g;
  db::Transaction sqlca;  // the connection of every window and data window
  db::Transaction sqlls;  // the second transaction (numbering commits on it at once)
  ui::Ui* ui = nullptr;   // where messages and dialogs go; null = standard error

  // Connects sqlca and sqlls to the databases of `options` for company g.gs_gsh.
  Result<void> connect(const db::ConnectOptions& options);
  // Options for a further short-lived connection to the same databases (counters, log).
  const db::ConnectOptions& connect_options() const { return options_; }

 private:
  db::ConnectOptions options_;
};

// The current session of this thread. Precondition: a SessionScope is active.
Session& session();
// The current session, or null.
Session* current_session();
// Shorthand for session().g.
inline Globals& g() { return session().g; }

// Makes `s` the current session of this thread for the scope's lifetime.
class SessionScope {
 public:
  explicit SessionScope(Session& s);
  ~SessionScope();
  SessionScope(const SessionScope&) = delete;
  SessionScope& operator=(const SessionScope&) = delete;

 private:
  Session* previous_;
};

// Keeps sqlca's outcome fields (sqlcode, sqlerrtext ...) across a host
// function's own reads, so that a window that tests sqlcode after its
// statement still sees that statement's outcome.
class SqlcaStatusGuard {
 public:
  explicit SqlcaStatusGuard(db::Transaction& t)
      : t_(t), code_(t.sqlcode), text_(t.sqlerrtext), rows_(t.sqlnrows), dbcode_(t.sqldbcode) {}
  ~SqlcaStatusGuard() {
    t_.sqlcode = code_;
    t_.sqlerrtext = text_;
    t_.sqlnrows = rows_;
    t_.sqldbcode = dbcode_;
  }
  SqlcaStatusGuard(const SqlcaStatusGuard&) = delete;
  SqlcaStatusGuard& operator=(const SqlcaStatusGuard&) = delete;

 private:
  db::Transaction& t_;
  int code_;
  std::string text_;
  int64_t rows_;
  int dbcode_;
};

}  // namespace kq::fw
