// The person's search over the rows shown: a narrowing on top of the filter,
// judged on each row's shown texts, gathered once per content and reused by
// every keystroke.
#include <algorithm>

#include "platform/dw/datawindow/datawindow.h"
#include "platform/dw/render/grid_model.h"
#include "platform/value/text.h"

namespace kq::dw {
namespace {

// ASCII letters lowered; every other byte (Han characters among them) kept.
void lower_ascii(std::string& s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
}

}  // namespace

int DataWindow::setsearch(std::string_view t) {
  if (!bound_) return fail("no dataobject");
  std::string wanted = text::trim(t);
  if (wanted == search_) return 1;
  search_ = wanted;
  lower_ascii(wanted);
  search_lowered_ = std::move(wanted);
  return filter();
}

long DataWindow::searchtotal() const { return search_.empty() ? rowcount() : search_total_; }

void DataWindow::build_search_texts() {
  // The objects whose texts the person sees for each row.
  std::vector<const ObjectDef*> shown;
  const Definition& def = bound_->definition();
  if (def.style == Definition::Style::Grid) {
    for (const GridColumn& c : build_grid_model(*this).columns) shown.push_back(c.field);
  } else {
    for (const RowDef& line : def.detail.rows)
      for (const ObjectDef& o : line.objects)
        if (o.kind == ObjectDef::Kind::Column || o.kind == ObjectDef::Kind::Compute) shown.push_back(&o);
  }
  const RowIndex n = rows_.store.row_count();
  search_texts_.assign(n, std::string());
  for (RowIndex r = 0; r < n; ++r) {
    std::string& all = search_texts_[r];
    for (const ObjectDef* o : shown) {
      all += display_text_at(*o, static_cast<expr::RowId>(r));
      all += '\n';  // no search text (trimmed, one line) spans two items
    }
    lower_ascii(all);
  }
}

void DataWindow::narrow_by_search(std::vector<RowIndex>& rows, std::vector<RowIndex>& hidden) {
  search_total_ = static_cast<long>(rows.size());
  if (search_.empty()) return;
  if (search_texts_.size() != rows_.store.row_count()) build_search_texts();
  std::vector<RowIndex> kept;
  kept.reserve(rows.size());
  for (RowIndex r : rows)
    (search_texts_[r].find(search_lowered_) != std::string::npos ? kept : hidden).push_back(r);
  rows = std::move(kept);
}

}  // namespace kq::dw
