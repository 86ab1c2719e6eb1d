// The "Wire Flame Viewer" window on Windows: a top-level window of its own beside the main
// dialog, always on top, with a title bar but no system menu, so no close, minimise or
// maximise box. 420 by 420 pixels outside, at the place it is opened at.
//
// The viewer paints through GDI into a picture the window keeps; WM_PAINT shows that
// picture, so the window never shows a blank area after being uncovered or moved.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "viewer/wire_viewer.h"
#include "win32/gdi_canvas.h"

namespace calveth {

class Win32ViewerWindow {
 public:
  // Opens the window with its outer top-left corner at `place` and paints the viewer's last
  // projection into it. `closedBySystem` runs when the window system asks the window to
  // close (Alt+F4, the task bar): the owner then treats it as "&G".
  Win32ViewerWindow(WireViewer& viewer, POINT place, std::function<void()> closedBySystem);
  ~Win32ViewerWindow();
  Win32ViewerWindow(const Win32ViewerWindow&) = delete;
  Win32ViewerWindow& operator=(const Win32ViewerWindow&) = delete;

  bool isOpen() const { return window_ != nullptr; }
  HWND window() const { return window_; }
  // The outer top-left corner of the window's normal position (neither minimised nor
  // maximised): the place at which it opens next time.
  POINT normalOuterTopLeft() const;

 private:
  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void showPicture();

  WireViewer& viewer_;
  std::function<void()> closedBySystem_;
  HWND window_ = nullptr;
  std::unique_ptr<DibPicture> picture_;
  std::unique_ptr<GdiCanvas> canvas_;
};

}  // namespace calveth
