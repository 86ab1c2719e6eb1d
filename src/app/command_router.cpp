#include "app/command_router.h"

#include "morph/delta_ops.h"
#include "morph/mirror_swap.h"
#include "morph/open_mt.h"
#include "morph/reset_melt.h"
#include "morph/save_mt.h"
#include "ports/command_steps.h"
#include "symmetry/pair_by_mesh.h"
#include "viewer/reflected_base.h"

namespace calveth {

// Turns the steps a command tells on its way into session steps, shown at once.
class CommandRouter::StepRelay final : public CommandSteps {
 public:
  explicit StepRelay(CommandRouter& router) : router_(router) {}
  void reached(CommandStep step) override {
    switch (step) {
      case CommandStep::BaseFileChosen:
        router_.step(SessionStep::BaseChosen);
        break;
      case CommandStep::MtFileChosen:
        router_.step(SessionStep::MtChosen);
        break;
      case CommandStep::MtFileOpened:
        router_.step(SessionStep::MtOpened);
        break;
    }
  }

 private:
  CommandRouter& router_;
};

CommandRouter::CommandRouter(MeshStore& store, Host& host, ViewerPort& viewer,
                             FileWriteLayer& files)
    : store_(store), host_(host), viewer_(viewer), files_(files), scratch_(new BaseScratch) {}

CommandRouter::~CommandRouter() = default;

void CommandRouter::start() { step(SessionStep::Start); }

void CommandRouter::step(SessionStep step) {
  const SessionState before = state_;
  state_ = nextState(state_, step);
  for (const ControlChange& change : changesFor(before, state_, step)) {
    if (change.checkState) {
      host_.setChecked(change.control, change.on);
    } else {
      host_.setEnabled(change.control, change.on);
    }
  }
}

void CommandRouter::generated(bool filled) {
  if (filled) {
    step(SessionStep::Generated);
  }
}

namespace {

// A generating command: true when it filled the WorkTarget.
using GeneratingCommand = bool (*)(MeshStore&, Host&, ViewerPort&);

struct RoutedCommand {
  ControlId control;
  GeneratingCommand run;
};

constexpr RoutedCommand kGeneratingCommands[] = {
    {ControlId::MirrorLeftToRight, MirrorLeftToRight},
    {ControlId::MirrorRightToLeft, MirrorRightToLeft},
    {ControlId::Swap, SwapSides},
    {ControlId::MinusDelta, MinusDelta},
    {ControlId::PlusDelta, PlusDelta},
    {ControlId::ResetLeft, ResetLeft},
    {ControlId::ResetRight, ResetRight},
    {ControlId::Melt, MeltMt},
};

SessionStep stepOf(BaseOutcome outcome) {
  switch (outcome) {
    case BaseOutcome::Usable:
      return SessionStep::BaseUsable;
    case BaseOutcome::WithoutMirror:
      return SessionStep::BaseWithoutMirror;
    case BaseOutcome::SamePointHit:
      return SessionStep::BaseSamePointHit;
    default:
      return SessionStep::BaseRefused;
  }
}

}  // namespace

bool CommandRouter::press(ControlId control) {
  if (!isEnabled(control)) {
    return false;
  }
  for (const RoutedCommand& command : kGeneratingCommands) {
    if (command.control == control) {
      generated(command.run(store_, host_, viewer_));
      return true;
    }
  }
  StepRelay relay(*this);
  switch (control) {
    case ControlId::OpenBase: {
      const BaseOutcome outcome = OpenBase(store_, *scratch_, host_, viewer_, relay);
      if (outcome != BaseOutcome::Cancelled) {
        step(stepOf(outcome));
      }
      if (outcome != BaseOutcome::Cancelled && outcome != BaseOutcome::Refused &&
          meshPairingApplies(store_)) {
        step(SessionStep::MeshPairingOffered);
      }
      return true;
    }
    case ControlId::OpenMt:
      switch (OpenMt(store_, host_, viewer_, relay)) {
        case MtOutcome::Full:
          step(SessionStep::MtFull);
          break;
        case MtOutcome::Half:
          step(SessionStep::MtHalf);
          break;
        case MtOutcome::Refused:
          step(SessionStep::MtRefused);
          break;
        default:
          break;  // cancelled, or not read to a decision
      }
      return true;
    case ControlId::SaveMt:
      SaveMt(store_, host_, state_.vertexOnly, files_);
      return true;
    case ControlId::VertexOnly:
      step(SessionStep::VertexOnlySwitched);
      if (VertexOnlyClicked(store_, host_)) {
        step(SessionStep::VertexOnlyKept);
      }
      return true;
    case ControlId::ReflectedBase:
      // A push-like check box: its look flips with every click, whatever the command does.
      step(SessionStep::ReflectedSwitched);
      switch (ToggleReflectedBase(store_, viewer_, reflectPreview_)) {
        case ReflectedPreview::Shown:
          step(SessionStep::ReflectedShown);
          break;
        case ReflectedPreview::Withdrawn:
          step(SessionStep::ReflectedWithdrawn);
          break;
        case ReflectedPreview::NoBase:
          break;
      }
      return true;
    default:
      return false;  // "&G", the slider and "e&Xit" belong to the front end
  }
}

bool CommandRouter::pairByMesh() {
  if (!canPairByMesh()) {
    return false;
  }
  const MeshPairingOutcome outcome = PairByMesh(store_, scratch_->meshPairs, host_, viewer_);
  step(SessionStep::MeshPaired);
  if (outcome.base == BaseOutcome::Usable && state_.base != BaseState::Usable) {
    step(SessionStep::BaseUsable);
  }
  return true;
}

}  // namespace calveth
