#pragma once
// What a dialect needs to know of the schema: the kind of a table's or view's
// column, so that it can store values the way the backend expects them.
#include <optional>
#include <string_view>

namespace kq::db {

enum class ColumnKind { Text, Integer, Decimal, DateTime, Blob };

struct ColumnInfo {
  ColumnKind kind = ColumnKind::Text;
  int scale = 0;  // fractional digits of a Decimal column
  friend bool operator==(const ColumnInfo&, const ColumnInfo&) = default;
};

class Catalog {
 public:
  virtual ~Catalog() = default;
  // The column `column` of table or view `table` ("svcb20c", or with a database
  // prefix "kq_club.club01c"); names are case-insensitive. nullopt when unknown.
  virtual std::optional<ColumnInfo> column(std::string_view table, std::string_view column) const = 0;
};

}  // namespace kq::db
