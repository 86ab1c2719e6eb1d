// The crash-safe writer: every file the program writes goes to a new temporary file beside
// its target and then replaces the target in one step, so that the target holds either its
// previous content or the whole new file.
//
// The system operations it needs form the file-writing layer (FileWriteLayer): the real file
// system here, another one on another system, and layers of their own in tests that make any
// single operation fail.
#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace calveth {

// ---- The file-writing layer ----------------------------------------------------------------

class OutputFile {
 public:
  virtual ~OutputFile() = default;
  // False when not all bytes were written.
  virtual bool write(const char* data, std::size_t size) = 0;
  // Brings the data to the disk and closes the file; false when either fails. Called once.
  virtual bool close() = 0;
};

class FileWriteLayer {
 public:
  virtual ~FileWriteLayer() = default;
  // A new, empty file in the folder of `target` under a name of its own (stored in
  // `temporaryPath`), readable and writable as a plain new file would be; nullptr when it
  // cannot be created.
  virtual std::unique_ptr<OutputFile> createBeside(const std::string& target,
                                                   std::string& temporaryPath) = 0;
  // True when `target` is an existing file that an open for writing would refuse (no write
  // permission, the read-only mark). Replacing a file by renaming over it needs only the
  // folder's permission, so a read-only target has to be looked at before it is replaced.
  virtual bool refusesWriting(const std::string& target) = 0;
  // Renames `temporary` to `target` in one step, replacing what was there.
  virtual bool replace(const std::string& temporary, const std::string& target) = 0;
  virtual void remove(const std::string& path) = 0;
  // The system's text for the last failure of this layer.
  virtual std::string lastError() const = 0;
};

// The real file system.
FileWriteLayer& systemFileLayer();

// ---- SafeFileWriter ------------------------------------------------------------------------
//
// The bytes go through a fixed buffer into a temporary file beside the target; commit()
// brings them to the disk, closes the file and renames it over the target. Until then the
// target keeps its previous content, and a writer that is not committed (an error, an early
// return) removes its temporary file. The first failure is remembered: later writes do
// nothing and commit() reports it.

class SafeFileWriter {
 public:
  static constexpr std::size_t kBufferBytes = 64 * 1024;

  explicit SafeFileWriter(FileWriteLayer& layer = systemFileLayer()) : layer_(layer) {}
  ~SafeFileWriter() { abandon(); }
  SafeFileWriter(const SafeFileWriter&) = delete;
  SafeFileWriter& operator=(const SafeFileWriter&) = delete;

  // Starts the temporary file; false when the target is a folder, a file that refuses
  // writing, or nothing can be created beside it.
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
