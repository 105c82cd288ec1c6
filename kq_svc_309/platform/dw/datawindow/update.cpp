// update(): the changes of an updatable definition written through the transaction.
#include "platform/dw/datawindow/datawindow.h"
#include "platform/dw/datawindow/update_sql.h"

namespace kq::dw {

int DataWindow::update() {
  if (!bound_) return fail("no dataobject");
  if (!trans_) return fail("no transaction (settransobject first)");
  if (accepttext() < 0) return -1;
  const Definition& d = bound_->definition();
  if (d.update_table.empty()) return fail(d.name + " is not updatable");

  auto keys_of = [&](RowIndex r) {
    ColumnValues keys;
    for (std::size_t c = 0; c < d.columns.size(); ++c)
      if (d.columns[c].key) keys.emplace_back(d.columns[c].db_name, rows_.original(r, static_cast<uint32_t>(c)));
    return keys;
  };
  auto run = [&](const SqlStatement& st, bool must_touch_a_row) {
    auto vars = st.host_vars();
    int rc = trans_->exec(st.sql, std::span<const db::HostVar>(vars));
    if (rc == -1) return fail(trans_->sqlerrtext);
    if (rc == 100 && must_touch_a_row) {
      trans_->sqlcode = -1;
      trans_->sqlerrtext = "Row changed between retrieve and update: no row of " + d.update_table + " has its key any more";
      return fail(trans_->sqlerrtext);
    }
    return 1;
  };

  for (RowIndex r : rows_.buffer(Buffer::Delete)) {
    if (is_new(rows_.status(r))) continue;
    if (run(delete_sql(d.update_table, keys_of(r)), true) < 0) return -1;
  }
  for (Buffer b : {Buffer::Primary, Buffer::Filter}) {
    for (RowIndex r : rows_.buffer(b)) {
      const ItemStatus s = rows_.status(r);
      if (s == ItemStatus::NewModified) {
        ColumnValues values;
        for (std::size_t c = 0; c < d.columns.size(); ++c) {
          if (d.columns[c].db_name.empty() || rows_.store.is_null(r, c)) continue;
          values.emplace_back(d.columns[c].db_name, rows_.store.get(r, c));
        }
        if (values.empty()) continue;
        if (run(insert_sql(d.update_table, values), false) < 0) return -1;
      } else if (s == ItemStatus::DataModified) {
        ColumnValues set;
        for (uint32_t c : rows_.modified_columns(r))
          if (!d.columns[c].db_name.empty()) set.emplace_back(d.columns[c].db_name, rows_.store.get(r, c));
        if (set.empty()) continue;
        if (run(update_sql(d.update_table, set, keys_of(r)), true) < 0) return -1;
      }
    }
  }
  return resetupdate();
}

int DataWindow::resetupdate() {
  rows_.buffer(Buffer::Delete).clear();
  for (Buffer b : {Buffer::Primary, Buffer::Filter})
    for (RowIndex r : rows_.buffer(b)) rows_.set_status(r, ItemStatus::NotModified);
  rows_.clear_all_changes();
  return 1;
}

}  // namespace kq::dw
