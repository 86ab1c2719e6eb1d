// WebHost: the commands' host over the page's script.
//
// Every call goes to the page object the script installed (Module.page). Choosing a file and
// the question wait for the user: the module is built with Asyncify, so the command is
// suspended while the page awaits the answer and resumes with it, as a modal dialog would.
#pragma once

#include "ports/control_id.h"
#include "ports/host.h"

namespace calveth {

class WebHost final : public Host {
 public:
  // The control whose command runs now: the page keeps the files of "Open Base" and of
  // "&Open MT" apart, so that a new base leaves the MT that "&Save MT" copies faces from.
  void setRunningControl(ControlId control) { running_ = control; }

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

 private:
  ControlId running_ = ControlId::OpenBase;
};

}  // namespace calveth
