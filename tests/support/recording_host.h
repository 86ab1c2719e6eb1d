// A Host and a ViewerPort that record every call, with answers set by the test.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ports/host.h"
#include "ports/viewer_port.h"

namespace calveth::testing {

class RecordingHost final : public Host {
 public:
  std::optional<std::string> openFileAnswer;
  std::optional<std::string> saveFileAnswer;
  bool yesNoAnswer = true;

  // "status <text>", "enable <id> <0|1>", "check <id> <0|1>", "range <low> <high>",
  // "repaint", "ask <text>", "open <filter> <name> <ext>", "save <filter> <name> <ext>",
  // "warn <text>"; progress moves are kept apart.
  std::vector<std::string> events;
  std::vector<int> progressMoves;
  int questions = 0;

  std::string lastStatus() const;
  std::vector<std::string> statuses() const;
  // The enabled state last set for a control, or nothing when the command left it alone.
  std::optional<bool> enabled(ControlId control) const;

  void setStatusText(std::string_view text) override;
  void setEnabled(ControlId control, bool enabled) override;
  void setChecked(ControlId control, bool checked) override;
  void setProgressRange(int low, int high) override;
  void setProgressPosition(int position) override;
  void repaintNow() override;
  std::optional<std::string> chooseOpenFile(const FileChoice& choice) override;
  std::optional<std::string> chooseSaveFile(const FileChoice& choice) override;
  bool askYesNo(std::string_view question) override;
  void warn(std::string_view text) override;
};

struct ViewerCall {
  const double* x;
  int vertexCount;
  int faceCount;
};

class RecordingViewer final : public ViewerPort {
 public:
  std::vector<ViewerCall> calls;
  void refresh(const ViewerInput& input) override {
    calls.push_back({input.x, input.vertexCount, input.faceCount});
  }
};

}  // namespace calveth::testing
