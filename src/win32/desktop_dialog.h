// The main dialog of the Windows desktop program: a Win32 dialog created from the template
// in memory, its commands routed to the CommandRouter, "&G" with the viewer window and
// "e&Xit" its own, and a message loop of its own that runs the keyboard filter ahead of the
// dialog's keys.
#pragma once

#include <windows.h>

#include <memory>

#include "app/command_router.h"
#include "ports/tone_port.h"
#include "store/mesh_store.h"
#include "viewer/wire_viewer.h"
#include "win32/dialog_host.h"
#include "win32/viewer_window.h"

namespace calveth {

// What the keyboard filter does with a key-down message for the dialog or one of its
// controls.
enum class KeyVerdict {
  passOn,          // to the dialog's standard keys
  toneAndSwallow,  // Enter, Esc: the tone, and nothing else
  closeAndPassOn,  // F3: a close request to the dialog, then the standard keys
};
KeyVerdict keyVerdict(UINT message, WPARAM virtualKey);

class DesktopDialog {
 public:
  DesktopDialog(MeshStore& store, TonePort& tone);
  ~DesktopDialog();
  DesktopDialog(const DesktopDialog&) = delete;
  DesktopDialog& operator=(const DesktopDialog&) = delete;

  // Creates the dialog; false when it cannot be created.
  bool create();
  // Runs the dialog until it ends ("e&Xit", the close box, F3).
  void run();

  HWND window() const { return dialog_; }
  const CommandRouter* router() const { return router_.get(); }
  bool viewerOpen() const { return viewerWindow_ != nullptr; }
  // Whether the message was the keyboard filter's to take (it has then been handled).
  bool filterKey(const MSG& message);

 private:
  class ShowingViewer;

  static INT_PTR CALLBACK procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  BOOL initialise(HWND dialog);
  void command(int id);
  void toggleViewer();
  void closeViewer();
  void end();
  bool paintMinimised();

  MeshStore& store_;
  TonePort& tone_;
  WireViewer wireViewer_;
  std::unique_ptr<ShowingViewer> showingViewer_;
  HWND dialog_ = nullptr;
  HICON largeIcon_ = nullptr;
  HICON smallIcon_ = nullptr;
  std::unique_ptr<Win32DialogHost> host_;
  std::unique_ptr<CommandRouter> router_;
  std::unique_ptr<Win32ViewerWindow> viewerWindow_;
  POINT viewerPlace_{10, 10};
};

}  // namespace calveth
