// Status texts with numbers, formatted printf-style.
#pragma once

#include <string>

#if defined(__GNUC__) || defined(__clang__)
#define CALVETH_PRINTF_FORMAT(formatIndex, firstArgument) \
  __attribute__((format(printf, formatIndex, firstArgument)))
#else
#define CALVETH_PRINTF_FORMAT(formatIndex, firstArgument)
#endif

namespace calveth {

std::string formatText(const char* format, ...) CALVETH_PRINTF_FORMAT(1, 2);

}  // namespace calveth
