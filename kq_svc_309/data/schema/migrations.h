#pragma once
// Forward-only schema migrations of one database of a connection.
//
// A database is marked as ours by PRAGMA application_id and carries the number
// of the last script applied in PRAGMA user_version. Scripts are numbered from
// 1 without gaps ("001_initial.sql", "002_….sql"); each runs in its own
// transaction together with the update of user_version, so a failed script
// leaves the database at the version before it.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/result.h"

struct sqlite3;

namespace kq::schema {

struct Script {
  int version = 0;
  std::string name;     // file name, for messages
  std::string_view sql;
};

// What a migration needs to know about one database of the connection.
struct SchemaKind {
  std::string label;            // "shop database", "club database" (messages)
  std::string schema;           // "main" or the attach name, e.g. "kq_club"
  int32_t application_id = 0;   // the mark of this kind of database
  std::vector<Script> scripts;  // versions 1..N in order
};

// The embedded scripts below `folder` (e.g. "data/schema/shop/"), in version
// order. An error when a name does not read "NNN_name.sql" or the versions are
// not 1..N without gaps.
Result<std::vector<Script>> embedded_scripts(std::string_view folder);

// The state of one database of a connection as read from its header.
struct SchemaState {
  int32_t application_id = 0;
  int version = 0;           // user_version
  int64_t objects = 0;       // rows of sqlite_schema
  bool fresh() const { return application_id == 0 && version == 0 && objects == 0; }
};

// Reads the state of `kind.schema`. The error names the database and says
// whether it is locked by another program, corrupt or not a database at all.
Result<SchemaState> read_state(sqlite3* db, const SchemaKind& kind);

struct MigrateOptions {
  bool allow_create = true;   // an empty database receives the whole schema
  bool allow_upgrade = true;  // an older version is brought forward
};

// Brings `kind.schema` to the last script's version. Refuses (and changes
// nothing) when the database is not empty and not marked with
// kind.application_id, or has a version newer than the scripts know.
// `other_kinds` names the marks of our other databases, so that a club file
// in the place of a shop file is reported as such.
Result<void> migrate_schema(sqlite3* db, const SchemaKind& kind, const MigrateOptions& options = {},
                            const std::vector<SchemaKind>& other_kinds = {});

// Checks a state against a kind without changing anything; the same refusals
// as migrate_schema.
Result<void> check_state(const SchemaState& state, const SchemaKind& kind, const MigrateOptions& options,
                         const std::vector<SchemaKind>& other_kinds, const std::string& where);

// The kind of error a failed SQLite call (its extended result code) gives:
// Busy when the file is locked by another program, Foreign when it is no
// database, Corrupt when it is a damaged one, Other otherwise.
ErrorKind failure_kind(int rc);

// "shop database /path/shop.db" or "shop database (in memory)": how messages
// name `kind.schema` of `db`.
std::string describe(sqlite3* db, const SchemaKind& kind);

}  // namespace kq::schema
