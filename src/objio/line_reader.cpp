#include "objio/line_reader.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <system_error>

#include "objio/reading_variants.h"
#include "objio/vector_instructions.h"

#if CALVETH_SIMD
#include <emmintrin.h>
#endif

namespace calveth {

std::size_t MemorySource::read(char* destination, std::size_t n) {
  const std::size_t count = std::min(n, bytes_.size() - position_);
  if (count > 0) {
    std::memcpy(destination, bytes_.data() + position_, count);
  }
  position_ += count;
  return count;
}

std::filesystem::path pathFromUtf8(const std::string& utf8Path) {
  return std::filesystem::path(std::u8string(utf8Path.begin(), utf8Path.end()));
}

std::string utf8FromPath(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

std::FILE* openFile(const std::string& utf8Path, const char* mode) {
#ifdef _WIN32
  const std::filesystem::path path = pathFromUtf8(utf8Path);
  const std::wstring wideMode(mode, mode + std::strlen(mode));
  return _wfopen(path.c_str(), wideMode.c_str());
#else
  return std::fopen(utf8Path.c_str(), mode);
#endif
}

FileSource::FileSource(const std::string& utf8Path) {
  // A directory opens as a stream on some systems and then fails on the first read; refuse
  // it here so that it is reported like any other file that cannot be opened.
  std::error_code error;
  if (std::filesystem::is_directory(pathFromUtf8(utf8Path), error)) {
    return;
  }
  file_ = openFile(utf8Path, "rb");
}

FileSource::~FileSource() {
  if (file_ != nullptr) {
    std::fclose(file_);
  }
}

std::size_t FileSource::read(char* destination, std::size_t n) {
  if (file_ == nullptr) {
    return 0;
  }
  const std::size_t count = std::fread(destination, 1, n, file_);
  if (count < n && std::ferror(file_) != 0) {
    failed_ = true;
  }
  return count;
}

std::uint64_t lineFeedMaskReference(const char* block) {
  std::uint64_t mask = 0;
  for (std::size_t k = 0; k < kLineFeedBlock; ++k) {
    mask |= static_cast<std::uint64_t>(block[k] == '\n') << k;
  }
  return mask;
}

#if CALVETH_SIMD
std::uint64_t lineFeedMaskSse2(const char* block) {
  const __m128i lineFeeds = _mm_set1_epi8('\n');
  std::uint64_t mask = 0;
  for (int part = 0; part < 4; ++part) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + 16 * part));
    const auto bits =
        static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, lineFeeds)));
    mask |= static_cast<std::uint64_t>(bits) << (16 * part);
  }
  return mask;
}
#endif

std::span<const ReadingVariant<LineFeedMaskFunction>> lineFeedMaskReadings() {
  static constexpr ReadingVariant<LineFeedMaskFunction> kReadings[] = {
    {"lineFeedMaskReference", &lineFeedMaskReference, nullptr},
#if CALVETH_SIMD
    {"lineFeedMaskSse2", &lineFeedMaskSse2, nullptr},
#else
    {"lineFeedMaskSse2", nullptr, "not built here (x86-64 with CALVETH_SIMD only)"},
#endif
  };
  return kReadings;
}

std::uint64_t LineFeedSearch::lineFeedMask(const char* block) {
#if CALVETH_SIMD
  return lineFeedMaskSse2(block);
#else
  return lineFeedMaskReference(block);
#endif
}

namespace {

std::size_t withSearchBlock(std::size_t capacity) {
  return capacity - capacity % kLineFeedBlock + 2 * kLineFeedBlock;
}

}  // namespace

LineReader::LineReader(ByteSource& source, std::size_t chunkBytes, std::size_t maxLineBytes)
    : source_(source),
      capacity_(std::max<std::size_t>(chunkBytes, 1)),
      maxLineBytes_(maxLineBytes) {
  // Zeroed, so that the search block beyond the data never reads unset bytes.
  buffer_ = static_cast<char*>(std::calloc(withSearchBlock(capacity_), 1));
  if (buffer_ == nullptr) {
    capacity_ = 0;
    end_ = 0;
    atEnd_ = true;
    lineTooLong_ = true;
  }
}

LineReader::~LineReader() { std::free(buffer_); }

bool LineReader::refill() {
  if (buffer_ == nullptr) {
    return false;
  }
  if (watch_ != nullptr) {
    watch_->beforeDrop();  // the bytes below move now, or the whole buffer with realloc
  }
  if (begin_ > 0) {
    std::memmove(buffer_, buffer_ + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
  }
  if (end_ == capacity_) {
    // The buffer is full of one unfinished line.
    if (capacity_ >= maxLineBytes_) {
      lineTooLong_ = true;
      return false;
    }
    const std::size_t grown = withSearchBlock(capacity_ * 2);
    void* const larger = std::realloc(buffer_, grown);
    if (larger == nullptr) {
      lineTooLong_ = true;  // the buffer held so far stays valid and is freed as usual
      return false;
    }
    buffer_ = static_cast<char*>(larger);
    // Set bytes beyond the data, as in the first chunk (the line-feed search reads them).
    std::memset(buffer_ + capacity_, 0, grown - capacity_);
    capacity_ *= 2;
  }
  const std::size_t count = source_.read(buffer_ + end_, capacity_ - end_);
  end_ += count;
  crKnown_ = false;
  lineFeeds_.forget();
  return count > 0;
}

bool LineReader::nextAfterRefillOrCr(std::string_view& line) {
  if (buffer_ == nullptr) {
    return false;
  }
  for (;;) {
    char* const data = buffer_;
    const std::size_t from = begin_ + scanned_;
    // Most files hold no CR at all: one search per buffer fill finds that out, after which
    // only the LF search runs per line.
    if (!crKnown_ || nextCr_ < from) {
      const void* cr = std::memchr(data + from, '\r', end_ - from);
      nextCr_ =
          cr != nullptr ? static_cast<std::size_t>(static_cast<const char*>(cr) - data) : end_;
      crKnown_ = true;
    }
    const std::size_t lf = lineFeeds_.find(data, from, nextCr_);
    if (lf != LineFeedSearch::kNone) {
      line = take(lf + 1 - begin_);
      return true;
    }
    if (nextCr_ < end_) {
      if (nextCr_ + 1 < end_ && data[nextCr_ + 1] == '\n') {
        line = take(nextCr_ + 2 - begin_);
        return true;
      }
      if (nextCr_ + 1 < end_ || atEnd_) {
        data[nextCr_] = '\n';  // a lone CR ends its line like an LF
        line = take(nextCr_ + 1 - begin_);
        return true;
      }
      // The CR is the last byte held: the next byte decides between CRLF and a lone CR.
      scanned_ = nextCr_ - begin_;
    } else {
      scanned_ = end_ - begin_;
      if (atEnd_) {
        if (begin_ == end_) {
          return false;
        }
        line = take(end_ - begin_);
        return true;
      }
    }
    if (!refill()) {
      atEnd_ = true;
      if (failed()) {
        // A line cut short by a read error is not a line, now or on a later call.
        begin_ = end_;
        scanned_ = 0;
        return false;
      }
    }
  }
}

}  // namespace calveth
