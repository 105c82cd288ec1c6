#pragma once
// Moves a shop from one database to another (file to server, server to file,
// file to file): every table of the shop and the club database, row for row,
// with the counters of generated ids, in one transaction on the target. The
// copy is checked before it is committed: every table's row count and digest
// on the target must equal the source's, or nothing is kept.
#include <functional>
#include <string>
#include <vector>

#include "data/transfer/shop_tables.h"
#include "data/transfer/table_digest.h"
#include "platform/db/backend.h"
#include "platform/result.h"

namespace kq::data {

struct CopyOptions {
  // Replace what the target holds; without it a target with any row is refused.
  bool replace = false;
  // Called after each table with its name and its digest.
  std::function<void(const ShopTable&, const TableDigest&)> table_done;
};

struct CopiedTable {
  ShopTable table;
  TableDigest digest;  // the same on both sides
};

// Copies `from` into `to`; both must hold the same schema (the same tables
// and columns). The source is read inside a transaction of its own that
// holds others' writes back until the copy ends (the embedded default), so
// the copy is one consistent state of the shop; it is rolled back at the end.
Result<std::vector<CopiedTable>> copy_shop(db::Connection& from, db::Connection& to, const CopyOptions& options);

// Every table's count and digest as `connection` sees it now.
Result<std::vector<CopiedTable>> digest_shop(db::Connection& connection);

}  // namespace kq::data
