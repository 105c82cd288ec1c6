#include "platform/db/pg_errors.h"

#include <string_view>

namespace kq::db::pg {
namespace {

// SQLite's extended result codes of the failures that are mapped.
constexpr int kSqliteError = 1;
constexpr int kSqliteBusy = 5;
constexpr int kSqliteIoErr = 10;
constexpr int kSqliteConstraintNotNull = 1299;
constexpr int kSqliteConstraintPrimaryKey = 1555;
constexpr int kSqliteConstraintUnique = 2067;
constexpr int kSqliteConstraintCheck = 275;
constexpr int kSqliteConstraintForeignKey = 787;

std::string field(const PGresult* r, int code) {
  const char* v = r ? PQresultErrorField(r, code) : nullptr;
  return v ? v : "";
}

// "Key (a, b)=(x, y) already exists." -> "t.a, t.b"
std::string key_columns(const std::string& table, const std::string& detail) {
  size_t open = detail.find('(');
  size_t close = detail.find(")=");
  if (open == std::string::npos || close == std::string::npos || close < open) return table;
  std::string_view cols(detail.data() + open + 1, close - open - 1);
  std::string out;
  while (!cols.empty()) {
    size_t comma = cols.find(',');
    std::string_view c = cols.substr(0, comma);
    while (!c.empty() && c.front() == ' ') c.remove_prefix(1);
    if (!out.empty()) out += ", ";
    out += table + "." + std::string(c);
    if (comma == std::string_view::npos) break;
    cols.remove_prefix(comma + 1);
  }
  return out;
}

std::string first_line(std::string text) {
  if (text.rfind("ERROR:  ", 0) == 0) text.erase(0, 8);
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
  return text;
}

}  // namespace

ServerError describe_failure(PGconn* conn, const PGresult* result) {
  if (!conn || PQstatus(conn) != CONNECTION_OK) return {kConnectionLost, kSqliteIoErr};
  const std::string state = field(result, PG_DIAG_SQLSTATE);
  const std::string table = field(result, PG_DIAG_TABLE_NAME);
  if (state == "23502") return {"NOT NULL constraint failed: " + table + "." + field(result, PG_DIAG_COLUMN_NAME),
                                kSqliteConstraintNotNull};
  if (state == "23505") {
    const std::string constraint = field(result, PG_DIAG_CONSTRAINT_NAME);
    const bool primary = constraint.size() > 5 && constraint.compare(constraint.size() - 5, 5, "_pkey") == 0;
    return {"UNIQUE constraint failed: " + key_columns(table, field(result, PG_DIAG_MESSAGE_DETAIL)),
            primary ? kSqliteConstraintPrimaryKey : kSqliteConstraintUnique};
  }
  if (state == "23514") return {"CHECK constraint failed: " + field(result, PG_DIAG_CONSTRAINT_NAME), kSqliteConstraintCheck};
  if (state == "23503") return {"FOREIGN KEY constraint failed", kSqliteConstraintForeignKey};
  // A lock not granted within lock_timeout, a deadlock, a conflict of
  // snapshots: another connection holds what this one needs.
  if (state == "55P03" || state == "40P01" || state == "40001") return {"database is locked", kSqliteBusy};
  if (state.rfind("08", 0) == 0 || state == "57P01" || state == "57P02" || state == "57P03")
    return {kConnectionLost, kSqliteIoErr};
  std::string text = field(result, PG_DIAG_MESSAGE_PRIMARY);
  if (text.empty()) text = first_line(result ? PQresultErrorMessage(result) : PQerrorMessage(conn));
  if (text.empty()) text = first_line(PQerrorMessage(conn));
  return {text, kSqliteError};
}

}  // namespace kq::db::pg
