#include "cli/cli_host.h"

#include <utility>

namespace calveth {

void CliHost::setStatusText(std::string_view text) {
  lastStatus_ = text;
  out_ << text << '\n';
}

std::optional<std::string> CliHost::chooseOpenFile(const FileChoice&) {
  // Each answer serves one choice, as a dialog would be shown once per command.
  return std::exchange(openFile_, std::nullopt);
}

bool CliHost::askYesNo(std::string_view) { return answer_; }

void CliHost::warn(std::string_view text) { err_ << "warning: " << text << '\n'; }

}  // namespace calveth
