#include "objio/replace_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "objio/byte_source.h"

#ifndef _WIN32
#include <unistd.h>
#endif

namespace calveth {
namespace {

bool writeAll(std::FILE* file, std::string_view bytes) {
  if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
    return false;
  }
  if (std::fflush(file) != 0) {
    return false;
  }
#ifndef _WIN32
  // The rename below must not reach the disk before the data does.
  if (fsync(fileno(file)) != 0) {
    return false;
  }
#endif
  return true;
}

}  // namespace

bool replaceFileContents(const std::string& utf8Path, std::string_view bytes, std::string& error) {
  const std::string temporary = utf8Path + ".calveth-tmp";
  std::FILE* file = openFile(temporary, "wb");
  if (file == nullptr) {
    error = "cannot write " + utf8Path + ": " + std::strerror(errno);
    return false;
  }
  const bool written = writeAll(file, bytes);
  const int writeErrno = errno;
  const bool closed = std::fclose(file) == 0;
  std::error_code renameError;
  if (written && closed) {
    std::filesystem::rename(pathFromUtf8(temporary), pathFromUtf8(utf8Path), renameError);
    if (!renameError) {
      return true;
    }
    error = "cannot replace " + utf8Path + ": " + renameError.message();
  } else {
    error = "cannot write " + utf8Path + ": " + std::strerror(written ? errno : writeErrno);
  }
  std::error_code ignored;
  std::filesystem::remove(pathFromUtf8(temporary), ignored);
  return false;
}

}  // namespace calveth
