#include "objio/byte_source.h"

#include <cstring>
#include <filesystem>
#include <system_error>

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

}  // namespace calveth
