#include "platform/dw/datawindow/cell_chunk.h"

#include <array>
#include <cstdint>

namespace kq::dw {

void CellChunk::unpack() {
  std::vector<uint64_t> plain;
  plain.reserve(cells_.size() > rows_ ? cells_.size() : rows_);
  for (std::size_t i = 0; i < rows_; ++i) plain.push_back(get(i));
  cells_ = std::move(plain);
  codes_.clear();
  codes_.shrink_to_fit();
  offsets_.clear();
  offsets_.shrink_to_fit();
  mode_ = Mode::Plain;
}

void CellChunk::pack(bool offsets) {
  if (mode_ != Mode::Plain || rows_ == 0) return;
  bool constant = true;
  for (std::size_t i = 1; i < rows_ && constant; ++i) constant = cells_[i] == cells_[0];
  if (constant) {
    cells_.resize(1);
    cells_.shrink_to_fit();
    mode_ = Mode::Constant;
    return;
  }
  // The distinct cells, found through a small open-addressing table; more
  // than 256 of them (or a table too full) leaves the chunk plain.
  constexpr std::size_t kSlots = 1024;
  constexpr std::size_t kMaxDistinct = 256;
  std::array<int16_t, kSlots> slot;
  slot.fill(-1);
  std::vector<uint64_t> distinct;
  std::vector<uint8_t> codes(rows_);
  for (std::size_t i = 0; i < rows_; ++i) {
    const uint64_t c = cells_[i];
    std::size_t h = static_cast<std::size_t>((c * 0x9E3779B97F4A7C15ull) >> 54) & (kSlots - 1);
    while (slot[h] >= 0 && distinct[static_cast<std::size_t>(slot[h])] != c) h = (h + 1) & (kSlots - 1);
    if (slot[h] < 0) {
      if (distinct.size() == kMaxDistinct) return pack_offsets(offsets);
      slot[h] = static_cast<int16_t>(distinct.size());
      distinct.push_back(c);
    }
    codes[i] = static_cast<uint8_t>(slot[h]);
  }
  // Packed only when it saves (the bytes of the codes and the distinct cells
  // against a plain cell a row).
  if (distinct.size() * sizeof(uint64_t) + rows_ >= static_cast<std::size_t>(rows_) * sizeof(uint64_t))
    return pack_offsets(offsets);
  distinct.shrink_to_fit();
  cells_ = std::move(distinct);
  codes_ = std::move(codes);
  mode_ = Mode::Coded;
}

void CellChunk::pack_offsets(bool offsets) {
  if (!offsets) return;
  int64_t least = static_cast<int64_t>(cells_[0]), most = least;
  for (std::size_t i = 1; i < rows_; ++i) {
    const auto c = static_cast<int64_t>(cells_[i]);
    least = c < least ? c : least;
    most = c > most ? c : most;
  }
  // The span, computed without overflow: cells far apart stay plain.
  if (static_cast<uint64_t>(most) - static_cast<uint64_t>(least) > UINT32_MAX) return;
  std::vector<uint32_t> out(rows_);
  for (std::size_t i = 0; i < rows_; ++i) out[i] = static_cast<uint32_t>(cells_[i] - static_cast<uint64_t>(least));
  cells_.assign(1, static_cast<uint64_t>(least));
  cells_.shrink_to_fit();
  offsets_ = std::move(out);
  mode_ = Mode::Offsets;
}

}  // namespace kq::dw
