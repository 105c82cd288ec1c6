#include "platform/dw/datawindow/bulk_rows.h"

#include <algorithm>
#include <array>
#include <limits>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "platform/dw/expression/compare_ops.h"
#include "platform/dw/expression/sort_order.h"
#include "platform/value/collation.h"

namespace kq::dw {

using expr::BinaryOp;
using expr::holds;
using expr::NodeShape;
using expr::three_way;
using expr::Tri;
using expr::tri;
using expr::with_compare_op;

namespace {

// One column's cells and null bits, read without going through the store.
struct Cells {
  Cells(const RowStore& store, std::size_t column)
      : store(store), column(column), nulls(store.null_words(column)) {}
  bool null(RowIndex r) const { return (nulls[r >> 6] >> (r & 63)) & 1; }
  uint64_t cell(RowIndex r) const { return store.cell(column, r); }
  // A String column's cell, by reference (texts in place are viewed in it).
  const uint64_t& text_cell(RowIndex r) const { return store.text_cell(column, r); }
  const RowStore& store;
  std::size_t column;
  const uint64_t* nulls;
};

}  // namespace

std::optional<BulkCondition> BulkCondition::plan(const expr::Node& root, const RowStore& store) {
  BulkCondition c;
  bool ok = true;
  c.root_ = c.add(root, store, ok);
  if (!ok) return std::nullopt;
  return c;
}

std::size_t BulkCondition::add(const expr::Node& n, const RowStore& store, bool& ok) {
  Step s;
  if (const Value* k = n.constant()) {
    s.kind = Kind::Constant;
    s.truth = expr::truth(*k);
  } else {
    const NodeShape shape = n.shape();
    switch (shape.kind) {
      case NodeShape::Kind::And:
      case NodeShape::Kind::Or:
        s.kind = shape.kind == NodeShape::Kind::And ? Kind::And : Kind::Or;
        s.a = add(*shape.operands[0], store, ok);
        s.b = add(*shape.operands[1], store, ok);
        break;
      case NodeShape::Kind::Not:
        s.kind = Kind::Not;
        s.a = add(*shape.operands[0], store, ok);
        break;
      case NodeShape::Kind::ColumnCompare: {
        const Value* k = shape.constant;
        if (!k || k->is_null() || shape.slot >= store.column_count()) {
          ok = false;
          break;
        }
        const Type t = store.type(shape.slot);
        s.slot = shape.slot;
        s.op = shape.op;
        if (k->is_string() && t == Type::String) {
          s.kind = Kind::Text;
          s.text = k->str();
          s.cell = TextArena::in_place(s.text);
        } else if (k->is_number() && (t == Type::Long || t == Type::Decimal)) {
          s.kind = Kind::Number;
          s.raw = k->as_decimal()->raw();
        } else {
          ok = false;
        }
        break;
      }
      default: ok = false; break;
    }
  }
  steps_.push_back(std::move(s));
  return steps_.size() - 1;
}

void BulkCondition::test(const RowStore& store, const std::vector<RowIndex>& rows, std::vector<Tri>& out) const {
  out.resize(rows.size());
  // A block of rows at a time, so that the cells one operand reads are still
  // in the cache when another reads them.
  for (std::size_t at = 0; at < rows.size(); at += kBlock) {
    const std::size_t m = std::min(kBlock, rows.size() - at);
    run(root_, store, rows.data() + at, nullptr, m, out.data() + at);
  }
}

namespace {

// Calls f(j, p) for the j-th selected position p: every position below m when
// `sel` is null, else sel[0..m).
template <typename F>
inline void each(const uint32_t* sel, std::size_t m, F&& f) {
  if (sel) {
    for (std::size_t j = 0; j < m; ++j) f(sel[j]);
  } else {
    for (std::size_t j = 0; j < m; ++j) f(static_cast<uint32_t>(j));
  }
}

}  // namespace

// Sets out[p] for the selected positions p only (see each()); positions are
// below kBlock.
void BulkCondition::run(std::size_t step, const RowStore& store, const RowIndex* rows, const uint32_t* sel,
                        std::size_t m, Tri* out) const {
  const Step& s = steps_[step];
  switch (s.kind) {
    case Kind::Constant: each(sel, m, [&](uint32_t p) { out[p] = s.truth; }); return;
    case Kind::Not: {
      run(s.a, store, rows, sel, m, out);
      each(sel, m, [&](uint32_t p) {
        out[p] = out[p] == Tri::Null ? Tri::Null : (out[p] == Tri::True ? Tri::False : Tri::True);
      });
      return;
    }
    case Kind::And:
    case Kind::Or: {
      // False (and) or True (or) from the first operand decides; the second
      // is judged for the other rows only. Then the decisive value wins;
      // otherwise True and False give the other value and Null stays Null,
      // which is the larger code of the two.
      static_assert(static_cast<int>(Tri::False) == 0 && static_cast<int>(Tri::True) == 1 &&
                    static_cast<int>(Tri::Null) == 2);
      run(s.a, store, rows, sel, m, out);
      const Tri decisive = s.kind == Kind::And ? Tri::False : Tri::True;
      uint32_t open[kBlock];
      std::size_t k = 0;
      each(sel, m, [&](uint32_t p) {
        open[k] = p;
        k += out[p] != decisive;
      });
      if (k == 0) return;
      Tri second[kBlock];
      run(s.b, store, rows, open, k, second);
      for (std::size_t j = 0; j < k; ++j) {
        const uint32_t p = open[j];
        const auto x = static_cast<uint8_t>(out[p]), y = static_cast<uint8_t>(second[p]);
        out[p] = second[p] == decisive ? decisive : static_cast<Tri>(std::max(x, y));
      }
      return;
    }
    case Kind::Text: {
      const TextArena& texts = store.texts(s.slot);
      const Cells cells(store, s.slot);
      const std::string_view k = s.text;
      if ((s.op == BinaryOp::Equal || s.op == BinaryOp::NotEqual) && s.cell != 0) {
        // Texts that fit in place are equal exactly when their cells are.
        const bool eq = s.op == BinaryOp::Equal;
        each(sel, m, [&](uint32_t p) {
          const RowIndex r = rows[p];
          out[p] = cells.null(r) ? Tri::Null : tri((cells.cell(r) == s.cell) == eq);
        });
        return;
      }
      with_compare_op(s.op, [&](auto op) {
        each(sel, m, [&](uint32_t p) {
          const RowIndex r = rows[p];
          out[p] = cells.null(r) ? Tri::Null : tri(holds<decltype(op)::value>(texts.view(cells.text_cell(r)).compare(k)));
        });
      });
      return;
    }
    case Kind::Number: {
      const bool is_long = store.type(s.slot) == Type::Long;
      const Decimal::Raw unit = is_long ? Decimal(1).raw() : static_cast<Decimal::Raw>(store.unit(s.slot));
      const Cells cells(store, s.slot);
      // A constant that is a whole number of cell units compares with the
      // cells themselves (a cell's value is cell * unit, which keeps order).
      const Decimal::Raw units = s.raw / unit;
      const bool whole = units * unit == s.raw && units > std::numeric_limits<int64_t>::min() &&
                         units <= std::numeric_limits<int64_t>::max();
      const auto k = whole ? static_cast<int64_t>(units) : int64_t{0};
      with_compare_op(s.op, [&](auto op) {
        each(sel, m, [&](uint32_t p) {
          const RowIndex r = rows[p];
          if (cells.null(r)) {
            out[p] = Tri::Null;
            return;
          }
          const uint64_t cell = cells.cell(r);
          const bool aside = !is_long && cell == RowStore::kWideCell;
          if (whole && !aside) {
            out[p] = tri(holds<decltype(op)::value>(three_way(static_cast<int64_t>(cell), k)));
            return;
          }
          const Decimal::Raw v = aside ? store.decimal(r, s.slot).raw()
                                       : static_cast<Decimal::Raw>(static_cast<int64_t>(cell)) * unit;
          out[p] = tri(holds<decltype(op)::value>(three_way(v, s.raw)));
        });
      });
      return;
    }
  }
}

namespace {

// A sort key's items, by position in the rows.
struct KeyItems {
  enum class Kind : uint8_t { Int, Text, Store, Values } kind = Kind::Int;
  int column = -1;
  bool descending = false;
  std::vector<int64_t> ints;             // Int
  std::vector<std::string_view> texts;   // Text: collation keys, viewing `keys`
  std::vector<uint8_t> nulls;            // Int, Text
  const std::vector<Value>* values = nullptr;
  std::string keys;                      // Text: the keys' bytes
};

// Whether byte order is collation order for every text of `it`: each holds
// only digits and capital Latin letters, or only digits and small ones
// (work-order numbers, codes), which collation orders as their bytes do
// (digits before letters, letters alphabetically, a prefix first).
bool bytes_collate(const KeyItems& it) {
  // Each byte's class: 1 digit, 2 capital, 4 small, 8 anything else; the
  // classes of every byte ORed (no branch per byte).
  static const std::array<uint8_t, 256> kClass = [] {
    std::array<uint8_t, 256> c{};
    c.fill(8);
    for (int b = '0'; b <= '9'; ++b) c[static_cast<std::size_t>(b)] = 1;
    for (int b = 'A'; b <= 'Z'; ++b) c[static_cast<std::size_t>(b)] = 2;
    for (int b = 'a'; b <= 'z'; ++b) c[static_cast<std::size_t>(b)] = 4;
    return c;
  }();
  uint8_t seen = 0;
  for (std::size_t i = 0; i < it.texts.size(); ++i) {
    for (unsigned char c : it.texts[i]) seen |= kClass[c];
    if ((seen & 8) || (seen & 6) == 6) return false;
  }
  return true;
}

// Replaces each text of `it` by its collation key (text::collation_key),
// computed once per distinct text; texts whose bytes order as collation
// does stay as they are.
void collate_texts(KeyItems& it) {
  if (bytes_collate(it)) return;
  std::unordered_map<std::string_view, std::pair<std::size_t, std::size_t>> seen;
  std::vector<std::pair<std::size_t, std::size_t>> at(it.texts.size());
  it.keys.clear();
  for (std::size_t i = 0; i < it.texts.size(); ++i) {
    if (it.nulls[i]) continue;
    auto [found, fresh] = seen.try_emplace(it.texts[i]);
    if (fresh) {
      const std::size_t from = it.keys.size();
      text::append_collation_key(it.keys, it.texts[i]);
      found->second = {from, it.keys.size() - from};
    }
    at[i] = found->second;
  }
  const std::string_view all(it.keys);
  for (std::size_t i = 0; i < it.texts.size(); ++i)
    it.texts[i] = it.nulls[i] ? std::string_view() : all.substr(at[i].first, at[i].second);
}

// An expression key whose values are all text (or null) sorts as a column of
// text does; false, and `it` unchanged, when some value is of another kind.
bool texts_of_values(KeyItems& it) {
  const std::vector<Value>& v = *it.values;
  for (const Value& x : v)
    if (!x.is_null() && !x.is_string()) return false;
  it.kind = KeyItems::Kind::Text;
  it.nulls.resize(v.size());
  it.texts.resize(v.size());
  for (std::size_t i = 0; i < v.size(); ++i) {
    it.nulls[i] = v[i].is_null();
    if (!it.nulls[i]) it.texts[i] = v[i].str();
  }
  collate_texts(it);
  return true;
}

}  // namespace

std::vector<uint32_t> sort_positions(const RowStore& store, const std::vector<RowIndex>& rows,
                                     const std::vector<BulkSortKey>& keys) {
  const std::size_t n = rows.size();
  std::vector<KeyItems> items(keys.size());
  for (std::size_t k = 0; k < keys.size(); ++k) {
    KeyItems& it = items[k];
    it.descending = keys[k].descending;
    it.column = keys[k].column;
    if (it.column < 0) {
      it.kind = KeyItems::Kind::Values;
      it.values = keys[k].values;
      texts_of_values(it);
      continue;
    }
    const auto col = static_cast<std::size_t>(it.column);
    const Type t = store.type(col);
    const Cells cells(store, col);
    it.nulls.resize(n);
    if (t == Type::String) {
      it.kind = KeyItems::Kind::Text;
      it.texts.resize(n);
      const TextArena& arena = store.texts(col);
      for (std::size_t i = 0; i < n; ++i) {
        it.nulls[i] = cells.null(rows[i]);
        if (!it.nulls[i]) it.texts[i] = arena.view(cells.text_cell(rows[i]));
      }
      collate_texts(it);
      continue;
    }
    // Long, DateTime and the rest: the cell's value. Decimal: units of one
    // scale, in the order of the values, unless some value is kept aside.
    it.kind = KeyItems::Kind::Int;
    it.ints.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
      it.nulls[i] = cells.null(rows[i]);
      const uint64_t cell = it.nulls[i] ? 0 : cells.cell(rows[i]);
      if (t == Type::Decimal && cell == RowStore::kWideCell) {
        it.kind = KeyItems::Kind::Store;
        break;
      }
      it.ints[i] = static_cast<int64_t>(cell);
    }
    if (it.kind == KeyItems::Kind::Store) {
      it.ints.clear();
      it.nulls.clear();
    }
  }

