#include "objio/line_feed_search.h"

#include <bit>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace calveth {
namespace {

// Bit k set when block[k] is an LF.
std::uint64_t lineFeedMask(const char* block) {
#if defined(__SSE2__)
  const __m128i lineFeeds = _mm_set1_epi8('\n');
  std::uint64_t mask = 0;
  for (int part = 0; part < 4; ++part) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + 16 * part));
    const auto bits =
        static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, lineFeeds)));
    mask |= static_cast<std::uint64_t>(bits) << (16 * part);
  }
  return mask;
#else
  std::uint64_t mask = 0;
  for (std::size_t k = 0; k < kLineFeedBlock; ++k) {
    mask |= static_cast<std::uint64_t>(block[k] == '\n') << k;
  }
  return mask;
#endif
}

}  // namespace

std::size_t LineFeedSearch::find(const char* data, std::size_t from, std::size_t limit) {
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

}  // namespace calveth
