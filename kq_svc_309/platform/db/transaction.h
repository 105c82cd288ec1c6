#pragma once
// The runtime's transaction object (sqlca, sqlls): a connection on which the
// window code runs embedded statements written as Transact-SQL text with host
// variables, and which reports the outcome of each statement in its fields.
//
//   Str ls_wxxm;
//   sqlca.exec("select cxmmc into :ls_wxxm from svcb20d where cwtsbh = :ls_wtsbh and cwxxmdm = :ls_wxxmdm",
//              {{"ls_wtsbh", ls_wtsbh}, {"ls_wxxmdm", ls_wxxmdm}, {"ls_wxxm", kq::db::out(ls_wxxm)}});
//   if (sqlca.sqlcode == 100) ...  // no such item
//
// After each statement:
//   sqlcode    0 success; 100 when a SELECT INTO / SELECTBLOB finds no row or an
//              UPDATE, DELETE, UPDATEBLOB or INSERT ... SELECT touches no row;
//              -1 on any error.
//   sqlerrtext the error's text ("" unless sqlcode is -1)
//   sqlnrows   rows inserted, updated or deleted, or fetched by a SELECT INTO
//   sqldbcode  the engine's error code (0 unless sqlcode is -1)
//
// Statements: SELECT ... INTO (exactly one row: none gives 100 and leaves the
// output variables untouched; more than one gives -1 "Select returned more
// than one row", outputs untouched), SELECTBLOB ... INTO, INSERT, UPDATE,
// DELETE, UPDATEBLOB, COMMIT and ROLLBACK. Host variables are bound, never
// pasted into the text; a variable that the text uses but that is not given
// fails the statement with sqlcode -1 and a sqlerrtext naming it.
//
// Unit of work (as a Transact-SQL server with autocommit off, read committed):
// the first write (INSERT, UPDATE, DELETE, UPDATEBLOB or any other
// non-SELECT statement) opens a transaction that holds the write lock of the
// shop and the club database until commit() or rollback(); a SELECT outside a
// transaction holds nothing once it is done. Other Transactions on the same
// files (sqlls, other workstations) see committed data only, and their writes
// wait for the lock (up to the busy timeout, then sqlcode -1). A statement
// that fails leaves the open transaction open, with the statement's own
// changes undone. Should the engine itself end the transaction after an
// error, every later write and commit fails with -1 until rollback().
//
// Not thread-safe: one Transaction belongs to one session's thread.
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "platform/db/backend.h"
#include "platform/db/cursor.h"
#include "platform/db/fault_hook.h"
#include "platform/db/host_var.h"
#include "platform/db/statement_cache.h"
#include "platform/db/statement_log.h"
#include "platform/result.h"

namespace kq::db {

class Transaction {
 public:
  int sqlcode = 0;
  std::string sqlerrtext;
  int64_t sqlnrows = 0;
  int sqldbcode = 0;

  Transaction() = default;
  ~Transaction() { disconnect(); }
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;

  // Connects to the backend named in `options` (see ConnectOptions). On failure
  // sqlcode is -1 and sqlerrtext (like the result) says why.
  Result<void> connect(const ConnectOptions& options);
  // Takes an opened connection (for another backend or a test's dialect).
  Result<void> connect(std::unique_ptr<Connection> connection);
  // Rolls back what is not committed, closes the connection; open cursors fail
  // on their next step.
  void disconnect();
  bool connected() const { return conn_ != nullptr; }
  // The company code that f_retu_gsh() returns from now on.
  void set_company(std::string company);

  // Runs one embedded statement with its host variables; returns sqlcode.
  int exec(std::string_view sql, std::initializer_list<HostVar> vars = {}) {
    return exec(sql, std::span<const HostVar>(vars.begin(), vars.size()));
  }
  int exec(std::string_view sql, std::span<const HostVar> vars);

  // COMMIT / ROLLBACK of the open unit of work (0 when none is open); return sqlcode.
  int commit();
  int rollback();
  // True while a unit of work is open (written but not committed).
  bool in_transaction() const;

  // Opens a cursor over a query with named retrieval arguments (bound like
  // host variables). Also sets sqlcode (0, or -1 with sqlerrtext).
  Result<Cursor> open_cursor(std::string_view sql, std::initializer_list<HostVar> args = {}) {
    return open_cursor(sql, std::span<const HostVar>(args.begin(), args.size()));
  }
  Result<Cursor> open_cursor(std::string_view sql, std::span<const HostVar> args);

  // Injected failures for tests, and the count of statements run.
  FaultHook& faults() { return faults_; }
  int64_t statement_count() const { return faults_.statement_count(); }

  // Records every statement from now on (exec, open_cursor, commit, rollback;
  // failed ones too) into `log`, which must outlive the setting; null stops.
  void set_statement_log(StatementLog* log) { log_ = log; }

  // Forgets cached translations, prepared statements and catalog knowledge
  // (after the schema changed under the connection).
  void clear_cache();
  // The backend connection; null when not connected.
  Connection* connection() { return conn_.get(); }

 private:
  void start_statement();
  // Sets sqlcode -1; a failure `from_engine` is also logged with statement_.
  int fail(std::string text, bool from_engine = false);
  int end_unit(bool commit);
  // The cached statement of `sql` after the fault hook let it through; sets
  // sqlcode -1 and returns null on a fault or error.
  std::shared_ptr<CachedStatement> prepare(std::string_view sql);
  // Binds every parameter of the translation from `vars`.
  Result<void> bind(CachedStatement& c, std::span<const HostVar> vars);
  int run_select(CachedStatement& c, std::span<const HostVar> vars);
  int run_write(CachedStatement& c);
  // Notices a unit of work that the engine ended by itself (after an error).
  void check_unit();

  std::unique_ptr<Connection> conn_;
  std::shared_ptr<bool> alive_;
  StatementCache cache_;
  FaultHook faults_;
  std::string statement_;   // the text of the statement running, for the log
  StatementLog* log_ = nullptr;
  bool unit_open_ = false;  // a unit of work was begun and not yet ended
  bool aborted_ = false;    // the engine ended the unit of work after an error
};

}  // namespace kq::db
