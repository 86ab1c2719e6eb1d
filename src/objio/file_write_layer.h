// The file-writing layer: the few system operations by which files are written.
//
// Every file the program writes goes to a new temporary file beside its target and then
// replaces the target in one step (see safe_file_writer.h). Tests put a layer of their own
// here to make any single operation fail.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

namespace calveth {

class OutputFile {
 public:
  virtual ~OutputFile() = default;
  // False when not all bytes were written.
  virtual bool write(const char* data, std::size_t size) = 0;
  // Brings the data to the disk and closes the file; false when either fails. Called once.
  virtual bool close() = 0;
};

class FileWriteLayer {
 public:
  virtual ~FileWriteLayer() = default;
  // A new, empty file in the folder of `target` under a name of its own (stored in
  // `temporaryPath`), readable and writable as a plain new file would be; nullptr when it
  // cannot be created.
  virtual std::unique_ptr<OutputFile> createBeside(const std::string& target,
                                                   std::string& temporaryPath) = 0;
  // Renames `temporary` to `target` in one step, replacing what was there.
  virtual bool replace(const std::string& temporary, const std::string& target) = 0;
  virtual void remove(const std::string& path) = 0;
  // The system's text for the last failure of this layer.
  virtual std::string lastError() const = 0;
};

// The real file system.
FileWriteLayer& systemFileLayer();

}  // namespace calveth