  // Full comparison of positions a and b from key `from` on.
  auto compare = [&](uint32_t a, uint32_t b, std::size_t from) {
    for (std::size_t k = from; k < items.size(); ++k) {
      const KeyItems& it = items[k];
      int c = 0;
      switch (it.kind) {
        case KeyItems::Kind::Int:
        case KeyItems::Kind::Text: {
          const bool na = it.nulls[a], nb = it.nulls[b];
          if (na || nb) c = na == nb ? 0 : (na ? -1 : 1);
          else if (it.kind == KeyItems::Kind::Int) c = three_way(it.ints[a], it.ints[b]);
          else c = three_way(it.texts[a].compare(it.texts[b]), 0);
          break;
        }
        case KeyItems::Kind::Store: c = store.compare(static_cast<std::size_t>(it.column), rows[a], rows[b]); break;
        case KeyItems::Kind::Values: c = expr::sort_order((*it.values)[a], (*it.values)[b]); break;
      }
      if (c != 0) return it.descending ? c > 0 : c < 0;
    }
    return false;
  };

  // Each position with a 64-bit image of its first key, ordered as that key
  // orders (descending included): when the images differ they decide; when
  // they are equal, the full comparison does (from the second key on when
  // equal images mean equal items).
  struct Rec {
    uint64_t image;
    uint32_t pos;
  };
  std::vector<Rec> recs(n);
  std::size_t tie_from = 0;
  const KeyItems* first = items.empty() ? nullptr : &items[0];
  constexpr uint64_t kSign = uint64_t{1} << 63;
  bool exact = first && first->kind == KeyItems::Kind::Int;
  for (std::size_t i = 0; i < n; ++i) {
    uint64_t image = 0;  // null: 0, below every value's image (but see `exact`)
    if (first && (first->kind == KeyItems::Kind::Int || first->kind == KeyItems::Kind::Text) && !first->nulls[i]) {
      if (first->kind == KeyItems::Kind::Int) {
        image = static_cast<uint64_t>(first->ints[i]) ^ kSign;
        if (image == 0) exact = false;  // the least value shares the image of null
      } else {
        image = expr::text_prefix(first->texts[i]);
      }
    }
    recs[i] = Rec{first && first->descending ? ~image : image, static_cast<uint32_t>(i)};
  }
  if (exact) tie_from = 1;
  std::stable_sort(recs.begin(), recs.end(), [&](const Rec& a, const Rec& b) {
    if (a.image != b.image) return a.image < b.image;
    return compare(a.pos, b.pos, tie_from);
  });
  std::vector<uint32_t> order(n);
  for (std::size_t i = 0; i < n; ++i) order[i] = recs[i].pos;
  return order;
}

}  // namespace kq::dw
