// Whether some bytes are a whole file as "&Save MT" writes it, for checks that cannot know
// every coordinate: never a file cut short or a mix of two.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace calveth::testing {

// A CR or LF in the title or the path is written as '?', so that each stays on its line.
inline std::string headerText(std::string_view text) {
  std::string line(text);
  for (char& c : line) {
    c = c == '\n' || c == '\r' ? '?' : c;
  }
  return line;
}

inline std::string mtFileHeader(std::string_view title, std::string_view path) {
  return "# Convert by TOLV\n# Original name: " + headerText(title) +
         "\n# Convert  name: " + headerText(path) + "\n";
}

// The header naming `title` and `path`, `count` "v" lines, the count line and, after the copy
// pass, the copied lines closed by "#".
inline bool isWholeMtFile(std::string_view bytes, std::string_view title, std::string_view path,
                          std::uint32_t count, bool copyPass) {
  const std::string header = mtFileHeader(title, path);
  if (!bytes.starts_with(header)) {
    return false;
  }
  std::size_t at = header.size();
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::size_t end = bytes.find('\n', at);
    if (bytes.compare(at, 2, "v ") != 0 || end == std::string_view::npos) {
      return false;
    }
    at = end + 1;
  }
  const std::string countLine = "# vertex num is " + std::to_string(count) + "\n";
  if (bytes.compare(at, countLine.size(), countLine) != 0) {
    return false;
  }
  at += countLine.size();
  return copyPass ? bytes.size() >= at + 2 && bytes.ends_with("\n#\n") : at == bytes.size();
}

}  // namespace calveth::testing
