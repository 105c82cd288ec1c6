#pragma once
// The shop and club schema on a PostgreSQL server.
//
// One source: the numbered scripts of the embedded default (shop/NNN_*.sql,
// club/NNN_*.sql) are translated statement by statement (postgresql_ddl()),
// so a new migration is written once. What SQLite writes differently in
// substance (INSTEAD OF triggers) lives in postgresql/shop/NNN_*.sql, run
// after the shop script of the same number; postgresql/prologue.sql (the
// case-blind collation, the schema kq_club, f_retu_gsh()) runs first.
//
// The shop's objects go into the connection's current schema (normally
// public), the club's into the schema kq_club. The versions reached are kept
// in the table kq_schema_version (part 'shop' / 'club', version), the
// embedded default's user_version.
//
// Text columns: CHAR(n) stays char(n), which compares ignoring trailing
// blanks as a Transact-SQL server does, and is read back without its padding;
// VARCHAR(n) stays varchar(n) and compares exactly. Both sort and compare in
// byte order, case-sensitively (COLLATE "C", like the embedded default),
// except the columns declared COLLATE NOCASE, which take the case-blind ICU
// collation kq_nocase.
#include <string>
#include <string_view>

#include "data/schema/migrations.h"
#include "platform/db/backend.h"
#include "platform/result.h"

namespace kq::schema {

// A script of the embedded default as PostgreSQL DDL. Types: INTEGER PRIMARY
// KEY AUTOINCREMENT -> integer identity; REAL(p,s) -> numeric(p,s); REAL ->
// double precision; DATETIME -> timestamp(0); BLOB -> bytea; CHAR/VARCHAR ->
// the same with COLLATE "C" (kq_nocase for COLLATE NOCASE). Index names
// qualified with kq_club move to their table; a view over SELECT * FROM (...)
// gets the alias PostgreSQL requires; CREATE TRIGGER statements are left out.
std::string postgresql_ddl(std::string_view sqlite_script);

// Creates the whole schema in an empty database, or brings an older one to
// the latest version, in one transaction (a failure leaves the database as it
// was). Refuses a database that holds tables of anything else, or a newer
// version than this program knows; options say whether creating or
// upgrading is allowed. Concurrent calls on the same database wait for each
// other.
Result<void> migrate_postgresql(db::Connection& connection, const MigrateOptions& options = {});

// The versions a PostgreSQL database holds: {shop, club}; {0, 0} when empty.
struct ServerSchemaVersions {
  int shop = 0;
  int club = 0;
};
Result<ServerSchemaVersions> postgresql_schema_versions(db::Connection& connection);

}  // namespace kq::schema
