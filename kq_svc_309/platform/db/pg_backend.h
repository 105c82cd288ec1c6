#pragma once
// The PostgreSQL backend (libpq), for shops with many workstations and chains
// of shops on one database server.
//
// - The shop's tables live in the connection's current schema, the club's in
//   the schema kq_club of the same database, so one transaction covers both.
// - Every statement is prepared once per connection (a named server-side
//   statement) and run with bound parameters; values never enter the text.
//   The server infers each parameter's type; a value that needs another (a
//   fraction where an integer was inferred) runs a variant prepared with
//   explicit types, cached beside it.
// - Inside a unit of work each statement runs behind a savepoint, so that a
//   failing statement undoes its own changes only and the unit stays open, as
//   on the embedded default (PostgreSQL would otherwise abort the whole unit).
// - f_retu_gsh() is a SQL function of the schema reading the session setting
//   kq.company, which the connection keeps equal to its company.
// - A lock not granted within ConnectOptions::busy_timeout_ms fails with
//   "database is locked" (lock_timeout); errors read as on the embedded
//   default (pg_errors.h).
// - Values travel in text form (pg_types.h); results are read in full when a
//   statement runs, so several cursors may be open on one connection.
//
// The connection comes from ConnectOptions::server (a libpq URI, conninfo or
// service name) and the PG* environment. Neither the text nor a password is
// ever logged: messages name the host, port and database only.
#include <memory>
#include <string_view>

#include "platform/db/backend.h"

typedef struct pg_conn PGconn;

namespace kq::db {

Result<std::unique_ptr<Connection>> open_postgresql_connection(const ConnectOptions& options);

// The libpq handle of a PostgreSQL connection; null for another backend.
PGconn* postgresql_handle(Connection& connection);

// Runs a script of several statements (DDL) as one simple query on a
// PostgreSQL connection; an error as the backend words it.
Result<void> postgresql_execute_script(Connection& connection, std::string_view script);

// "host:port/database" of the connection options, for messages: what libpq
// resolves from them, without user or password.
std::string postgresql_server_name(const ConnectOptions& options);

}  // namespace kq::db
