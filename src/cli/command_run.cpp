#include "cli/command_run.h"

namespace calveth {

CommandRun::CommandRun(MeshStore& store, ViewerPort& viewer, std::ostream& out, std::ostream& err,
                       StatusLines lines)
    : out_(out),
      lines_(lines),
      host_(out, err, lines == StatusLines::EveryText),
      router_(store, host_, viewer) {
  router_.start();
}

std::optional<std::string> CommandRun::press(ControlId control) {
  std::optional<std::string> status;
  bool printed = lines_ == StatusLines::EveryText;
  if (!router_.press(control)) {
    status = "ERR: Function is not available";
    printed = false;  // no command ran, so the host showed nothing
  } else {
    status = host_.takeStatus();
  }
  if (status) {
    if (!printed) {
      out_ << *status << '\n';
    }
    allOk_ = allOk_ && status->starts_with("OK");
  }
  return status;
}

}  // namespace calveth
