#include "data/schema/migrations.h"

#include <sqlite3.h>

#include <cctype>
#include <cstdio>

#include "data/embedded_files.h"

namespace kq::schema {
namespace {

std::string hex32(int32_t v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%08X", static_cast<uint32_t>(v));
  return buf;
}

// A message for a failed call on `db`, by the kind of failure.
std::string failure_text(sqlite3* db, int rc) {
  switch (rc & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return "is locked by another program; try again when it has finished";
    case SQLITE_NOTADB:
      return "is not a database (the file is damaged or of another kind)";
    case SQLITE_CORRUPT:
      return std::string("is corrupt (") + sqlite3_errmsg(db) + ")";
    case SQLITE_CANTOPEN:
      return std::string("cannot be opened (") + sqlite3_errmsg(db) + ")";
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH:
      return std::string("cannot be written (") + sqlite3_errmsg(db) + ")";
    default:
      return std::string("cannot be read (") + sqlite3_errmsg(db) + ")";
  }
}

// Runs one statement that yields a single integer.
int query_int(sqlite3* db, const std::string& sql, int64_t& out) {
  sqlite3_stmt* st = nullptr;
  int rc = sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr);
  if (rc == SQLITE_OK) {
    rc = sqlite3_step(st);
    if (rc == SQLITE_ROW) {
      out = sqlite3_column_int64(st, 0);
      rc = SQLITE_OK;
    } else if (rc == SQLITE_DONE) {
      out = 0;
      rc = SQLITE_OK;
    } else {
      rc = sqlite3_extended_errcode(db);
    }
  } else {
    rc = sqlite3_extended_errcode(db);
  }
  sqlite3_finalize(st);
  return rc;
}

bool valid_script_name(std::string_view name) {
  if (name.size() < 9 || name.substr(name.size() - 4) != ".sql" || name[3] != '_') return false;
  for (size_t i = 0; i < 3; ++i)
    if (!std::isdigit(static_cast<unsigned char>(name[i]))) return false;
  for (size_t i = 4; i + 4 < name.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(name[i]);
    if (!std::islower(c) && !std::isdigit(c) && c != '_') return false;
  }
  return true;
}

}  // namespace

Result<std::vector<Script>> embedded_scripts(std::string_view folder) {
  std::vector<Script> scripts;
  for (const auto& [path, content] : embedded::all()) {
    std::string_view p = path;
    if (p.substr(0, folder.size()) != folder) continue;
    std::string_view name = p.substr(folder.size());
    if (name.find('/') != std::string_view::npos || name.size() < 4 || name.substr(name.size() - 4) != ".sql")
      continue;
    if (!valid_script_name(name))
      return make_error("schema script " + std::string(p) + " is not named NNN_name.sql");
    scripts.push_back(Script{std::stoi(std::string(name.substr(0, 3))), std::string(name), content});
  }
  // The map is ordered by path, so the scripts are in version order.
  for (size_t i = 0; i < scripts.size(); ++i) {
    if (scripts[i].version != static_cast<int>(i) + 1)
      return make_error("schema scripts in " + std::string(folder) + " are not numbered 1.." +
                        std::to_string(scripts.size()) + " without gaps (found " + scripts[i].name + ")");
  }
  if (scripts.empty()) return make_error("no schema scripts in " + std::string(folder));
  return scripts;
}

ErrorKind failure_kind(int rc) {
  switch (rc & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return ErrorKind::Busy;
    case SQLITE_NOTADB: return ErrorKind::Foreign;
    case SQLITE_CORRUPT: return ErrorKind::Corrupt;
    default: return ErrorKind::Other;
  }
}

std::string describe(sqlite3* db, const SchemaKind& kind) {
  const char* file = sqlite3_db_filename(db, kind.schema.c_str());
  if (file == nullptr || *file == '\0') return kind.label + " (in memory)";
  return kind.label + " " + file;
}

