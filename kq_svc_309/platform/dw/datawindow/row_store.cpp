#include "platform/dw/datawindow/row_store.h"

#include <limits>

namespace kq::dw {
namespace {

constexpr int64_t kWide = std::numeric_limits<int64_t>::min();
static_assert(static_cast<uint64_t>(kWide) == RowStore::kWideCell);

int64_t pow10(int n) {
  int64_t v = 1;
  while (n-- > 0) v *= 10;
  return v;
}

template <typename T>
int order(T a, T b) {
  return a < b ? -1 : (b < a ? 1 : 0);
}

}  // namespace

void RowStore::reset(std::vector<ColumnType> kinds) {
  ++changes_;
  columns_.clear();
  columns_.resize(kinds.size());
  for (std::size_t i = 0; i < kinds.size(); ++i) {
    columns_[i].layout = kinds[i];
    if (kinds[i].type == Type::Decimal) {
      int scale = kinds[i].scale < 0 ? 0 : (kinds[i].scale > Decimal::kScale ? Decimal::kScale : kinds[i].scale);
      columns_[i].layout.scale = scale;
      columns_[i].unit = pow10(Decimal::kScale - scale);
    }
  }
  rows_ = 0;
}

void RowStore::clear() {
  ++changes_;
  for (Column& c : columns_) {
    c.chunks.clear();
    c.chunks.shrink_to_fit();
    c.nulls.clear();
    c.nulls.shrink_to_fit();
    c.texts.clear();
    c.wide.clear();
  }
  rows_ = 0;
}

RowIndex RowStore::append() {
  ++changes_;
  const RowIndex row = rows_++;
  const bool new_chunk = row % kChunkRows == 0;
  const bool new_word = (row & 63) == 0;
  for (Column& c : columns_) {
    if (new_chunk) {
      if (!c.chunks.empty()) c.chunks.back().pack(offsets_allowed(c));
      c.chunks.emplace_back();
    }
    // The first chunk grows as rows come (a short list stays small).
    c.chunks.back().push_zero(row > 0 ? kChunkRows : 0);
    if (new_word) c.nulls.push_back(0);
    c.nulls[row >> 6] |= 1ull << (row & 63);
  }
  return row;
}

void RowStore::pack() {
  for (Column& c : columns_)
    if (!c.chunks.empty()) c.chunks.back().pack(offsets_allowed(c));
}

void RowStore::set(RowIndex row, std::size_t column, const Value& v) {
  ++changes_;
  Column& c = columns_[column];
  uint64_t& bits = c.nulls[row >> 6];
  const uint64_t mask = 1ull << (row & 63);
  if (c.layout.type == Type::Decimal && !c.wide.empty()) c.wide.erase(row);
  if (v.is_null()) {
    bits |= mask;
    cell(c, row) = 0;
    return;
  }
  bits &= ~mask;
  switch (c.layout.type) {
    case Type::String: cell(c, row) = c.texts.add(v.str()); break;
    case Type::Long: cell(c, row) = static_cast<uint64_t>(v.lng()); break;
    case Type::DateTime: cell(c, row) = static_cast<uint64_t>(v.dt().seconds()); break;
    case Type::Decimal: {
      const Decimal d = v.dec();
      const Decimal::Raw raw = d.raw();
      // Most amounts fit 64 bits in raw units already: divide in 64 bits then.
      const bool narrow = raw >= std::numeric_limits<int64_t>::min() && raw <= std::numeric_limits<int64_t>::max();
      const Decimal::Raw units = narrow ? static_cast<int64_t>(raw) / c.unit : raw / c.unit;
      const bool whole = narrow ? static_cast<int64_t>(raw) % c.unit == 0 : raw % c.unit == 0;
      if (whole && units > std::numeric_limits<int64_t>::min() && units <= std::numeric_limits<int64_t>::max()) {
        cell(c, row) = static_cast<uint64_t>(static_cast<int64_t>(units));
      } else {
        cell(c, row) = static_cast<uint64_t>(kWide);
        c.wide[row] = d;
      }
      break;
    }
    default: break;
  }
}

void RowStore::set_text(RowIndex row, std::size_t column, std::string_view text) {
  ++changes_;
  Column& c = columns_[column];
  c.nulls[row >> 6] &= ~(1ull << (row & 63));
  cell(c, row) = c.texts.add(text);
}

Decimal RowStore::decimal_of(const Column& c, RowIndex row) const {
  auto units = static_cast<int64_t>(cell(c, row));
  if (units == kWide) return c.wide.at(row);
  return Decimal::from_raw(static_cast<Decimal::Raw>(units) * c.unit);
}

void RowStore::get(RowIndex row, std::size_t column, Value& out) const {
  const Column& c = columns_[column];
  if (is_null(row, column)) {
    out = Value::null(c.layout.type);
    return;
  }
  switch (c.layout.type) {
    case Type::String: out = Value(c.texts.view(text_cell(column, row))); break;
    case Type::Long: out = Value(static_cast<long long>(static_cast<int64_t>(cell(c, row)))); break;
    case Type::DateTime: out = Value(DateTime::from_seconds(static_cast<int64_t>(cell(c, row)))); break;
    case Type::Decimal: out = Value(decimal_of(c, row)); break;
    default: out = Value(); break;
  }
}

int RowStore::compare(std::size_t column, RowIndex a, RowIndex b) const {
  const bool na = is_null(a, column), nb = is_null(b, column);
  if (na || nb) return na == nb ? 0 : (na ? -1 : 1);
  const Column& c = columns_[column];
  switch (c.layout.type) {
    case Type::String: {
      int r = c.texts.view(text_cell(column, a)).compare(c.texts.view(text_cell(column, b)));
      return r < 0 ? -1 : (r > 0 ? 1 : 0);
    }
    case Type::Decimal: {
      auto ua = static_cast<int64_t>(cell(c, a)), ub = static_cast<int64_t>(cell(c, b));
      if (ua != kWide && ub != kWide) return order(ua, ub);
      return order(decimal_of(c, a), decimal_of(c, b));
    }
    default: return order(static_cast<int64_t>(cell(c, a)), static_cast<int64_t>(cell(c, b)));
  }
}

std::size_t RowStore::memory_bytes() const {
  std::size_t n = columns_.capacity() * sizeof(Column);
  for (const Column& c : columns_) {
    n += c.chunks.capacity() * sizeof(CellChunk);
    for (const CellChunk& ch : c.chunks) n += ch.memory_bytes();
    n += c.nulls.capacity() * sizeof(uint64_t);
    n += c.texts.memory_bytes();
    n += c.wide.size() * (sizeof(Decimal) + 32);
  }
  return n;
}

}  // namespace kq::dw
