// The "Wire Flame Viewer" window on Windows: a top-level window of its own beside the main
// dialog, always on top, with a title bar but no system menu, so no close, minimise or
// maximise box. 420 by 420 pixels outside at 100% (larger by the window's DPI scale), at the
// place it is opened at, shown without taking the keyboard from the dialog.
//
// The window keeps a copy of the session's picture in a DIB section and shows it scaled by
// the DPI scale (StretchBlt), so it is the same picture at every scale and never blank after
// being uncovered or moved. Keys pressed in it reach the dialog's message loop.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string_view>

#include "app/dialog_session.h"
#include "app/dialog_widgets.h"

namespace calveth {

class Win32ViewerWindow {
 public:
  // Opens the window with its outer top-left corner at `place`, owned by `owner` (so the
  // program keeps one task bar entry). `closedBySystem` runs when the window system asks the
  // window to close (Alt+F4): the owner then treats it as "&G" and may destroy this object
  // within the call. The session's menu (a right click, Shift+F10, the menu key) and a drag
  // with the left button go to `session`.
  Win32ViewerWindow(POINT place, HWND owner, DialogSession& session,
                    std::function<void()> closedBySystem);
  ~Win32ViewerWindow();
  Win32ViewerWindow(const Win32ViewerWindow&) = delete;
  Win32ViewerWindow& operator=(const Win32ViewerWindow&) = delete;

  bool isOpen() const { return window_ != nullptr; }
  HWND window() const { return window_; }
  // The outer top-left corner of the window's normal position (neither minimised nor
  // maximised): the place at which it opens next time.
  POINT normalOuterTopLeft() const;
  // The session's 408 x 389 picture, copied and shown at once.
  void showPicture(const ViewerPicture& picture);
  void setTitle(std::string_view title);
  // The window's DPI scale in percent (100 at 96 DPI).
  int scalePercent() const;

 private:
  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void paint();
  void fitToScale();
  void showMenu(POINT screen);

  DialogSession& session_;
  std::function<void()> closedBySystem_;
  HWND window_ = nullptr;
  int dragX_ = 0;  // where the last drag move ended
  HDC pictureDc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
  std::uint32_t* pixels_ = nullptr;
};

}  // namespace calveth
