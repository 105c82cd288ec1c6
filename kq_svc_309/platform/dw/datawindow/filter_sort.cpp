// Filter and sort of the primary buffer through the expression engine.
#include <algorithm>

#include "platform/dw/datawindow/bulk_rows.h"
#include "platform/dw/datawindow/datawindow.h"
#include "platform/dw/datawindow/sort_text.h"
#include "platform/dw/expression/sort_order.h"
#include "platform/value/text.h"

namespace kq::dw {

int DataWindow::setfilter(std::string_view t) {
  if (!bound_) return fail("no dataobject");
  if (text::trim(t).empty()) {
    filter_.reset();
    filter_text_.clear();
    return 1;
  }
  auto c = bound_->compile(t);
  if (!c) return fail("filter '" + std::string(t) + "': " + c.error());
  filter_ = std::move(*c);
  filter_text_ = std::string(t);
  return 1;
}

int DataWindow::filter() {
  if (!bound_) return fail("no dataobject");
  apply_filter();
  if (sorted_) apply_sort();
  place_current_after_change(current_);
  return 1;
}

void DataWindow::apply_filter() {
  auto& primary = rows_.buffer(Buffer::Primary);
  auto& filtered = rows_.buffer(Buffer::Filter);
  std::vector<RowIndex> kept, dropped;
  kept.reserve(primary.size() + filtered.size());
  // A condition of columns and constants only is judged over the store's
  // cells directly; any other through the evaluator, row by row.
  std::optional<BulkCondition> bulk;
  if (filter_) bulk = BulkCondition::plan(filter_->expression.root(), rows_.store);
  std::vector<expr::Tri> truths;
  auto judge = [&](const std::vector<RowIndex>& rows) {
    if (!filter_) {
      kept.insert(kept.end(), rows.begin(), rows.end());
    } else if (bulk) {
      bulk->test(rows_.store, rows, truths);
      // Counted first, then each row goes to its list without a branch.
      const auto pass_count = static_cast<std::size_t>(std::count(truths.begin(), truths.end(), expr::Tri::True));
      std::size_t nk = kept.size(), nd = dropped.size();
      kept.resize(nk + pass_count);
      dropped.resize(nd + rows.size() - pass_count);
      RowIndex* const lists[2] = {dropped.data(), kept.data()};
      for (std::size_t i = 0; i < rows.size(); ++i) {
        const bool pass = truths[i] == expr::Tri::True;
        lists[pass][pass ? nk : nd] = rows[i];
        nk += pass;
        nd += !pass;
      }
    } else {
      for (RowIndex r : rows)
        (eval_.test(*filter_, static_cast<expr::RowId>(r)) == expr::Tri::True ? kept : dropped).push_back(r);
    }
  };
  // The rows are judged against the buffer as it was (rowcount() in a filter
  // sees every row that was shown).
  std::vector<RowIndex> back = filtered;
  std::sort(back.begin(), back.end());
  judge(primary);
  judge(back);
  narrow_by_search(kept, dropped);
  // A sort in force orders the rows anew; rows that tie then come in the
  // order they were retrieved, whichever buffer they were in.
  if (sorted_ && !sort_.empty()) std::sort(kept.begin(), kept.end());
  primary = std::move(kept);
  filtered = std::move(dropped);
  rows_.primary_changed();
  nested_.clear();
}

int DataWindow::setsort(std::string_view t) {
  if (!bound_) return fail("no dataobject");
  auto keys = parse_sort(t);
  if (!keys) return fail("sort '" + std::string(t) + "': " + keys.error());
  std::vector<SortKeyCompiled> compiled;
  for (const SortKey& k : *keys) {
    std::string e = k.expression;
    if (e.size() > 1 && e[0] == '#') {
      int n = std::atoi(e.c_str() + 1);
      if (n < 1 || n > static_cast<int>(bound_->definition().columns.size()))
        return fail("sort '" + std::string(t) + "': no column " + e);
      e = bound_->definition().columns[static_cast<std::size_t>(n - 1)].name;
    }
    auto c = bound_->compile(e);
    if (!c) return fail("sort '" + std::string(t) + "': " + c.error());
    compiled.push_back(SortKeyCompiled{std::move(*c), k.descending});
  }
  sort_ = std::move(compiled);
  sort_text_ = std::string(t);
  sorted_ = false;
  return 1;
}

int DataWindow::sort() {
  if (!bound_) return fail("no dataobject");
  apply_sort();
  sorted_ = true;
  place_current_after_change(current_);
  return 1;
}

void DataWindow::apply_sort() {
  if (sort_.empty()) return;
  auto& primary = rows_.buffer(Buffer::Primary);
  const std::size_t n = primary.size();
  // Each key is either a plain column, ordered as the store orders it, or an
  // expression evaluated once per row and ordered as the engine orders
  // values (expr::sort_order: nulls first). The store's order of a column
  // is the same.
  std::vector<std::vector<Value>> values(sort_.size());
  std::vector<BulkSortKey> keys;
  for (std::size_t i = 0; i < sort_.size(); ++i) {
    const SortKeyCompiled& k = sort_[i];
    BulkSortKey key;
    key.descending = k.descending;
    if (const std::size_t* slot = k.key.expression.column_slot()) {
      key.column = static_cast<int>(*slot);
    } else {
      values[i].reserve(n);
      for (RowIndex r : primary) values[i].push_back(eval_.evaluate(k.key, static_cast<expr::RowId>(r)));
      key.values = &values[i];
    }
    keys.push_back(key);
  }
  const std::vector<uint32_t> order = sort_positions(rows_.store, primary, keys);
  std::vector<RowIndex> sorted(n);
  for (std::size_t i = 0; i < n; ++i) sorted[i] = primary[order[i]];
  primary = std::move(sorted);
  rows_.primary_changed();
  nested_.clear();
}

}  // namespace kq::dw
