// The main dialog of the Windows desktop program: a Win32 dialog created from the template
// in memory, which shows what the dialog session tells it (app/dialog_session.h) and passes
// every click, the slider and the keys on to it; the viewer window shows the session's
// picture. The dialog decides nothing itself.
//
// Its message loop hands every key of the dialog, its controls and the viewer to the session
// before the dialog's standard keys: a key the session takes (Enter, Esc, F3, every letter
// without Alt, a mnemonic with Alt, the viewer's arrows) goes no further.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/dialog_session.h"
#include "ports/tone_port.h"
#include "store/mesh_store.h"
#include "win32/file_dialogs.h"
#include "win32/viewer_window.h"
#include "windows/gdi_text_painter.h"

namespace calveth {

// A key message as the session sees it.
struct SessionKey {
  DialogKey key = DialogKey::Other;
  char letter = 0;  // lower case, for DialogKey::Letter
  bool alt = false;
};
// WM_KEYDOWN, WM_SYSKEYDOWN, WM_CHAR and WM_SYSCHAR as the session's keys; nothing for
// every other message.
std::optional<SessionKey> sessionKeyOf(UINT message, WPARAM wParam, LPARAM lParam);

// The id of the warning mark at the right end of the status line (no control of the
// template has it).
inline constexpr int kWarningMarkId = 1010;

// The widget port is public so that a wiring test can show what the session would.
class DesktopDialog final : public DialogWidgets {
 public:
  DesktopDialog(MeshStore& store, TonePort& tone);
  ~DesktopDialog() override;
  DesktopDialog(const DesktopDialog&) = delete;
  DesktopDialog& operator=(const DesktopDialog&) = delete;

  // Creates the dialog; false when it cannot be created.
  bool create();
  // Runs the dialog until it ends ("e&Xit", the close box, F3).
  void run();

  HWND window() const { return dialog_; }
  const DialogSession& session() const { return *session_; }
  bool viewerOpen() const { return session_ != nullptr && session_->viewerOpen(); }
  HWND viewerWindow() const { return viewerWindow_ ? viewerWindow_->window() : nullptr; }
  // The warning mark, shown only while the last command left warnings, and its tooltip.
  HWND warningMark() const { return warningMark_; }
  HWND warningTip() const { return warningTip_; }
  // Whether the key message was the session's to take (it has then been handled).
  bool filterKey(const MSG& message);

 private:
  static INT_PTR CALLBACK procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  BOOL initialise(HWND dialog);
  void createWarningMark();
  void layOutStatusLine();
  void end();
  bool paintMinimised();

  void showStatus(std::string_view text) override;
  void showWarnings(const std::vector<std::string>& warnings) override;
  void setEnabled(ControlId control, bool enabled) override;
  void setChecked(ControlId control, bool checked) override;
  void showProgress(int low, int high, int position) override;
  void repaintNow() override;
  std::optional<std::string> chooseOpenFile(const FileChoice& choice,
                                            const std::string& folder) override;
  std::optional<std::string> chooseSaveFile(const FileChoice& choice,
                                            const std::string& folder) override;
  bool askYesNo(std::string_view question) override;
  bool showViewer(ViewerPlace place) override;
  ViewerPlace hideViewer() override;
  void showPicture(const ViewerPicture& picture) override;
  void setViewerTitle(std::string_view title) override;
  void playTone(int frequencyHz, int durationMs) override;
  void endProgram() override;

  MeshStore& store_;
  TonePort& tone_;
  GdiTextPainter text_{PixelLayout::Argb32};
  HWND dialog_ = nullptr;
  HICON largeIcon_ = nullptr;
  HICON smallIcon_ = nullptr;
  HWND warningMark_ = nullptr;
  HWND warningTip_ = nullptr;
  std::wstring warningText_;
  RECT statusPlace_{};  // the status line's whole room, the mark's included
  std::unique_ptr<FileDialogs> files_;
  std::unique_ptr<Win32ViewerWindow> viewerWindow_;
  std::unique_ptr<DialogSession> session_;
};

}  // namespace calveth
