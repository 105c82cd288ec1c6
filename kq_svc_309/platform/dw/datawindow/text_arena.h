#pragma once
// Texts of one column packed into 8-byte cells: up to 7 bytes in the cell
// itself, longer ones appended to the arena (blocks of 32 KiB, so growing
// never copies what is stored) and referred to by offset and length. Texts
// are never removed; a changed item appends its new text.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kq::dw {

class TextArena {
 public:
  // The cell standing for `s` (storing its bytes when they do not fit in place).
  uint64_t add(std::string_view s);
  // The cell add() gives `s` when it fits in place (then every text equal
  // to `s`, and no other, has this cell); 0 when it does not fit.
  static uint64_t in_place(std::string_view s);
  // The text of a cell made by add() of this arena; valid until clear().
  std::string_view view(const uint64_t& cell) const;
  void clear();
  std::size_t memory_bytes() const;

  static constexpr std::size_t kInlineMax = 7;

 private:
  static constexpr std::size_t kBlock = 32 * 1024;
  static constexpr std::size_t kBig = kBlock / 4;  // longer texts get a string of their own
  static constexpr uint64_t kBigLength = 0x7FFFFFFF;
  static constexpr std::size_t kRecentMax = 4096;
  uint64_t store(std::string_view s);
  std::vector<std::vector<char>> blocks_;
  std::vector<std::string> big_;
  std::vector<uint64_t> recent_;  // cells by hash of their text; 0 = empty
  std::size_t stored_ = 0;        // texts stored out of place
  std::size_t looked_ = 0, found_ = 0;
  bool unique_ = false;           // texts seldom repeat: no more looking
};

}  // namespace kq::dw
