// SafeFileWriter: writes a whole file so that its target never holds a partial one.
//
// The bytes go through a fixed buffer into a temporary file beside the target; commit()
// brings them to the disk, closes the file and renames it over the target. Until then the
// target keeps its previous content, and a writer that is not committed (an error, an early
// return) removes its temporary file. The first failure is remembered: later writes do
// nothing and commit() reports it.
#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "objio/file_write_layer.h"

namespace calveth {

class SafeFileWriter {
 public:
  static constexpr std::size_t kBufferBytes = 64 * 1024;

  explicit SafeFileWriter(FileWriteLayer& layer = systemFileLayer()) : layer_(layer) {}
  ~SafeFileWriter() { abandon(); }
  SafeFileWriter(const SafeFileWriter&) = delete;
  SafeFileWriter& operator=(const SafeFileWriter&) = delete;

  // Starts the temporary file; false when the target is a folder or nothing can be created
  // beside it.
  bool open(const std::string& target);

  void write(std::string_view bytes);
  // Room for `size` bytes (at most kBufferBytes) to format into; finish with advance().
  char* room(std::size_t size) {
    if (kBufferBytes - used_ < size) {
      flush();
    }
    return buffer_.data() + used_;
  }
  void advance(char* end) { used_ = static_cast<std::size_t>(end - buffer_.data()); }

  // Writes what is buffered, closes and replaces the target; false on any failure, the
  // remembered one included, and the target is then untouched.
  bool commit();
  // Closes and removes the temporary file; the target stays as it was.
  void abandon();

  bool failed() const { return failed_; }
  // The system's text for the failure.
  const std::string& error() const { return error_; }

 private:
  void flush();
  void fail();

  FileWriteLayer& layer_;
  std::unique_ptr<OutputFile> file_;
  std::string target_;
  std::string temporary_;
  std::array<char, kBufferBytes> buffer_;
  std::size_t used_ = 0;
  bool failed_ = false;
  std::string error_;
};

// Writes `bytes` as the whole new content of the file; on failure `error` says why and the
// file is as it was.
bool replaceFileContents(const std::string& utf8Path, std::string_view bytes, std::string& error);

}  // namespace calveth
