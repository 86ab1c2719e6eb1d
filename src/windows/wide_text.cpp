#include "windows/wide_text.h"

#include <windows.h>

#include <climits>

namespace calveth {

std::string utf8FromWide(std::wstring_view wide) {
  if (wide.empty() || wide.size() > INT_MAX) {
    return {};
  }
  const int length = static_cast<int>(wide.size());
  const int bytes =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
  std::string text(bytes > 0 ? static_cast<std::size_t>(bytes) : 0, '\0');
  if (bytes > 0) {
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, text.data(), bytes, nullptr, nullptr);
  }
  return text;
}

std::wstring wideFromUtf8(std::string_view utf8) {
  if (utf8.empty() || utf8.size() > INT_MAX) {
    return {};
  }
  const int length = static_cast<int>(utf8.size());
  const int units = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0);
  std::wstring text(units > 0 ? static_cast<std::size_t>(units) : 0, L'\0');
  if (units > 0) {
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, text.data(), units);
  }
  return text;
}

}  // namespace calveth
