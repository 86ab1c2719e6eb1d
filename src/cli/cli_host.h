// The Host of the command line: file choices and the question are answered from the
// arguments, status texts are printed as lines, warnings go to the error stream.
#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "app/host.h"

namespace calveth {

class CliHost final : public Host {
 public:
  CliHost(std::ostream& out, std::ostream& err) : out_(out), err_(err) {}

  void answerOpenFile(std::string path) { openFile_ = std::move(path); }
  void answerQuestion(bool yes) { answer_ = yes; }
  const std::string& lastStatus() const { return lastStatus_; }

  void setStatusText(std::string_view text) override;
  void setEnabled(ControlId, bool) override {}
  void setProgressRange(int, int) override {}
  void setProgressPosition(int) override {}
  void repaintNow() override {}
  std::optional<std::string> chooseOpenFile(const FileChoice& choice) override;
  bool askYesNo(std::string_view question) override;
  void warn(std::string_view text) override;

 private:
  std::ostream& out_;
  std::ostream& err_;
  std::optional<std::string> openFile_;
  bool answer_ = true;
  std::string lastStatus_;
};

}  // namespace calveth
