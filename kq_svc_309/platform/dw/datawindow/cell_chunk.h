#pragma once
// The 8-byte cells of up to RowStore::kChunkRows consecutive rows of one
// column. A chunk is written as a plain array; once full it is packed
// (pack()): a chunk whose cells are all one value keeps that value once, one
// with at most 256 distinct cells keeps each distinct cell once and a byte
// per row naming it; one whose cells, as signed numbers, lie within 2^32 of
// each other keeps the least and a 4-byte offset a row (only when packing is
// told that no reference to a cell is needed); others stay plain. get()
// reads any cell; at() gives a reference to the cell kept (texts in place
// are read through it), valid until the chunk is written or packed again,
// and is for chunks packed without offsets. Writing unpacks first.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace kq::dw {

class CellChunk {
 public:
  std::size_t size() const { return rows_; }

  uint64_t get(std::size_t i) const {
    switch (mode_) {
      case Mode::Plain: return cells_[i];
      case Mode::Coded: return cells_[codes_[i]];
      case Mode::Offsets: return cells_[0] + offsets_[i];
      case Mode::Constant: break;
    }
    return cells_[0];
  }
  const uint64_t& at(std::size_t i) const {
    switch (mode_) {
      case Mode::Plain: return cells_[i];
      case Mode::Coded: return cells_[codes_[i]];
      case Mode::Offsets:  // not packed so for callers of at()
      case Mode::Constant: break;
    }
    return cells_[0];
  }
  // The cell of row i for writing (the chunk becomes plain).
  uint64_t& write(std::size_t i) {
    if (mode_ != Mode::Plain) unpack();
    return cells_[i];
  }
  // Appends a row whose cell is 0 (inline: once per item of a retrieval).
  void push_zero(std::size_t reserve_rows) {
    if (mode_ != Mode::Plain) unpack();
    if (cells_.capacity() == 0 && reserve_rows > 0) cells_.reserve(reserve_rows);
    cells_.push_back(0);
    ++rows_;
  }
  // Packs the chunk as tightly as its cells allow; with `offsets` false
  // never as offsets (at() keeps working).
  void pack(bool offsets);

  std::size_t memory_bytes() const {
    return cells_.capacity() * sizeof(uint64_t) + codes_.capacity() + offsets_.capacity() * sizeof(uint32_t);
  }

 private:
  enum class Mode : uint8_t { Plain, Coded, Offsets, Constant };
  void unpack();
  void pack_offsets(bool offsets);

  std::vector<uint64_t> cells_;  // Plain: one a row; Coded: the distinct cells; Offsets, Constant: the least, the one cell
  std::vector<uint8_t> codes_;   // Coded: one a row, indexing cells_
  std::vector<uint32_t> offsets_;  // Offsets: one a row, added to cells_[0]
  uint32_t rows_ = 0;
  Mode mode_ = Mode::Plain;
};

}  // namespace kq::dw
