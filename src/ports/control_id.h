// The ids of the main dialog's controls, by which commands enable, disable and read them.
#pragma once

namespace calveth {

enum class ControlId : int {
  Exit = 1,
  MinusDelta = 3,
  SaveMt = 4,
  OpenBase = 5,
  MirrorLeftToRight = 6,
  MirrorRightToLeft = 7,
  PlusDelta = 8,
  OpenMt = 9,
  Swap = 10,
  ResetLeft = 11,
  ResetRight = 12,
  Melt = 13,
  StatusLine = 1001,
  ReflectedBase = 1002,  // the "R" switch
  VertexOnly = 1003,     // "vertex only (for MT)"
  Viewer = 1005,         // "&G"
  ViewAngleSlider = 1006,
  Progress = 1007,
};

}  // namespace calveth
