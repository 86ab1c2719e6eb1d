// Byte sources for the line reader: a file opened by path in binary mode, or a block of memory.
//
// Bytes arrive exactly as stored (no line-end translation). read() fills up to n bytes and
// returns how many it gave; 0 means the end of the data or a read error (failed() tells).
#pragma once

#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace calveth {

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

}  // namespace calveth
