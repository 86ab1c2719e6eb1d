// CommandRouter: the main dialog's commands and the rules by which they become available.
//
// A front end shows the controls and passes each click on. The router keeps the session's
// state (what the last base, MT and generating command left), moves it on with every step and
// outcome of a command, and tells the host the enabled and checked states that follow from it
// (app/availability.h). It runs a command only while its control is enabled: availability is
// the one guard, the commands do not check their own preconditions. Opening and closing the
// viewer ("&G"), the view-angle slider and "e&Xit" belong to the front end.
#pragma once

#include <memory>

#include "app/availability.h"
#include "objio/safe_file_writer.h"
#include "ports/control_id.h"
#include "ports/host.h"
#include "ports/viewer_port.h"
#include "store/mesh_store.h"
#include "symmetry/open_base.h"

namespace calveth {

class CommandRouter {
 public:
  CommandRouter(MeshStore& store, Host& host, ViewerPort& viewer,
                FileWriteLayer& files = systemFileLayer());
  ~CommandRouter();
  CommandRouter(const CommandRouter&) = delete;
  CommandRouter& operator=(const CommandRouter&) = delete;

  // Puts every control into its state at program start and shows it through the host.
  void start();

  // A click on a control. A check box toggles first, as the platform does before the command
  // sees the click. Returns false, and does nothing, when the control is disabled or is not a
  // command of the router.
  bool press(ControlId control);

  // "Pair the rest by the mesh" on the analysed base, when it is offered (the base has faces
  // and some vertex without a partner or with several): the status line, the viewer and the
  // session move on as after "Open Base", a base it made usable as a usable one. Returns false,
  // and does nothing, when it is not offered.
  bool pairByMesh();
  bool canPairByMesh() const { return meshPairingAvailableIn(state_); }

  bool isEnabled(ControlId control) const { return isEnabledIn(state_, control); }
  bool isChecked(ControlId control) const { return isCheckedIn(state_, control); }
  const SessionState& session() const { return state_; }
  // 1 while the "R" preview shows the mirrored base.
  int reflectPreview() const { return reflectPreview_; }

 private:
  class StepRelay;

  // Moves the session on and tells the host what follows from it.
  void step(SessionStep step);
  void generated(bool filled);

  MeshStore& store_;
  Host& host_;
  ViewerPort& viewer_;
  FileWriteLayer& files_;
  std::unique_ptr<BaseScratch> scratch_;
  SessionState state_;
  int reflectPreview_ = 0;
};

}  // namespace calveth
