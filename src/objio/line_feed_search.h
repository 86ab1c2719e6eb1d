// Finds line feeds 64 bytes at a time.
//
// A typical OBJ line is 20 to 50 bytes long; searching each line's end with a library call
// costs more than the search itself. This search compares a whole 64-byte block at once and
// keeps the block's bit mask, so the lines inside one block cost a bit scan each.
//
// The buffer must be readable up to the end of the 64-byte block (counted from the buffer's
// start) that holds `limit`; bytes at or after `limit` are never reported.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

namespace calveth {

inline constexpr std::size_t kLineFeedBlock = 64;

class LineFeedSearch {
 public:
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

  // The position of the first LF in data[from, limit), or kNone. Inline: it runs once a line.
  std::size_t find(const char* data, std::size_t from, std::size_t limit) {
    std::size_t block = from - from % kLineFeedBlock;
    while (block < limit) {
      if (block != cachedBlock_) {
        cachedBlock_ = block;
        cachedMask_ = lineFeedMask(data + block);
      }
      std::uint64_t mask = cachedMask_;
      if (from > block) {
        mask &= ~std::uint64_t{0} << (from - block);
      }
      if (limit - block < kLineFeedBlock) {
        mask &= (std::uint64_t{1} << (limit - block)) - 1;
      }
      if (mask != 0) {
        return block + static_cast<std::size_t>(std::countr_zero(mask));
      }
      block += kLineFeedBlock;
    }
    return kNone;
  }

  // The buffer's bytes moved or changed: forget the cached block.
  void forget() { cachedBlock_ = kNone; }

 private:
  // Bit k set when block[k] is an LF.
  static std::uint64_t lineFeedMask(const char* block);

  std::size_t cachedBlock_ = kNone;
  std::uint64_t cachedMask_ = 0;
};

}  // namespace calveth
