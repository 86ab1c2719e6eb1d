#include "cli/command_run.h"

namespace calveth {

CommandRun::CommandRun(MeshStore& store, ViewerPort& viewer, std::ostream& out, std::ostream& err)
    : out_(out), host_(out, err, false), router_(store, host_, viewer) {
  router_.start();
}

std::optional<std::string> CommandRun::press(ControlId control) {
  std::optional<std::string> status;
  if (!router_.press(control)) {
    status = "ERR: Function is not available";
  } else {
    status = host_.takeStatus();
  }
  if (status) {
    out_ << *status << '\n';
    allOk_ = allOk_ && status->starts_with("OK");
  }
  return status;
}

}  // namespace calveth
