#include "app/availability.h"

#include <algorithm>
#include <initializer_list>
#include <iterator>

namespace calveth {
namespace {

bool isOperation(ControlId control) {
  return std::find(std::begin(kOperationButtons), std::end(kOperationButtons), control) !=
         std::end(kOperationButtons);
}

// The controls a step sets, enabled state first, then checked state.
struct Decided {
  std::vector<ControlId> enabled;
  std::vector<ControlId> checked;
};

std::vector<ControlId> operationsAnd(std::initializer_list<ControlId> more) {
  std::vector<ControlId> controls(std::begin(kOperationButtons), std::end(kOperationButtons));
  controls.insert(controls.end(), more);
  return controls;
}

Decided decidedBy(SessionStep step) {
  switch (step) {
    case SessionStep::Start:
      return {{std::begin(kRoutedControls), std::end(kRoutedControls)}, {ControlId::VertexOnly}};
    case SessionStep::BaseChosen:
      return {operationsAnd({ControlId::SaveMt, ControlId::ReflectedBase}), {}};
    case SessionStep::BaseUsable:
      return {{ControlId::OpenMt}, {}};
    case SessionStep::BaseWithoutMirror:
      return {{ControlId::ReflectedBase}, {}};
    case SessionStep::MtChosen:
      return {operationsAnd({ControlId::SaveMt}), {}};
    case SessionStep::MtOpened:
    case SessionStep::VertexOnlySwitched:
    case SessionStep::VertexOnlyKept:
      return {{}, {ControlId::VertexOnly}};
    case SessionStep::MtRefused:
      return {{ControlId::VertexOnly}, {}};
    case SessionStep::MtFull:
      return {operationsAnd({ControlId::VertexOnly}), {}};
    case SessionStep::MtHalf:
      return {{ControlId::Swap, ControlId::VertexOnly}, {}};
    case SessionStep::Generated:
    case SessionStep::ReflectedShown:
    case SessionStep::ReflectedWithdrawn:
      return {{ControlId::SaveMt}, {}};
    case SessionStep::ReflectedSwitched:
      return {{}, {ControlId::ReflectedBase}};
    case SessionStep::BaseRefused:
    case SessionStep::BaseSamePointHit:
    case SessionStep::MeshPairingOffered:
    case SessionStep::MeshPaired:
      break;
  }
  return {};
}

}  // namespace

SessionState nextState(SessionState state, SessionStep step) {
  switch (step) {
    case SessionStep::Start:
      return SessionState{};
    case SessionStep::BaseChosen:
      state.base = BaseState::Chosen;
      state.mt = MtState::None;
      state.generated = false;
      state.meshPairingOffered = false;
      break;
    case SessionStep::BaseRefused:
      state.base = BaseState::Refused;
      break;
    case SessionStep::BaseUsable:
      state.base = BaseState::Usable;
      break;
    case SessionStep::BaseWithoutMirror:
      state.base = BaseState::WithoutMirror;
      break;
    case SessionStep::BaseSamePointHit:
      state.base = BaseState::SamePointHit;
      break;
    case SessionStep::MtChosen:
      state.mt = MtState::None;
      state.generated = false;
      break;
    case SessionStep::MtOpened:
    case SessionStep::VertexOnlyKept:
      state.vertexOnly = true;
      break;
    case SessionStep::MtRefused:
      state.mt = MtState::Refused;
      state.mtJudged = true;
      break;
    case SessionStep::MtFull:
      state.mt = MtState::Full;
      state.mtJudged = true;
      break;
    case SessionStep::MtHalf:
      state.mt = MtState::Half;
      state.mtJudged = true;
      break;
    case SessionStep::Generated:
    case SessionStep::ReflectedShown:
      state.generated = true;
      break;
    case SessionStep::ReflectedWithdrawn:
      state.generated = false;
      break;
    case SessionStep::ReflectedSwitched:
      state.reflectedOn = !state.reflectedOn;
      break;
    case SessionStep::VertexOnlySwitched:
      state.vertexOnly = !state.vertexOnly;
      break;
    case SessionStep::MeshPairingOffered:
      state.meshPairingOffered = true;
      break;
    case SessionStep::MeshPaired:
      state.meshPairingOffered = false;
      break;
  }
  return state;
}

bool isEnabledIn(const SessionState& state, ControlId control) {
  switch (control) {
    case ControlId::OpenBase:
    case ControlId::OpenMt:
    case ControlId::Exit:
    case ControlId::Viewer:
      return true;
    case ControlId::SaveMt:
      return state.generated;
    case ControlId::VertexOnly:
      return state.mtJudged;
    case ControlId::ReflectedBase:
      return state.base == BaseState::WithoutMirror;
    case ControlId::Swap:
      return state.mt == MtState::Full || state.mt == MtState::Half;
    default:
      return isOperation(control) && state.mt == MtState::Full;
  }
}

bool isCheckedIn(const SessionState& state, ControlId control) {
  switch (control) {
    case ControlId::VertexOnly:
      return state.vertexOnly;
    case ControlId::ReflectedBase:
      return state.reflectedOn;
    default:
      return false;  // "&G" shows the viewer window, which the front end owns
  }
}

std::vector<ControlChange> changesFor(const SessionState& before, const SessionState& after,
                                      SessionStep step) {
  const Decided decided = decidedBy(step);
  std::vector<ControlChange> changes;
  const auto contains = [](const std::vector<ControlId>& controls, ControlId control) {
    return std::find(controls.begin(), controls.end(), control) != controls.end();
  };
  for (ControlId control : decided.enabled) {
    changes.push_back({control, false, isEnabledIn(after, control)});
  }
  for (ControlId control : decided.checked) {
    changes.push_back({control, true, isCheckedIn(after, control)});
  }
  for (ControlId control : kRoutedControls) {
    if (!contains(decided.enabled, control) &&
        isEnabledIn(before, control) != isEnabledIn(after, control)) {
      changes.push_back({control, false, isEnabledIn(after, control)});
    }
    if (!contains(decided.checked, control) &&
        isCheckedIn(before, control) != isCheckedIn(after, control)) {
      changes.push_back({control, true, isCheckedIn(after, control)});
    }
  }
  return changes;
}

}  // namespace calveth
