// The groups of controls that commands make available or withdraw together.
#pragma once

#include "ports/control_id.h"
#include "ports/host.h"

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

// A new base or MT file was chosen: every generating command and "&Save MT" wait for the next
// accepted MT. "-" and "+" go too, since they would compute from an MT that no longer matches
// the base.
inline void withdrawGenerating(Host& host) {
  for (ControlId control : kOperationButtons) {
    host.setEnabled(control, false);
  }
  host.setEnabled(ControlId::SaveMt, false);
}

}  // namespace calveth
