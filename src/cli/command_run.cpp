#include "cli/command_run.h"

#include "symmetry/pair_by_mesh.h"

namespace calveth {

CommandRun::CommandRun(MeshStore& store, ViewerPort& viewer, std::ostream& out, std::ostream& err,
                       StatusLines lines)
    : store_(store),
      out_(out),
      lines_(lines),
      host_(out, err, lines == StatusLines::EveryText),
      router_(store, host_, viewer) {
  router_.start();
}

std::optional<std::string> CommandRun::press(ControlId control) {
  std::optional<std::string> status;
  bool printed = lines_ == StatusLines::EveryText;
  if (control == ControlId::OpenBase) {
    allOkBeforeBase_ = allOk_;
  }
  if (!router_.press(control)) {
    status = "ERR: Function is not available";
    printed = false;  // no command ran, so the host showed nothing
  } else {
    status = host_.takeStatus();
  }
  if (status) {
    print(*status, printed);
  }
  return status;
}

std::optional<std::string> CommandRun::pairByMesh() {
  const BaseState base = router_.session().base;
  if (base != BaseState::Usable && base != BaseState::SamePointHit &&
      base != BaseState::WithoutMirror) {
    return std::nullopt;
  }
  std::optional<std::string> status;
  bool printed = lines_ == StatusLines::EveryText;
  if (router_.pairByMesh()) {
    status = host_.takeStatus();
  } else {
    // Nothing to pair, or no faces to pair by: the stage's line all the same.
    status = meshPairingStatus({0, unpairedVertexCount(store_)});
    printed = false;
  }
  if (!status) {
    return status;
  }
  if (router_.session().base == BaseState::Usable) {
    allOk_ = allOkBeforeBase_;  // the base's own text no longer stands
  }
  print(*status, printed);
  return status;
}

void CommandRun::print(const std::string& status, bool printed) {
  if (!printed) {
    out_ << status << '\n';
  }
  allOk_ = allOk_ && status.starts_with("OK");
}

}  // namespace calveth
