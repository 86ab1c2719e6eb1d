// The file-writing layer on Windows (systemFileLayer() there) and its one step that tests
// need on its own: creating a file only where none exists.
#pragma once

#include <memory>
#include <string>

#include "objio/safe_file_writer.h"

namespace calveth {

// Creates the file at the UTF-8 `path` for writing, only if there is no file of that name
// (CREATE_NEW): an existing file is never opened, let alone truncated. nullptr when it
// cannot be created; then `existed` tells whether that was because the name is taken, and
// `error` holds the system's text.
std::unique_ptr<OutputFile> createNewFile(const std::string& path, bool& existed,
                                          std::string& error);

}  // namespace calveth
