#include "data/transfer/shop_copy.h"

#include <set>

#include "data/demo/row_writer.h"
#include "platform/value/text.h"

namespace kq::data {
namespace {

// Ends the source's reading transaction whatever happens.
class ReadScope {
 public:
  explicit ReadScope(db::Connection& c) : c_(c) {}
  ~ReadScope() { (void)c_.rollback(); }
  ReadScope(const ReadScope&) = delete;
  ReadScope& operator=(const ReadScope&) = delete;

 private:
  db::Connection& c_;
};

struct Columns {
  std::vector<std::string> names;  // lower case, in the table's order
};

Result<Columns> columns_of(db::Connection& c, const ShopTable& t) {
  const std::string sql = "SELECT * FROM " + native_name(c, t) + " WHERE 1 = 0";
  auto st = c.prepare(sql);
  if (!st) return make_error(sql + ": " + st.error());
  Columns out;
  for (int i = 0; i < (*st)->column_count(); ++i) out.names.push_back(text::lower((*st)->column_name(i)));
  return out;
}

// Reads every row of `t`, giving each to `each`; the row's values as the backend reads them.
template <typename Each>
Result<void> each_row(db::Connection& c, const ShopTable& t, const Columns& columns, Each&& each) {
  std::string list;
  for (const std::string& n : columns.names) list += (list.empty() ? "" : ", ") + n;
  const std::string sql = "SELECT " + list + " FROM " + native_name(c, t);
  auto st = c.prepare(sql);
  if (!st) return make_error(sql + ": " + st.error());
  std::vector<Value> row(columns.names.size());
  for (;;) {
    auto more = (*st)->step();
    if (!more) return make_error(sql + ": " + more.error());
    if (!*more) break;
    (*st)->read_row(row);
    if (auto ok = each(row); !ok) {
      (*st)->reset();
      return ok;
    }
  }
  (*st)->reset();
  return {};
}

Result<TableDigest> digest_table(db::Connection& c, const ShopTable& t, const Columns& columns) {
  TableDigest d;
  auto ok = each_row(c, t, columns, [&](const std::vector<Value>& row) -> Result<void> {
    d.add(row);
    return {};
  });
  if (!ok) return make_error(ok.error());
  return d;
}

std::string names_of(const std::vector<ShopTable>& tables) {
  std::string out;
  for (const ShopTable& t : tables) out += (out.empty() ? "" : ", ") + t.qualified();
  return out;
}

}  // namespace

Result<std::vector<CopiedTable>> digest_shop(db::Connection& connection) {
  auto tables = list_shop_tables(connection);
  if (!tables) return make_error(tables.error());
  std::vector<CopiedTable> out;
  for (const ShopTable& t : *tables) {
    auto columns = columns_of(connection, t);
    if (!columns) return make_error(columns.error());
    auto d = digest_table(connection, t, *columns);
    if (!d) return make_error(d.error());
    out.push_back({t, *d});
  }
  return out;
}

Result<std::vector<CopiedTable>> copy_shop(db::Connection& from, db::Connection& to, const CopyOptions& options) {
  auto source_tables = list_shop_tables(from);
  if (!source_tables) return make_error("source: " + source_tables.error());
  auto target_tables = list_shop_tables(to);
  if (!target_tables) return make_error("target: " + target_tables.error());
  {
    std::vector<ShopTable> missing, extra;
    const std::set<ShopTable> in_target(target_tables->begin(), target_tables->end());
    const std::set<ShopTable> in_source(source_tables->begin(), source_tables->end());
    for (const ShopTable& t : *source_tables)
      if (!in_target.count(t)) missing.push_back(t);
    for (const ShopTable& t : *target_tables)
      if (!in_source.count(t)) extra.push_back(t);
    if (!missing.empty()) return make_error("the target has no table " + names_of(missing) + "; its schema differs");
    if (!extra.empty()) return make_error("the source has no table " + names_of(extra) + "; its schema differs");
  }

  if (auto begun = from.begin(); !begun) return make_error("source: " + begun.error());
  ReadScope reading(from);
  if (auto begun = to.begin(); !begun) return make_error("target: " + begun.error());
  auto fail = [&](const std::string& message) -> Result<std::vector<CopiedTable>> {
    (void)to.rollback();
    return make_error(message);
  };

  demo::RowWriter writer(to);
  std::vector<CopiedTable> copied;
  for (const ShopTable& t : *source_tables) {
    auto columns = columns_of(from, t);
    if (!columns) return fail("source: " + columns.error());
    auto target_columns = columns_of(to, t);
    if (!target_columns) return fail("target: " + target_columns.error());
    if (std::set<std::string>(columns->names.begin(), columns->names.end()) !=
        std::set<std::string>(target_columns->names.begin(), target_columns->names.end()))
      return fail("table " + t.qualified() + " has other columns in the target; its schema differs");

    auto held = native_rows(to, "SELECT count(*) FROM " + native_name(to, t));
    if (!held) return fail("target: " + held.error());
    const int64_t rows_there = (*held)[0][0].as_long().value_or(0);
    if (rows_there > 0) {
      if (!options.replace)
        return fail("the target is not empty (table " + t.qualified() + " holds " + std::to_string(rows_there) +
                    " rows); pass --replace to replace its content");
      writer.execute("delete from " + t.tsql(), {});
    }

    std::string insert = "insert into " + t.tsql() + " (";
    std::string marks;
    for (size_t i = 0; i < columns->names.size(); ++i) {
      insert += (i ? ", " : "") + columns->names[i];
      marks += (i ? ", :p" : ":p") + std::to_string(i + 1);
    }
    insert += ") values (" + marks + ")";
    demo::PreparedRows* rows = writer.prepare(insert);
    if (!writer.ok()) return fail("target: " + *writer.error());

    TableDigest digest;
    std::vector<demo::Cell> cells(columns->names.size(), demo::Cell(nullptr));
    auto ok = each_row(from, t, *columns, [&](const std::vector<Value>& row) -> Result<void> {
      digest.add(row);
      for (size_t i = 0; i < row.size(); ++i) cells[i] = demo::Cell(row[i]);
      rows->run(cells);
      if (!writer.ok()) return make_error("target: " + *writer.error());
      return {};
    });
    if (!ok) return fail(ok.error());
    copied.push_back({t, digest});
  }

  auto counters = read_id_counters(from);
  if (!counters) return fail("source: " + counters.error());
  if (auto ok = write_id_counters(to, *counters); !ok) return fail("target: " + ok.error());

  // The check reads the target inside the copy's own transaction, before it is committed.
  for (const CopiedTable& c : copied) {
    auto columns = columns_of(from, c.table);
    if (!columns) return fail("source: " + columns.error());
    auto there = digest_table(to, c.table, *columns);
    if (!there) return fail("target: " + there.error());
    if (!(*there == c.digest))
      return fail("table " + c.table.qualified() + " differs after the copy: source " + c.digest.describe() +
                  ", target " + there->describe() + "; nothing was kept");
    if (options.table_done) options.table_done(c.table, c.digest);
  }
  if (auto committed = to.commit(); !committed) return fail("target: " + committed.error());
  return copied;
}

}  // namespace kq::data
