#include "objio/line_reader.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace calveth {

namespace {

std::size_t withSearchBlock(std::size_t capacity) {
  return capacity - capacity % kLineFeedBlock + 2 * kLineFeedBlock;
}

}  // namespace

LineReader::LineReader(ByteSource& source, std::size_t chunkBytes, std::size_t maxLineBytes)
    : source_(source),
      buffer_(withSearchBlock(std::max<std::size_t>(chunkBytes, 1))),
      capacity_(std::max<std::size_t>(chunkBytes, 1)),
      maxLineBytes_(maxLineBytes) {}

bool LineReader::refill() {
  if (begin_ > 0) {
    std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
  }
  if (end_ == capacity_) {
    // The buffer is full of one unfinished line.
    if (capacity_ >= maxLineBytes_) {
      lineTooLong_ = true;
      return false;
    }
    try {
      buffer_.resize(withSearchBlock(capacity_ * 2));
    } catch (const std::bad_alloc&) {
      lineTooLong_ = true;
      return false;
    }
    capacity_ *= 2;
  }
  const std::size_t count = source_.read(buffer_.data() + end_, capacity_ - end_);
  end_ += count;
  crKnown_ = false;
  lineFeeds_.forget();
  return count > 0;
}

bool LineReader::nextAfterRefillOrCr(std::string_view& line) {
  for (;;) {
    char* const data = buffer_.data();
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
