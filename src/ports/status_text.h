// Status texts with numbers, formatted printf-style.
#pragma once

#include <string>
#include <utility>

#include "ports/host.h"
#include "store/mesh_store.h"

#if defined(__GNUC__) || defined(__clang__)
#define CALVETH_PRINTF_FORMAT(formatIndex, firstArgument) \
  __attribute__((format(printf, formatIndex, firstArgument)))
#else
#define CALVETH_PRINTF_FORMAT(formatIndex, firstArgument)
#endif

namespace calveth {

std::string formatText(const char* format, ...) CALVETH_PRINTF_FORMAT(1, 2);

// Shows a command's text in the status line; the host keeps it, nothing else reads it.
inline void showStatus(Host& host, std::string_view text) { host.setStatusText(text); }

}  // namespace calveth
