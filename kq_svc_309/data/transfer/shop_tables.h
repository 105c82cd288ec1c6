#pragma once
// The tables of a shop and its club as a backend connection sees them, and
// the counters behind their generated ids, so that a copy can carry every
// table and continue numbering where the original stopped.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/db/backend.h"
#include "platform/result.h"

namespace kq::data {

struct ShopTable {
  std::string name;  // lower case, without database
  bool club = false;  // a table of the club database
  // The name people read ("svcb20c", "kq_club.club01c") and the name in the
  // module's Transact-SQL ("svcb20c", "kq_club..club01c").
  std::string qualified() const { return club ? "kq_club." + name : name; }
  std::string tsql() const { return club ? "kq_club.." + name : name; }
  friend bool operator<(const ShopTable& a, const ShopTable& b) {
    return a.club != b.club ? !a.club : a.name < b.name;
  }
  friend bool operator==(const ShopTable&, const ShopTable&) = default;
};

// The table's name in the SQL of `connection`'s backend: a file keeps the
// club's tables beside the shop's as "kq_club_club01c", a server in the
// schema kq_club.
std::string native_name(db::Connection& connection, const ShopTable& table);

// Every table of the shop, then every table of the club, by name. An error
// for a backend this does not know.
Result<std::vector<ShopTable>> list_shop_tables(db::Connection& connection);

// The last id each table's counter gave ("kq_club.club01c" → 42), for tables
// with a generated id; the highest id of the table when the backend keeps no
// counter apart from the rows.
Result<std::map<std::string, int64_t>> read_id_counters(db::Connection& connection);
// Sets the counters so that the next generated id follows `counters` (and
// never falls below an id already in the table).
Result<void> write_id_counters(db::Connection& connection, const std::map<std::string, int64_t>& counters);

// Runs backend SQL and gives every row, values as the backend reads them.
Result<std::vector<std::vector<Value>>> native_rows(db::Connection& connection, const std::string& sql);

}  // namespace kq::data
