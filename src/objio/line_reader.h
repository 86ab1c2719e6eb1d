// LineReader: delivers the lines of an OBJ text one at a time, in file order.
//
// Line ends may be LF, CRLF or a lone CR, mixed within one file. Every physical line is
// delivered exactly once, a last line without a line end included, and lines may be of any
// length up to kMaxLineBytes (the buffer grows for a line longer than the chunk size). A delivered
// line keeps its LF or CRLF as in the file; a lone CR is delivered as LF. The view stays valid
// until the next call.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "objio/byte_source.h"
#include "objio/line_feed_search.h"

namespace calveth {

// Lines of this many bytes or more (line end included) count as long lines: information for
// the user only, since the reader handles them like any other.
inline constexpr std::size_t kLongLineBytes = 899;

// A line longer than this ends the reading as a read error does: no OBJ line comes near it,
// and holding it would take the memory of the whole machine (or end the program when there
// is none to be had).
inline constexpr std::size_t kMaxLineBytes = std::size_t{512} * 1024 * 1024;

class LineReader {
 public:
  static constexpr std::size_t kDefaultChunkBytes = 128 * 1024;

  explicit LineReader(ByteSource& source, std::size_t chunkBytes = kDefaultChunkBytes,
                      std::size_t maxLineBytes = kMaxLineBytes);

  // Gives the next line, or false at the end of the data. The common case, an LF ahead in
  // the buffer with no CR before it, is inline: it runs once a line.
  bool next(std::string_view& line) {
    const std::size_t from = begin_ + scanned_;
    if (crKnown_ && nextCr_ >= from) {
      const std::size_t lf = lineFeeds_.find(buffer_.data(), from, nextCr_);
      if (lf != LineFeedSearch::kNone) {
        line = take(lf + 1 - begin_);
        return true;
      }
    }
    return nextAfterRefillOrCr(line);
  }

  bool sawLongLine() const { return sawLongLine_; }
  // True when the source reported a read error or a line was too long (or the memory for it
  // could not be had): reading ended there, after the last complete line.
  bool failed() const { return source_.failed() || lineTooLong_; }

 private:
  bool nextAfterRefillOrCr(std::string_view& line);
  bool refill();
  std::string_view take(std::size_t length) {
    const std::string_view line(buffer_.data() + begin_, length);
    begin_ += length;
    scanned_ = 0;
    sawLongLine_ = sawLongLine_ || length >= kLongLineBytes;
    return line;
  }

  ByteSource& source_;
  // Holds `capacity_` bytes of data, allocated up to a whole search block beyond.
  std::vector<char> buffer_;
  std::size_t capacity_;
  std::size_t maxLineBytes_;
  LineFeedSearch lineFeeds_;
  std::size_t begin_ = 0;    // first byte of the next line
  std::size_t end_ = 0;      // end of the bytes held
  std::size_t scanned_ = 0;  // bytes from begin_ on known to hold no line end
  std::size_t nextCr_ = 0;   // position of the next CR at or after the scan, or end_
  bool crKnown_ = false;     // nextCr_ is valid for the bytes held
  bool atEnd_ = false;
  bool sawLongLine_ = false;
  bool lineTooLong_ = false;
};

}  // namespace calveth
