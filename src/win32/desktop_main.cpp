// The Windows desktop program: the common controls, the store and the tone, the main dialog
// run until it ends, and the program ends with it (the viewer window closes with the
// dialog). Nothing is read from or written to the registry or any settings file.
#include <windows.h>
// Needs windows.h before it.
#include <commctrl.h>

#include <memory>

#include "store/mesh_store.h"
#include "win32/beep_tone.h"
#include "win32/desktop_dialog.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX controls{sizeof controls,
                                ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  // Several megabytes of fixed arrays: on the heap, not the stack.
  const auto store = std::make_unique<calveth::MeshStore>();
  calveth::BeepTone tone;
  {
    calveth::DesktopDialog dialog(*store, tone);
    if (dialog.create()) {
      dialog.run();
    }
  }
  return 0;
}
