#include "data/demo/row_writer.h"

#include <charconv>

namespace kq::demo {

Cell::Cell(double v) {
  auto d = Decimal::from_double(v);
  if (d) value_ = *d;
  else value_ = Value::null(Type::Decimal);
}

void PreparedRows::run(const std::vector<Cell>& values) { run(values.data(), values.data() + values.size()); }
void PreparedRows::run(std::initializer_list<Cell> values) { run(values.begin(), values.end()); }

void PreparedRows::run(const Cell* begin, const Cell* end) {
  if (!writer_.ok()) return;
  const auto count = static_cast<size_t>(end - begin);
  for (size_t i = 0; i < translation_.params.size(); ++i) {
    const auto slot = static_cast<size_t>(slot_[i]);
    if (slot >= count) {
      writer_.fail(translation_.sql + ": no value for :" + translation_.params[i].name);
      return;
    }
    if (auto bound = statement_->bind(static_cast<int>(i), begin[slot].value(), translation_.params[i].target);
        !bound) {
      writer_.fail(translation_.sql + ": " + bound.error() + " (:" + translation_.params[i].name + " = " +
                   begin[slot].value().debug_string() + ")");
      statement_->reset();
      return;
    }
  }
  for (;;) {
    auto row = statement_->step();
    if (!row) {
      writer_.fail(translation_.sql + ": " + row.error());
      break;
    }
    if (!*row) break;
  }
  statement_->reset();
}

PreparedRows* RowWriter::prepare(std::string_view tsql) {
  if (error_) return nullptr;
  if (auto it = cache_.find(tsql); it != cache_.end()) return it->second.get();
  auto translation = connection_.dialect().translate(tsql, connection_.catalog());
  if (!translation) {
    fail(std::string(tsql) + ": " + translation.error());
    return nullptr;
  }
  auto statement = connection_.prepare(translation->sql);
  if (!statement) {
    fail(translation->sql + ": " + statement.error());
    return nullptr;
  }
  std::unique_ptr<PreparedRows> rows(new PreparedRows(*this, std::move(*translation), std::move(*statement)));
  for (const db::Parameter& p : rows->translation_.params) {
    int n = 0;
    const char* first = p.name.data() + 1;
    const char* last = p.name.data() + p.name.size();
    if (p.name.size() < 2 || p.name[0] != 'p' || std::from_chars(first, last, n).ptr != last || n < 1) {
      fail(std::string(tsql) + ": host variable :" + p.name + " is not of the form :pN");
      return nullptr;
    }
    rows->slot_.push_back(n - 1);
  }
  return cache_.emplace(std::string(tsql), std::move(rows)).first->second.get();
}

void RowWriter::insert(std::string_view table, const Field* begin, const Field* end) {
  if (error_) return;
  std::string sql = "insert into ";
  sql += table;
  sql += " (";
  std::string marks;
  int n = 0;
  for (const Field* f = begin; f != end; ++f) {
    if (n > 0) {
      sql += ", ";
      marks += ", ";
    }
    sql += f->column;
    marks += ":p" + std::to_string(++n);
  }
  sql += ") values (" + marks + ")";
  PreparedRows* rows = prepare(sql);
  if (rows == nullptr) return;
  std::vector<Cell> values;
  values.reserve(static_cast<size_t>(n));
  for (const Field* f = begin; f != end; ++f) values.push_back(f->value);
  rows->run(values);
}

void RowWriter::execute(std::string_view tsql, const std::vector<Cell>& values) {
  if (PreparedRows* rows = prepare(tsql)) rows->run(values);
}

void RowWriter::exec_native(std::string_view sql) {
  if (error_) return;
  auto statement = connection_.prepare(sql);
  if (!statement) {
    fail(std::string(sql) + ": " + statement.error());
    return;
  }
  for (;;) {
    auto row = (*statement)->step();
    if (!row) {
      fail(std::string(sql) + ": " + row.error());
      return;
    }
    if (!*row) return;
  }
}

}  // namespace kq::demo
