// The Host of the command line: file choices and the question are answered from the
// arguments, warnings go to the error stream. Status texts are either printed as they come
// (echo on) or collected for the caller to print after each command.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <utility>

#include "ports/host.h"

namespace calveth {

class CliHost final : public Host {
 public:
  CliHost(std::ostream& out, std::ostream& err, bool echoStatus = true)
      : out_(out), err_(err), echoStatus_(echoStatus) {}

  // Each answer serves one file choice, as a dialog is shown once per command.
  void answerOpenFile(std::string path) { openFile_ = std::move(path); }
  void answerSaveFile(std::string path) { saveFile_ = std::move(path); }
  // The save choice takes the proposed name inside this folder.
  void answerSaveIntoFolder(std::string folder) { saveFolder_ = std::move(folder); }
  void answerQuestion(bool yes) { answer_ = yes; }

  const std::string& lastStatus() const { return lastStatus_; }
  // The path that the last save choice returned.
  const std::string& lastSavePath() const { return lastSavePath_; }
  // The last status text set since the previous call, if any.
  std::optional<std::string> takeStatus() { return std::exchange(pending_, std::nullopt); }

  void setStatusText(std::string_view text) override;
  void setEnabled(ControlId, bool) override {}
  void setChecked(ControlId, bool) override {}
  void setProgressRange(int, int) override {}
  void setProgressPosition(int) override {}
  void repaintNow() override {}
  std::optional<std::string> chooseOpenFile(const FileChoice& choice) override;
  std::optional<std::string> chooseSaveFile(const FileChoice& choice) override;
  bool askYesNo(std::string_view question) override;
  void warn(std::string_view text) override;

 private:
  std::ostream& out_;
  std::ostream& err_;
  bool echoStatus_;
  std::optional<std::string> openFile_;
  std::optional<std::string> saveFile_;
  std::optional<std::string> saveFolder_;
  bool answer_ = true;
  std::string lastStatus_;
  std::string lastSavePath_;
  std::optional<std::string> pending_;
};

// The absolute, lexically normal form of a path, as a file dialog returns it.
std::string dialogPath(const std::string& utf8Path);

}  // namespace calveth
