// The line reader: delivers the lines of an OBJ text one at a time, in file order, from a
// file opened by path or from a block of memory.
//
// Line ends may be LF, CRLF or a lone CR, mixed within one file. Every physical line is
// delivered exactly once, a last line without a line end included, and lines may be of any
// length up to kMaxLineBytes (the buffer grows for a line longer than the chunk size). A
// delivered line keeps its LF or CRLF as in the file; a lone CR is delivered as LF. The view
// stays valid until the next call.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace calveth {

// ---- Byte sources --------------------------------------------------------------------------
//
// Bytes arrive exactly as stored (no line-end translation). read() fills up to n bytes and
// returns how many it gave; 0 means the end of the data or a read error (failed() tells).

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual std::size_t read(char* destination, std::size_t n) = 0;
  virtual bool failed() const { return false; }
};

class MemorySource final : public ByteSource {
 public:
  explicit MemorySource(std::string_view bytes) : bytes_(bytes) {}
  std::size_t read(char* destination, std::size_t n) override;

 private:
  std::string_view bytes_;
  std::size_t position_ = 0;
};

// Owns an open file and closes it on destruction. A path that names a directory, or that
// cannot be opened for reading, gives a source that is not open.
class FileSource final : public ByteSource {
 public:
  explicit FileSource(const std::string& utf8Path);
  ~FileSource() override;
  FileSource(const FileSource&) = delete;
  FileSource& operator=(const FileSource&) = delete;

  bool isOpen() const { return file_ != nullptr; }
  std::size_t read(char* destination, std::size_t n) override;
  bool failed() const override { return failed_; }

 private:
  std::FILE* file_ = nullptr;
  bool failed_ = false;
};

// A path from UTF-8 text, whatever the system's own encoding of paths.
std::filesystem::path pathFromUtf8(const std::string& utf8Path);
std::string utf8FromPath(const std::filesystem::path& path);

// Opens a file by a UTF-8 path with the C library's mode string ("rb", "wb"); on Windows the
// path is widened first so that non-ASCII names work there too.
std::FILE* openFile(const std::string& utf8Path, const char* mode);

// ---- Line-feed search ----------------------------------------------------------------------
//
// A typical OBJ line is 20 to 50 bytes long; searching each line's end with a library call
// costs more than the search itself. This search compares a whole 64-byte block at once and
// keeps the block's bit mask, so the lines inside one block cost a bit scan each.
//
// The buffer must be readable up to the end of the 64-byte block (counted from the buffer's
// start) that holds `limit`; bytes at or after `limit` are never reported.

inline constexpr std::size_t kLineFeedBlock = 64;

class LineFeedSearch {
 public:
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

  // The position of the first LF in data[from, limit), or kNone. The LFs after it in the
  // same block and before `limit` are kept for nextFound(), so that the next lines cost a bit
  // scan each. Inline: it runs once a block.
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
        later_ = mask & (mask - 1);
        return block + static_cast<std::size_t>(std::countr_zero(mask));
      }
      block += kLineFeedBlock;
    }
    return kNone;
  }

  // The next of the LFs that the last successful find() saw after the one it gave, or kNone.
  std::size_t nextFound() {
    if (later_ == 0) {
      return kNone;
    }
    const std::size_t lf = cachedBlock_ + static_cast<std::size_t>(std::countr_zero(later_));
    later_ &= later_ - 1;
    return lf;
  }

  // The buffer's bytes moved or changed: forget the cached block and what was found in it.
  void forget() {
    cachedBlock_ = kNone;
    later_ = 0;
  }

 private:
  // Bit k set when block[k] is an LF.
  static std::uint64_t lineFeedMask(const char* block);

  std::size_t cachedBlock_ = kNone;
  std::uint64_t cachedMask_ = 0;
  std::uint64_t later_ = 0;  // bit k: an LF at cachedBlock_ + k not yet given
};

// ---- Lines ---------------------------------------------------------------------------------

// Lines of this many bytes or more (line end included) count as long lines: information for
// the user only, since the reader handles them like any other.
inline constexpr std::size_t kLongLineBytes = 899;

// A line longer than this ends the reading as a read error does: no OBJ line comes near it,
// and holding it would take the memory of the whole machine (or end the program when there
// is none to be had).
inline constexpr std::size_t kMaxLineBytes = std::size_t{512} * 1024 * 1024;

// Told just before the reader drops or moves the bytes it holds to read on: the views of the
// lines delivered so far end there. Until then those lines lie one after another in memory,
// so a caller can use a run of them as one piece.
class DeliveredLinesWatch {
 public:
  virtual void beforeDrop() = 0;

 protected:
  ~DeliveredLinesWatch() = default;
};

class LineReader {
 public:
  static constexpr std::size_t kDefaultChunkBytes = 128 * 1024;

  explicit LineReader(ByteSource& source, std::size_t chunkBytes = kDefaultChunkBytes,
                      std::size_t maxLineBytes = kMaxLineBytes);
  ~LineReader();
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  // Gives the next line, or false at the end of the data. The common case, an LF ahead in
  // the buffer with no CR before it, is inline: it runs once a line.
  bool next(std::string_view& line) {
    if (const std::size_t lf = lineFeeds_.nextFound(); lf != LineFeedSearch::kNone) {
      line = take(lf + 1 - begin_);
      return true;
    }
    const std::size_t from = begin_ + scanned_;
    if (crKnown_ && nextCr_ >= from) {
      const std::size_t lf = lineFeeds_.find(buffer_, from, nextCr_);
      if (lf != LineFeedSearch::kNone) {
        line = take(lf + 1 - begin_);
        return true;
      }
    }
    return nextAfterRefillOrCr(line);
  }

  void watchDelivered(DeliveredLinesWatch* watch) { watch_ = watch; }

  bool sawLongLine() const { return sawLongLine_; }
  // True when the source reported a read error or a line was too long (or the memory for it
  // could not be had): reading ended there, after the last complete line.
  bool failed() const { return source_.failed() || lineTooLong_; }

 private:
  bool nextAfterRefillOrCr(std::string_view& line);
  bool refill();
  std::string_view take(std::size_t length) {
    const std::string_view line(buffer_ + begin_, length);
    begin_ += length;
    scanned_ = 0;
    sawLongLine_ = sawLongLine_ || length >= kLongLineBytes;
    return line;
  }

  ByteSource& source_;
  DeliveredLinesWatch* watch_ = nullptr;
  // Holds `capacity_` bytes of data, allocated up to a whole search block beyond. It is
  // grown with realloc, which reports a lack of memory by a null pointer: the reader then
  // fails like on a read error, in builds with exceptions and in builds without them alike.
  // Null when even the first chunk could not be had (then no line is delivered).
  char* buffer_ = nullptr;
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
