#include "objio/safe_file_writer.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <utility>

#include "objio/line_reader.h"

// On Windows the file-writing layer is the Windows API's (src/windows/win32_file_layer.cpp):
// exclusive creation and flushing to the disk are not reliably there through the C library.
#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace calveth {

#ifndef _WIN32
namespace {

class SystemOutputFile final : public OutputFile {
 public:
  explicit SystemOutputFile(std::FILE* file, std::string& error) : file_(file), error_(error) {}
  ~SystemOutputFile() override {
    if (file_ != nullptr) {
      std::fclose(file_);
    }
  }

  bool write(const char* data, std::size_t size) override {
    if (std::fwrite(data, 1, size, file_) == size) {
      return true;
    }
    error_ = std::strerror(errno);
    return false;
  }

  bool close() override {
    bool ok = std::fflush(file_) == 0;
    // The rename that follows must not reach the disk before the data does.
    ok = ok && fsync(fileno(file_)) == 0;
    if (!ok) {
      error_ = std::strerror(errno);
    }
    if (std::fclose(std::exchange(file_, nullptr)) != 0 && ok) {
      error_ = std::strerror(errno);
      ok = false;
    }
    return ok;
  }

 private:
  std::FILE* file_;
  std::string& error_;
};

// The permissions that open() with 0666 gives under the process's umask.
mode_t plainFileMode() {
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

class SystemFileLayer final : public FileWriteLayer {
 public:
  std::unique_ptr<OutputFile> createBeside(const std::string& target,
                                           std::string& temporaryPath) override {
    const std::filesystem::path path = pathFromUtf8(target);
    const std::string parent = utf8FromPath(path.parent_path());
    const std::string folder = parent.empty() ? std::string(".") : parent;
    const std::string name = utf8FromPath(path.filename());
    std::FILE* file = nullptr;
    std::string pattern = folder + "/." + name + ".calveth-XXXXXX";
    const int descriptor = mkstemp(pattern.data());
    if (descriptor >= 0) {
      // mkstemp makes the file private; the saved file gets what a plain new file would.
      if (fchmod(descriptor, plainFileMode()) != 0 ||
          (file = fdopen(descriptor, "wb")) == nullptr) {
        error_ = std::strerror(errno);
        ::close(descriptor);
        std::remove(pattern.c_str());
        return nullptr;
      }
      temporaryPath = pattern;
    }
    if (file == nullptr) {
      error_ = std::strerror(errno);
      return nullptr;
    }
    return std::make_unique<SystemOutputFile>(file, error_);
  }

  // faccessat answers as open() would for this process, but root passes it whatever the
  // permissions say; a file without any write bit is refused for root too, as the mark a
  // user sets with chmod a-w.
  bool refusesWriting(const std::string& target) override {
    struct stat info {};
    if (stat(target.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
      return false;
    }
    if (faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
      error_ = std::strerror(errno);
      return true;
    }
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
      error_ = std::strerror(EACCES);
      return true;
    }
    return false;
  }

  bool replace(const std::string& temporary, const std::string& target) override {
    std::error_code failure;
    std::filesystem::rename(pathFromUtf8(temporary), pathFromUtf8(target), failure);
    if (failure) {
      error_ = failure.message();
      return false;
    }
    return true;
  }

  void remove(const std::string& path) override {
    std::error_code ignored;
    std::filesystem::remove(pathFromUtf8(path), ignored);
  }

  std::string lastError() const override { return error_; }

 private:
  std::string error_;
};

}  // namespace

FileWriteLayer& systemFileLayer() {
  static SystemFileLayer layer;
  return layer;
}
#endif  // _WIN32

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
  if (layer_.refusesWriting(target)) {
    fail();
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