Result<SchemaState> read_state(sqlite3* db, const SchemaKind& kind) {
  SchemaState state;
  int64_t v = 0;
  const std::string s = kind.schema;
  int rc = query_int(db, "PRAGMA \"" + s + "\".application_id", v);
  if (rc == SQLITE_OK) {
    state.application_id = static_cast<int32_t>(v);
    rc = query_int(db, "PRAGMA \"" + s + "\".user_version", v);
  }
  if (rc == SQLITE_OK) {
    state.version = static_cast<int>(v);
    // Reading the schema table parses every definition: a damaged first page shows here.
    rc = query_int(db, "SELECT count(*) FROM \"" + s + "\".sqlite_schema", v);
  }
  if (rc != SQLITE_OK) return make_error(describe(db, kind) + " " + failure_text(db, rc), failure_kind(rc));
  state.objects = v;
  return state;
}

Result<void> check_state(const SchemaState& state, const SchemaKind& kind, const MigrateOptions& options,
                         const std::vector<SchemaKind>& other_kinds, const std::string& where) {
  const int latest = static_cast<int>(kind.scripts.size());
  if (state.fresh()) {
    if (!options.allow_create)
      return make_error(where + " is empty (not initialised); create its schema with `kq_svc_309 db init`",
                        ErrorKind::NotFound);
    return {};
  }
  if (state.application_id != kind.application_id) {
    for (const auto& other : other_kinds) {
      if (other.application_id == state.application_id && state.application_id != 0)
        return make_error(where + " is a kq_svc_309 " + other.label + ", not a " + kind.label, ErrorKind::Foreign);
    }
    if (state.application_id == 0)
      return make_error(where + " is not a kq_svc_309 " + kind.label +
                            ": it holds tables of another application and no kq_svc_309 mark",
                        ErrorKind::Foreign);
    return make_error(where + " is not a kq_svc_309 " + kind.label + " (application id " +
                          hex32(state.application_id) + ")",
                      ErrorKind::Foreign);
  }
  if (state.version > latest)
    return make_error(where + " has schema version " + std::to_string(state.version) +
                      ", newer than this program knows (up to " + std::to_string(latest) +
                          "); use a newer kq_svc_309",
                      ErrorKind::UnsupportedVersion);
  if (state.version < latest && !options.allow_upgrade)
    return make_error(where + " has schema version " + std::to_string(state.version) + ", older than " +
                      std::to_string(latest) + "; bring it forward with `kq_svc_309 db init`");
  return {};
}

Result<void> migrate_schema(sqlite3* db, const SchemaKind& kind, const MigrateOptions& options,
                            const std::vector<SchemaKind>& other_kinds) {
  const std::string where = describe(db, kind);
  auto state = read_state(db, kind);
  if (!state) return state.failure();
  if (auto ok = check_state(*state, kind, options, other_kinds, where); !ok) return ok;

  const std::string s = "\"" + kind.schema + "\"";
  for (const Script& script : kind.scripts) {
    if (script.version <= state->version) continue;
    char* err = nullptr;
    int rc = sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, &err);
    if (rc != SQLITE_OK) {
      sqlite3_free(err);
      const int code = sqlite3_extended_errcode(db);
      return make_error(where + " " + failure_text(db, code), failure_kind(code));
    }
    // Another program may have migrated between our read and the lock.
    auto now = read_state(db, kind);
    if (!now || now->version >= script.version) {
      sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
      if (!now) return now.failure();
      if (auto ok = check_state(*now, kind, options, other_kinds, where); !ok) return ok;
      state = now;
      continue;
    }
    std::string sql(script.sql);
    sql += "\n;PRAGMA " + s + ".application_id = " + std::to_string(kind.application_id) + ";PRAGMA " + s +
           ".user_version = " + std::to_string(script.version) + ";";
    rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &err);
    if (rc == SQLITE_OK) rc = sqlite3_exec(db, "COMMIT", nullptr, nullptr, &err);
    if (rc != SQLITE_OK) {
      std::string msg = err != nullptr ? err : sqlite3_errmsg(db);
      sqlite3_free(err);
      sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
      return make_error("migration " + script.name + " of " + where + " failed: " + msg +
                        "; the database stays at version " + std::to_string(script.version - 1));
    }
    state->version = script.version;
  }
  return {};
}

}  // namespace kq::schema
