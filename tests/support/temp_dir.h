// A fresh folder under the system's temporary folder, removed with everything in it.
#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace calveth::testing {

class TempDir {
 public:
  TempDir() {
    std::random_device entropy;
    path_ = std::filesystem::temp_directory_path() /
            ("calveth-test-" + std::to_string(entropy()) + std::to_string(entropy()));
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // The path of `name` (UTF-8, '/' between folders) in this folder, in UTF-8 with the
  // system's own separators, as a file dialog gives it.
  std::string file(const std::string& name) const {
    std::filesystem::path path = path_ / utf8Path(name);
    const std::u8string text = path.make_preferred().u8string();
    return std::string(text.begin(), text.end());
  }

  std::string write(const std::string& name, const std::string& bytes) const {
    const std::string path = file(name);
    std::ofstream(utf8Path(path), std::ios::binary) << bytes;
    return path;
  }

  // A path from UTF-8 text: a narrow string would be read in the ANSI code page on Windows.
  static std::filesystem::path utf8Path(const std::string& text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
  }

 private:
  std::filesystem::path path_;
};

inline std::string readFile(const std::string& path) {
  std::ifstream in(TempDir::utf8Path(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace calveth::testing
