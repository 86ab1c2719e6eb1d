#include "objio/line_feed_search.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace calveth {

std::uint64_t LineFeedSearch::lineFeedMask(const char* block) {
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

}  // namespace calveth
