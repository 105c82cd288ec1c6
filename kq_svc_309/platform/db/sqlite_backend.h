#pragma once
// The embedded default backend: the shop database in one SQLite file that
// holds the club database's tables too (kq_club..t is the table kq_club_t, see
// the dialect), in write-ahead-log mode with full synchronisation: readers
// never hold a writer back, and one COMMIT ends the writes of shop and club
// at once. The SQL function f_retu_gsh() returns the connection's company code.
//
// Values are stored by the conventions of sqlite_storage.h.
#include <memory>

#include "platform/db/backend.h"

struct sqlite3;

namespace kq::db {

// Opens the files named by `options` (nothing is created: a missing file, or
// one that is no SQLite database, is an error naming it). `dialect` translates
// the statements; null means make_sqlite_dialect().
Result<std::unique_ptr<Connection>> open_sqlite_connection(const ConnectOptions& options,
                                                           std::unique_ptr<Dialect> dialect = nullptr);

// Takes over a connection opened elsewhere (by the schema's open_database_files,
// which validates and migrates the file). Uses options.company and options.busy_timeout_ms; the connection
// is closed with the returned object, also when this fails.
Result<std::unique_ptr<Connection>> adopt_sqlite_connection(sqlite3* db, const ConnectOptions& options,
                                                            std::unique_ptr<Dialect> dialect = nullptr);

}  // namespace kq::db
