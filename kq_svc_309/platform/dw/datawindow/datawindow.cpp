// The data window: definition, transaction, rows, current row and selection.
#include "platform/dw/datawindow/datawindow.h"

#include <algorithm>

#include "platform/dw/definition/definition_set.h"
#include "platform/dw/definition/global_functions.h"

namespace kq::dw {

DataWindow::DataWindow(const expr::FunctionRegistry* functions, DefinitionLookup definitions)
    : functions_(functions ? functions : &global_functions()), definitions_(std::move(definitions)) {
  if (!definitions_) definitions_ = [](std::string_view name) { return kq::dw::definition(name); };
}

DataWindow::~DataWindow() = default;

int DataWindow::fail(std::string message) {
  error_ = std::move(message);
  return -1;
}

const Definition& DataWindow::definition() const {
  static const Definition kNone;
  return bound_ ? bound_->definition() : kNone;
}

int DataWindow::dataobject(std::string_view name) {
  auto def = definitions_(name);
  if (!def) return fail(def.error());
  return dataobject(*def);
}

int DataWindow::dataobject(DefinitionPtr def) {
  if (!def) return fail("no definition");
  reset_settings();
  return bind(std::move(def), std::make_shared<FunctionMemo>(functions_));
}

void DataWindow::reset_settings() {
  filter_.reset();
  filter_text_.clear();
  sort_.clear();
  sort_text_.clear();
  sorted_ = false;
  texts_.clear();
  visible_.clear();
  properties_.clear();
  readonly_ = false;
  pending_.reset();
  archived_ = false;
  args_.clear();
  search_.clear();
  search_lowered_.clear();
}

void DataWindow::recompile_settings() {
  const bool was_sorted = sorted_;
  if (setfilter(filter_text_) < 0) {
    filter_.reset();
    filter_text_.clear();
  }
  if (setsort(sort_text_) < 0) {
    sort_.clear();
    sort_text_.clear();
  }
  sorted_ = was_sorted;
  auto overrides = std::move(visible_);
  visible_.clear();
  for (const auto& [name, v] : overrides)
    if (const ObjectDef* o = bound_->definition().find_object(name)) modify_object(*o, "visible", v.text);
}

int DataWindow::bind(DefinitionPtr def, std::shared_ptr<FunctionMemo> functions) {
  eval_.bind(nullptr);
  bound_.reset();
  dataobject_.clear();
  nested_.clear();
  rows_.clear();
  search_texts_.clear();
  current_.reset();
  auto b = BoundDefinition::bind(std::move(def), std::move(functions));
  if (!b) {
    rows_.store.reset({});
    return fail(b.error());
  }
  bound_ = *b;
  dataobject_ = bound_->definition().name;
  std::vector<RowStore::ColumnType> kinds;
  for (const ColumnDef& c : bound_->definition().columns) kinds.push_back({c.type, c.scale});
  rows_.store.reset(std::move(kinds));
  eval_.bind(bound_.get());
  error_.clear();
  return 1;
}

int DataWindow::settransobject(db::Transaction& transaction) {
  trans_ = &transaction;
  return 1;
}

void DataWindow::clear_rows() {
  rows_.clear();
  search_texts_.clear();
  current_.reset();
  nested_.clear();
  pending_.reset();
  if (bound_) bound_->functions().forget();
}

int DataWindow::reset() {
  clear_rows();
  return 1;
}

std::optional<RowIndex> DataWindow::row_index(long row, Buffer buffer) const { return rows_.at(buffer, row); }

expr::RowId DataWindow::row_id(long row) const {
  auto r = rows_.at(Buffer::Primary, row);
  return r ? static_cast<expr::RowId>(*r) : expr::kNoRow;
}

long DataWindow::rowcount() const { return static_cast<long>(rows_.buffer(Buffer::Primary).size()); }
long DataWindow::filteredcount() const { return static_cast<long>(rows_.buffer(Buffer::Filter).size()); }
long DataWindow::deletedcount() const { return static_cast<long>(rows_.buffer(Buffer::Delete).size()); }

long DataWindow::modifiedcount() const {
  long n = 0;
  for (Buffer b : {Buffer::Primary, Buffer::Filter})
    for (RowIndex r : rows_.buffer(b)) {
      ItemStatus s = rows_.status(r);
      n += (s == ItemStatus::DataModified || s == ItemStatus::NewModified) ? 1 : 0;
    }
  return n;
}

long DataWindow::getrow() const { return current_ ? rows_.position(*current_) : 0; }

int DataWindow::setrow(long row) {
  auto r = row_index(row);
  if (!r) return fail("row " + std::to_string(row) + " does not exist");
  current_ = *r;
  return 1;
}

int DataWindow::scrolltorow(long row) {
  if (row < 1 || rowcount() == 0) return fail("row " + std::to_string(row) + " does not exist");
  return setrow(std::min(row, rowcount()));
}

int DataWindow::selectrow(long row, bool flag) {
  if (row == 0) {
    for (RowIndex r : rows_.buffer(Buffer::Primary)) rows_.set_selected(r, flag);
    return 1;
  }
  auto r = row_index(row);
  if (!r) return fail("row " + std::to_string(row) + " does not exist");
  rows_.set_selected(*r, flag);
  return 1;
}

bool DataWindow::isselected(long row) const {
  auto r = row_index(row);
  return r && rows_.selected(*r);
}

long DataWindow::getselectedrow(long after) const {
  const auto& p = rows_.buffer(Buffer::Primary);
  for (std::size_t i = after < 0 ? 0 : static_cast<std::size_t>(after); i < p.size(); ++i)
    if (rows_.selected(p[i])) return static_cast<long>(i + 1);
  return 0;
}

long DataWindow::insertrow(long before) {
  if (!bound_) return fail("no dataobject");
  auto& primary = rows_.buffer(Buffer::Primary);
  if (before < 0 || before > static_cast<long>(primary.size()) + 1)
    return fail("cannot insert before row " + std::to_string(before));
  if (before > static_cast<long>(primary.size())) before = 0;
  RowIndex r = rows_.add_row(ItemStatus::New);
  const auto& cols = bound_->definition().columns;
  for (std::size_t c = 0; c < cols.size(); ++c)
    if (cols[c].initial) rows_.store.set(r, c, *cols[c].initial);
  long number = 0;
  if (before == 0) {
    primary.push_back(r);
    number = static_cast<long>(primary.size());
  } else {
    primary.insert(primary.begin() + (before - 1), r);
    number = before;
  }
  rows_.primary_changed();
  if (!current_) current_ = r;
  return number;
}

int DataWindow::deleterow(long row) {
  if (row == 0) row = getrow();
  auto r = row_index(row);
  if (!r) return fail("row " + std::to_string(row) + " does not exist");
  auto& primary = rows_.buffer(Buffer::Primary);
  primary.erase(primary.begin() + (row - 1));
  rows_.primary_changed();
  if (!is_new(rows_.status(*r))) rows_.buffer(Buffer::Delete).push_back(*r);
  rows_.set_selected(*r, false);
  if (current_ == r) {
    if (primary.empty()) current_.reset();
    else current_ = primary[std::min(static_cast<std::size_t>(row - 1), primary.size() - 1)];
  }
  nested_.clear();
  return 1;
}

std::size_t DataWindow::memory_bytes() const { return rows_.memory_bytes(); }

void DataWindow::place_current_after_change(std::optional<RowIndex> previous) {
  rows_.primary_changed();
  const auto& primary = rows_.buffer(Buffer::Primary);
  // A search rather than position(): the map of positions is rebuilt only
  // when something asks for one.
  if (previous && std::find(primary.begin(), primary.end(), *previous) != primary.end()) {
    current_ = previous;
    return;
  }
  if (primary.empty()) current_.reset();
  else current_ = primary.front();
}

}  // namespace kq::dw
