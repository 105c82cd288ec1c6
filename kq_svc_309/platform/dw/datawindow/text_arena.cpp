#include "platform/dw/datawindow/text_arena.h"

#include <algorithm>
#include <bit>
#include <functional>

namespace kq::dw {

namespace {
constexpr uint64_t kInlineFlag = 1ull << 63;
static_assert(std::endian::native == std::endian::little, "texts in place are read as the low bytes of the cell");
}  // namespace

uint64_t TextArena::in_place(std::string_view s) {
  if (s.size() > kInlineMax) return 0;
  uint64_t cell = kInlineFlag | (static_cast<uint64_t>(s.size()) << 56);
  for (std::size_t i = 0; i < s.size(); ++i) cell |= static_cast<uint64_t>(static_cast<unsigned char>(s[i])) << (8 * i);
  return cell;
}

uint64_t TextArena::add(std::string_view s) {
  if (s.size() <= kInlineMax) return in_place(s);
  if (s.size() > kBig || unique_) return store(s);
  if (looked_ == kRecentMax && found_ * 16 < looked_) {
    unique_ = true;
    recent_.clear();
    recent_.shrink_to_fit();
    return store(s);
  }
  // The table of recent texts has about a slot for every four texts stored,
  // between 16 and kRecentMax; growing starts it empty.
  const std::size_t want = std::clamp<std::size_t>(std::bit_ceil(stored_ / 4 + 1), 16, kRecentMax);
  if (recent_.size() < want) recent_.assign(want, 0);
  const std::size_t slot = std::hash<std::string_view>{}(s) & (recent_.size() - 1);
  ++looked_;
  if (recent_[slot] != 0 && view(recent_[slot]) == s) {
    ++found_;
    return recent_[slot];
  }
  return recent_[slot] = store(s);
}

uint64_t TextArena::store(std::string_view s) {
  ++stored_;
  if (s.size() > kBig) {
    big_.emplace_back(s);
    return (kBigLength << 32) | static_cast<uint64_t>(big_.size() - 1);
  }
  if (blocks_.empty() || blocks_.back().size() + s.size() > kBlock) {
    blocks_.emplace_back();
    if (blocks_.size() > 1) blocks_.back().reserve(kBlock);
  }
  std::vector<char>& b = blocks_.back();
  if (b.capacity() < b.size() + s.size()) {
    std::size_t want = std::max(b.size() + s.size(), std::min(kBlock, b.capacity() * 2 + 64));
    b.reserve(want);
  }
  uint64_t offset = (blocks_.size() - 1) * kBlock + b.size();
  b.insert(b.end(), s.begin(), s.end());
  return (static_cast<uint64_t>(s.size()) << 32) | offset;
}

std::string_view TextArena::view(const uint64_t& cell) const {
  if (cell & kInlineFlag) {
    std::size_t n = (cell >> 56) & 0x7;
    // The characters are the low bytes of the cell (little-endian).
    return std::string_view(reinterpret_cast<const char*>(&cell), n);
  }
  uint64_t length = (cell >> 32) & 0x7FFFFFFF;
  uint64_t offset = cell & 0xFFFFFFFF;
  if (length == kBigLength) return big_[offset];
  return std::string_view(blocks_[offset / kBlock].data() + offset % kBlock, length);
}

void TextArena::clear() {
  blocks_.clear();
  blocks_.shrink_to_fit();
  big_.clear();
  big_.shrink_to_fit();
  recent_.clear();
  recent_.shrink_to_fit();
  stored_ = looked_ = found_ = 0;
  unique_ = false;
}

std::size_t TextArena::memory_bytes() const {
  std::size_t n = blocks_.capacity() * sizeof(std::vector<char>);
  for (const auto& b : blocks_) n += b.capacity();
  for (const auto& s : big_) n += s.capacity() + sizeof(std::string);
  return n + recent_.capacity() * sizeof(uint64_t);
}

}  // namespace kq::dw
