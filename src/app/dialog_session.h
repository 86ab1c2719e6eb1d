// DialogSession: everything the main dialog does around the commands, once for every front
// end.
//
// It owns the command router and so the availability of every control, the wire viewer and
// its picture, whether the viewer is open and where it opens next, the warnings of the last
// command, the folder the file dialogs start in, the progress bar's range, the two switches
// and what each key does. A front end implements DialogWidgets and calls press(), keyDown()
// and the viewer's notices below for what the user does; it keeps no rule of its own.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/command_router.h"
#include "app/dialog_widgets.h"
#include "objio/safe_file_writer.h"
#include "store/mesh_store.h"
#include "viewer/pixel_canvas.h"
#include "viewer/wire_viewer.h"

namespace calveth {

// The keys the session decides about; every other key is the platform's (Tab, Space, the
// arrows within the dialog).
enum class DialogKey { Enter, Escape, F3, Letter, Left, Right, Home, Other };

// Where a key was pressed: in the dialog or in the viewer window.
enum class KeySource { Dialog, Viewer };

// What the front end does with a key after the session has seen it.
enum class KeyAnswer {
  Taken,   // done with: the platform must not act on it as well
  PassOn,  // the platform's own handling goes on
};

// The view turns by this much for each arrow key in the viewer (15 degrees), and by this much
// for each pixel of a horizontal drag in it (a degree).
inline constexpr double kViewTurnStep = 3.14159265358979323846 / 12.0;
inline constexpr double kViewTurnPerPixel = 3.14159265358979323846 / 180.0;

// The viewer's context menu (a right click, Shift+F10 or the menu key).
enum class ViewerMenuEntry { PairByMesh, Front, Left, Right, Back };
struct ViewerMenuItem {
  ViewerMenuEntry entry;
  std::string_view caption;
  bool enabled;
};

class DialogSession {
 public:
  // The store, the widgets and the text painter belong to the caller and outlive the session.
  // `layout` is how the front end wants the picture's pixels.
  DialogSession(MeshStore& store, DialogWidgets& widgets, TextPainter& text, PixelLayout layout,
                FileWriteLayer& files = systemFileLayer());
  ~DialogSession();
  DialogSession(const DialogSession&) = delete;
  DialogSession& operator=(const DialogSession&) = delete;

  // Shows every control in its state at program start.
  void start();
  // A click on a control (a check box toggles first, as the platform does). "&G" opens and
  // closes the viewer, "e&Xit" ends the program. False when the control is disabled or not
  // a control of the dialog.
  bool press(ControlId control);
  // A key pressed in the dialog or the viewer: Enter and Esc sound the refused-key tone and
  // do nothing else, F3 ends the program, a letter acts only with Alt (the control whose
  // mnemonic it is), the arrows and Home turn the view in the viewer.
  KeyAnswer keyDown(DialogKey key, KeySource source, char letter = 0, bool alt = false);
  // The hidden slider moved.
  void sliderMoved(int position);
  // The window system closed the viewer (not "&G"): it counts as "&G", at the place given.
  void viewerClosed(ViewerPlace place);
  // The view turned to `radians` (a drag in the viewer, a menu entry); repainted at once.
  void turnViewTo(double radians);
  // A horizontal drag of `pixels` in the viewer (to the right: positive) turns the view.
  void viewerDragged(int pixels);
  // The viewer's menu in its order, each entry with whether it can be chosen now.
  std::vector<ViewerMenuItem> viewerMenu() const;
  // An entry of the viewer's menu chosen; nothing when it cannot be chosen now.
  void chooseFromViewerMenu(ViewerMenuEntry entry);

  const CommandRouter& router() const { return *router_; }
  bool isEnabled(ControlId control) const;
  bool isChecked(ControlId control) const;
  bool viewerOpen() const { return viewerOpen_; }
  ViewerPlace viewerPlace() const { return viewerPlace_; }
  const std::vector<std::string>& warnings() const { return warnings_; }
  // The viewer's title: its name, and the first warning of the last command.
  std::string viewerTitle() const;
  // The folder the next file dialog starts in (empty: the working folder).
  const std::string& fileFolder() const { return fileFolder_; }
  ViewerPicture picture() const;
  const WireViewer& wireViewer() const { return viewer_; }

 private:
  class SessionHost;
  class ShowingViewer;

  void toggleViewer();
  void endCommand();
  void keepShowingTheBase(ControlId control);
  void showPicture();

  MeshStore& store_;
  DialogWidgets& widgets_;
  std::vector<std::uint32_t> pixels_;
  PixelCanvas canvas_;
  WireViewer viewer_;
  std::unique_ptr<SessionHost> host_;
  std::unique_ptr<ShowingViewer> showing_;
  std::unique_ptr<CommandRouter> router_;
  bool viewerOpen_ = false;
  bool baseLoaded_ = false;  // some base was accepted in this run
  ViewerPlace viewerPlace_;
  std::vector<std::string> warnings_;
  std::string fileFolder_;
};

// The folder part of a path: everything before its last separator ('/', and '\' on
// Windows); empty for a bare name.
std::string folderOf(std::string_view path);

}  // namespace calveth
