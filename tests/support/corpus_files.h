// The OBJ files of the shared corpus (files written by other tools), in a fixed order.
#pragma once

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

namespace calveth::testing {

inline std::vector<std::filesystem::path> corpusFiles() {
  std::vector<std::filesystem::path> files;
  std::error_code error;
  for (const auto& entry :
       std::filesystem::recursive_directory_iterator(CALVETH_CORPUS_DIR, error)) {
    if (entry.path().extension() == ".obj") {
      files.push_back(entry.path());
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace calveth::testing
