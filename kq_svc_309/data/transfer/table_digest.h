#pragma once
// A fingerprint of a table's content that two backends give alike when they
// hold the same rows: the row count and a sum of one hash per row, so that
// the order the rows come in does not matter. A row hashes its values in
// column order by what they mean, not by how the backend stores them: numbers
// (integer or decimal) by their decimal value, dates by "yyyy-mm-dd hh:mm:ss",
// text without trailing blanks (as a Transact-SQL server compares it), blobs
// by their bytes, null apart from every value.
#include <cstdint>
#include <span>
#include <string>

#include "platform/value/value.h"

namespace kq::data {

struct TableDigest {
  int64_t rows = 0;
  uint64_t sum = 0;

  void add(std::span<const Value> row);
  // "1234 rows, digest 0123456789abcdef"
  std::string describe() const;
  friend bool operator==(const TableDigest&, const TableDigest&) = default;
};

}  // namespace kq::data
