#pragma once
// The values of one sort key for a list of rows, extracted once before
// sorting into a compact array of the key's kind (whole numbers and dates as
// int64, decimals as their raw count, text as views of the stored strings), so
// that comparisons during the sort rarely touch Values or the row store.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "platform/dw/expression/compare_ops.h"
#include "platform/dw/expression/expression.h"

namespace kq::dw::expr {

class SortKeyValues {
 public:
  // Evaluates `key` for each of `rows` (a plain column is read in place; the
  // stored values must stay unchanged while this object is used).
  SortKeyValues(const Expression& key, bool descending, const RowContext& ctx, std::span<const RowId> rows);

  // Order of the values at positions i and j (of `rows`), the direction applied.
  int compare(std::size_t i, std::size_t j) const {
    const bool ni = null_[i] != 0, nj = null_[j] != 0;
    int c;
    if (ni || nj) {
      c = ni == nj ? 0 : (ni ? -1 : 1);
    } else {
      switch (kind_) {
        case Kind::Int: c = three_way(ints_[i], ints_[j]); break;
        case Kind::Dec: c = three_way(decs_[i], decs_[j]); break;
        case Kind::Text:
          c = three_way(prefixes_[i], prefixes_[j]);
          if (c == 0) {
            c = texts_[i].compare(texts_[j]);
            c = c < 0 ? -1 : (c > 0 ? 1 : 0);
          }
          break;
        default: c = general(i, j); break;
      }
    }
    return descending_ ? -c : c;
  }

 private:
  enum class Kind { Int, Dec, Text, General };

  int general(std::size_t i, std::size_t j) const;

  Kind kind_ = Kind::General;
  bool descending_ = false;
  std::vector<uint8_t> null_;
  std::vector<int64_t> ints_;
  std::vector<__int128> decs_;
  std::vector<std::string_view> texts_;
  // The first eight bytes of each text, big-endian and zero-padded: ordered as
  // the texts are wherever they differ, so most comparisons stop here.
  std::vector<uint64_t> prefixes_;
  std::vector<const Value*> values_;  // every row's value (General kind)
  std::vector<Value> owned_;          // values of a key that is not a plain column
};

}  // namespace kq::dw::expr
