// The main dialog without a window: a command router over a fresh store, with a recording
// host and viewer, and a folder for the files its commands open and save.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "app/command_router.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

namespace calveth::testing {

struct Desk {
  std::unique_ptr<MeshStore> store = std::make_unique<MeshStore>();
  RecordingHost host;
  RecordingViewer viewer;
  TempDir dir;
  CommandRouter router;

  explicit Desk(FileWriteLayer& files = systemFileLayer()) : router(*store, host, viewer, files) {
    router.start();
  }

  // Writes `bytes` as the base file and presses "Open Base"; `autoDetect` answers the question.
  bool openBase(const std::string& bytes, bool autoDetect = false) {
    host.openFileAnswer = dir.write("base.obj", bytes);
    host.yesNoAnswer = autoDetect;
    return router.press(ControlId::OpenBase);
  }

  bool openMt(const std::string& bytes, const std::string& name = "mt.obj") {
    host.openFileAnswer = dir.write(name, bytes);
    return router.press(ControlId::OpenMt);
  }

  // Presses "&Save MT" with the save choice answered by `path`; returns the saved file's bytes.
  std::string save(const std::string& path) {
    host.saveFileAnswer = path;
    router.press(ControlId::SaveMt);
    return readFile(path);
  }

  std::string status() const { return host.lastStatus(); }
};

}  // namespace calveth::testing
