#pragma once
// The statements update() runs, as Transact-SQL text with host variables:
//   INSERT INTO t (a, b) VALUES (:c1, :c2)
//   UPDATE t SET a = :c1 WHERE k = :k1 AND j = :k2
//   DELETE FROM t WHERE k = :k1
// Every value is bound; a key whose original value is null is matched with
// "IS NULL". Column and table names come from the definition.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/db/host_var.h"
#include "platform/value/value.h"

namespace kq::dw {

using ColumnValues = std::vector<std::pair<std::string, Value>>;  // table column, value

struct SqlStatement {
  std::string sql;
  std::vector<std::string> names;  // host variables, in order of appearance
  std::vector<Value> values;

  // The host variables for Transaction::exec; they refer to `names`, so the
  // statement must outlive them.
  std::vector<db::HostVar> host_vars() const;
};

SqlStatement insert_sql(std::string_view table, const ColumnValues& values);
SqlStatement update_sql(std::string_view table, const ColumnValues& set, const ColumnValues& keys);
SqlStatement delete_sql(std::string_view table, const ColumnValues& keys);

}  // namespace kq::dw
