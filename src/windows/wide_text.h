// UTF-8, the core's text, and UTF-16, the text of the Windows API, converted both ways.
#pragma once

#include <string>
#include <string_view>

namespace calveth {

// A UTF-16 text as UTF-8. An unpaired surrogate (which no valid UTF-16 text holds, but a
// file name may) becomes U+FFFD, so the result is always valid UTF-8.
std::string utf8FromWide(std::wstring_view wide);

// A UTF-8 text as UTF-16. Invalid bytes become U+FFFD.
std::wstring wideFromUtf8(std::string_view utf8);

}  // namespace calveth
