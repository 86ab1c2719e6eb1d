// Availability: which controls of the main dialog can be pressed, and which switches are
// checked, as a function of what the commands have left in the session.
//
// The router keeps one SessionState, moves it on with every step of a command (nextState) and
// tells the host what changed (changesFor). Nothing here touches a host or a file, so the whole
// table can be checked by value.
#pragma once

#include <vector>

#include "ports/control_id.h"

namespace calveth {

// The generating commands, in the dialog's tab order.
inline constexpr ControlId kOperationButtons[] = {ControlId::MirrorRightToLeft,
                                                  ControlId::MirrorLeftToRight,
                                                  ControlId::Swap,
                                                  ControlId::ResetLeft,
                                                  ControlId::ResetRight,
                                                  ControlId::MinusDelta,
                                                  ControlId::PlusDelta,
                                                  ControlId::Melt};

// Every control whose state the router decides, in the order the program has always shown
// them at start.
inline constexpr ControlId kRoutedControls[] = {ControlId::OpenBase,
                                                ControlId::OpenMt,
                                                ControlId::Exit,
                                                ControlId::Viewer,
                                                ControlId::MirrorRightToLeft,
                                                ControlId::MirrorLeftToRight,
                                                ControlId::Swap,
                                                ControlId::ResetLeft,
                                                ControlId::ResetRight,
                                                ControlId::MinusDelta,
                                                ControlId::PlusDelta,
                                                ControlId::Melt,
                                                ControlId::SaveMt,
                                                ControlId::VertexOnly,
                                                ControlId::ReflectedBase};

// What the last "Open Base" left.
enum class BaseState {
  None,           // no base file chosen yet
  Chosen,         // a file was chosen and is being read and analysed
  Refused,        // the file did not open or was refused; the earlier base stays loaded
  Usable,         // the mirror map can be used
  WithoutMirror,  // fewer than 2 vertices paired: only the "R" preview is offered
  SamePointHit,   // two or more vertices share a point
};

// What the last "&Open MT" decided; a new base or MT file takes it back to None.
enum class MtState { None, Refused, Full, Half };

struct SessionState {
  BaseState base = BaseState::None;
  MtState mt = MtState::None;
  // Some MT file was read to its decision: "vertex only (for MT)" stays usable from then on.
  bool mtJudged = false;
  // The WorkTarget holds a result that "&Save MT" may write: a generating command's, or the
  // mirrored base while "R" is on. A new base or MT file takes it away.
  bool generated = false;
  bool reflectedOn = false;  // the "R" switch is pressed in (it keeps that look when disabled)
  bool vertexOnly = true;    // "vertex only (for MT)" is checked
  // The analysed base has faces and some vertex without a partner or with several: "Pair the
  // rest by the mesh" can run. Running it, or choosing another base, takes it away.
  bool meshPairingOffered = false;
};

// The steps by which a session moves on: a command's step on the way or its outcome, or a
// click on one of the two switches.
enum class SessionStep {
  Start,
  BaseChosen,
  BaseRefused,
  BaseUsable,
  BaseWithoutMirror,
  BaseSamePointHit,
  MtChosen,
  MtOpened,
  MtRefused,
  MtFull,
  MtHalf,
  Generated,
  ReflectedSwitched,  // the click flips "R" before the preview runs
  ReflectedShown,
  ReflectedWithdrawn,
  VertexOnlySwitched,  // the click flips the switch before the command sees it
  VertexOnlyKept,      // the MT has no face lines to copy: the switch goes back to checked
  MeshPairingOffered,  // the analysis left something for pairing by the mesh
  MeshPaired,          // pairing by the mesh ran (a base it made usable then steps BaseUsable)
};

SessionState nextState(SessionState state, SessionStep step);

bool isEnabledIn(const SessionState& state, ControlId control);
bool isCheckedIn(const SessionState& state, ControlId control);

// "Pair the rest by the mesh", which is no control of the dialog (the viewer's menu offers it).
inline bool meshPairingAvailableIn(const SessionState& state) { return state.meshPairingOffered; }

struct ControlChange {
  ControlId control;
  bool checkState;  // false: the enabled state
  bool on;
  bool operator==(const ControlChange&) const = default;
};

// What the host is told after `step` took the session from `before` to `after`: the controls
// the step decides, in the order the dialog has always set them and even when their state
// stays (a host that shows them again loses nothing, and a recorded run stays the same), then
// any other control whose state changed.
std::vector<ControlChange> changesFor(const SessionState& before, const SessionState& after,
                                      SessionStep step);

}  // namespace calveth
