#include "objio/safe_file_writer.h"

#include <cstring>
#include <filesystem>
#include <system_error>

#include "objio/byte_source.h"

namespace calveth {

bool SafeFileWriter::open(const std::string& target) {
  abandon();
  failed_ = false;
  error_.clear();
  used_ = 0;
  std::error_code ignored;
  if (std::filesystem::is_directory(pathFromUtf8(target), ignored)) {
    error_ = "is a folder";
    failed_ = true;
    return false;
  }
  target_ = target;
  file_ = layer_.createBeside(target, temporary_);
  if (!file_) {
    fail();
    return false;
  }
  return true;
}

void SafeFileWriter::write(std::string_view bytes) {
  while (!bytes.empty()) {
    const std::size_t chunk = bytes.size() < kBufferBytes ? bytes.size() : kBufferBytes;
    char* at = room(chunk);
    std::memcpy(at, bytes.data(), chunk);
    advance(at + chunk);
    bytes.remove_prefix(chunk);
  }
}

void SafeFileWriter::flush() {
  if (!failed_ && file_ && used_ > 0 && !file_->write(buffer_.data(), used_)) {
    fail();
  }
  used_ = 0;
}

void SafeFileWriter::fail() {
  if (!failed_) {
    failed_ = true;
    error_ = layer_.lastError();
  }
}

bool SafeFileWriter::commit() {
  if (!file_) {
    return false;
  }
  flush();
  if (!failed_ && !file_->close()) {
    fail();
  }
  file_.reset();
  if (!failed_ && !layer_.replace(temporary_, target_)) {
    fail();
  }
  if (failed_) {
    layer_.remove(temporary_);
  }
  temporary_.clear();
  return !failed_;
}

void SafeFileWriter::abandon() {
  if (file_) {
    file_.reset();  // closes without bringing anything to the disk
    layer_.remove(temporary_);
    temporary_.clear();
  }
  used_ = 0;
}

bool replaceFileContents(const std::string& utf8Path, std::string_view bytes, std::string& error) {
  SafeFileWriter writer;
  if (writer.open(utf8Path)) {
    writer.write(bytes);
    if (writer.commit()) {
      return true;
    }
  }
  error = "cannot write " + utf8Path + ": " + writer.error();
  return false;
}

}  // namespace calveth
