// Crash-safe writing of a whole file.
//
// The bytes go to a temporary file beside the target, which is flushed to the disk and then
// renamed over the target: at any moment the target holds either its previous content or the
// complete new one. On failure the temporary file is removed and the error text names the
// file and the system's reason.
#pragma once

#include <string>
#include <string_view>

namespace calveth {

bool replaceFileContents(const std::string& utf8Path, std::string_view bytes, std::string& error);

}  // namespace calveth
