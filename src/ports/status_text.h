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

// Puts a text into `statusMessage` and shows it in the status line.
inline void showStatus(MeshStore& store, Host& host, std::string text) {
  store.statusMessage = std::move(text);
  host.setStatusText(store.statusMessage);
}

}  // namespace calveth
