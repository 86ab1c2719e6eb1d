// The file-writing layer on Windows, through the Windows API itself: the C library's
// exclusive-creation flag ("wx") is not honoured by every runtime the programs meet (Wine's
// msvcrt truncates an existing file), and only the API can ask for the data to reach the
// disk before the rename.
//
// - the temporary file ".<name>.calveth-XXXXXX" beside the target is created with CREATE_NEW,
//   which fails when the name exists, so another file is never taken over;
// - close() flushes the file's buffers to the disk (FlushFileBuffers) before closing;
// - a target with the read-only mark is refused before anything is written (refusesWriting);
// - replace() renames over the target in one step (MoveFileExW with REPLACE_EXISTING and
//   WRITE_THROUGH). A target that another program holds open refuses the rename: the
//   target keeps its content and the temporary file is removed by the writer.
#include "windows/win32_file_layer.h"

#include <windows.h>

#include <random>
#include <string>

#include "windows/wide_text.h"

namespace calveth {
namespace {

std::string systemMessage(DWORD code) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<wchar_t*>(&buffer),
      0, nullptr);
  std::string text = length > 0 ? utf8FromWide({buffer, length}) : std::string();
  LocalFree(buffer);
  while (!text.empty() &&
         (text.back() == '\n' || text.back() == '\r' || text.back() == ' ' || text.back() == '.')) {
    text.pop_back();
  }
  return text.empty() ? "system error " + std::to_string(code) : text;
}

class HandleOutputFile final : public OutputFile {
 public:
  HandleOutputFile(HANDLE handle, std::string& error) : handle_(handle), error_(error) {}
  ~HandleOutputFile() override {
    if (handle_ != INVALID_HANDLE_VALUE) {
      CloseHandle(handle_);
    }
  }
  HandleOutputFile(const HandleOutputFile&) = delete;
  HandleOutputFile& operator=(const HandleOutputFile&) = delete;

  bool write(const char* data, std::size_t size) override {
    while (size > 0) {
      const DWORD chunk = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
      DWORD written = 0;
      if (!WriteFile(handle_, data, chunk, &written, nullptr) || written == 0) {
        error_ = systemMessage(GetLastError());
        return false;
      }
      data += written;
      size -= written;
    }
    return true;
  }

  bool close() override {
    // The rename that follows must not reach the disk before the data does.
    bool ok = FlushFileBuffers(handle_) != 0;
    if (!ok) {
      error_ = systemMessage(GetLastError());
    }
    const HANDLE handle = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    if (!CloseHandle(handle) && ok) {
      error_ = systemMessage(GetLastError());
      ok = false;
    }
    return ok;
  }

 private:
  HANDLE handle_;
  std::string& error_;
};

// Six letters or digits, as the POSIX writer's mkstemp gives.
std::string randomSuffix(std::mt19937& random) {
  static constexpr char kAlphabet[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  std::uniform_int_distribution<int> pick(0, static_cast<int>(sizeof kAlphabet) - 2);
  std::string suffix;
  for (int k = 0; k < 6; ++k) {
    suffix += kAlphabet[pick(random)];
  }
  return suffix;
}

}  // namespace

std::unique_ptr<OutputFile> createNewFile(const std::string& path, bool& existed,
                                          std::string& error) {
  const HANDLE handle = CreateFileW(wideFromUtf8(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    const DWORD code = GetLastError();
    existed = code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS;
    error = systemMessage(code);
    return nullptr;
  }
  existed = false;
  return std::make_unique<HandleOutputFile>(handle, error);
}

namespace {

class Win32FileLayer final : public FileWriteLayer {
 public:
  std::unique_ptr<OutputFile> createBeside(const std::string& target,
                                           std::string& temporaryPath) override {
    // The folder part ends at the last separator; "C:" alone is a drive's current folder.
    const std::size_t split = target.find_last_of("\\/:");
    const std::string folder =
        split == std::string::npos ? std::string(".\\") : target.substr(0, split + 1);
    const std::string name = split == std::string::npos ? target : target.substr(split + 1);
    std::random_device entropy;
    std::mt19937 random(entropy() ^ GetCurrentProcessId() ^ GetTickCount());
    // A name that is taken is another file's: try another.
    for (int attempt = 0; attempt < 100; ++attempt) {
      const std::string candidate = folder + "." + name + ".calveth-" + randomSuffix(random);
      bool existed = false;
      if (auto file = createNewFile(candidate, existed, error_)) {
        temporaryPath = candidate;
        return file;
      }
      if (!existed) {
        return nullptr;
      }
    }
    return nullptr;
  }

  // Windows refuses to open a file with the read-only mark for writing, but a rename over it
  // succeeds under Wine and takes the mark away, so the mark is looked at first.
  bool refusesWriting(const std::string& target) override {
    const DWORD attributes = GetFileAttributesW(wideFromUtf8(target).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ||
        (attributes & FILE_ATTRIBUTE_READONLY) == 0) {
      return false;
    }
    error_ = systemMessage(ERROR_ACCESS_DENIED);
    return true;
  }

  bool replace(const std::string& temporary, const std::string& target) override {
    if (!MoveFileExW(wideFromUtf8(temporary).c_str(), wideFromUtf8(target).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      error_ = systemMessage(GetLastError());
      return false;
    }
    return true;
  }

  void remove(const std::string& path) override { DeleteFileW(wideFromUtf8(path).c_str()); }

  std::string lastError() const override { return error_; }

 private:
  std::string error_;
};

}  // namespace

FileWriteLayer& systemFileLayer() {
  static Win32FileLayer layer;
  return layer;
}

}  // namespace calveth
