// DialogWidgets: what a front end shows and asks for the dialog session, and nothing more.
//
// Each front end (the Qt dialog, the Win32 dialog, the page) implements it on its own
// controls and windows. Every rule of the product (what can be pressed, what the viewer shows,
// where a file dialog starts, what a key does) lives in the session: a front end shows what
// it is told and passes the user's actions on.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ports/control_id.h"
#include "ports/host.h"
#include "viewer/pixel_raster.h"

namespace calveth {

// The outer top-left corner of the viewer window (its frame included), in screen pixels.
struct ViewerPlace {
  int x = 10;
  int y = 10;
  friend bool operator==(const ViewerPlace&, const ViewerPlace&) = default;
};

// The viewer's picture: width x height pixels, row after row, in the front end's layout.
struct ViewerPicture {
  const std::uint32_t* pixels = nullptr;
  int width = 0;
  int height = 0;
};

class DialogWidgets {
 public:
  virtual ~DialogWidgets() = default;

  // The status line's text.
  virtual void showStatus(std::string_view text) = 0;
  // The warnings of the last command that did something, in the order they came; an empty
  // list hides the warning mark.
  virtual void showWarnings(const std::vector<std::string>& warnings) = 0;
  virtual void setEnabled(ControlId control, bool enabled) = 0;
  // A check box or push-like switch shown checked or cleared.
  virtual void setChecked(ControlId control, bool checked) = 0;
  // The progress bar: 0 <= low <= high <= kProgressMaximum, low <= position <= high.
  virtual void showProgress(int low, int high, int position) = 0;
  // Paints the dialog at once, before a long computation starts.
  virtual void repaintNow() = 0;
  // A file dialog that starts in `folder` (empty: the working folder). The chosen file's
  // full path (UTF-8), or nothing when cancelled. The save dialog asks before an existing
  // file is replaced.
  virtual std::optional<std::string> chooseOpenFile(const FileChoice& choice,
                                                    const std::string& folder) = 0;
  virtual std::optional<std::string> chooseSaveFile(const FileChoice& choice,
                                                    const std::string& folder) = 0;
  // The one question, above every other window of the program: true for Yes.
  virtual bool askYesNo(std::string_view question) = 0;

  // Opens the viewer surface with its outer top-left corner at `place`, without taking the
  // keyboard focus from the dialog; false when it cannot be opened.
  virtual bool showViewer(ViewerPlace place) = 0;
  // Closes the viewer surface and tells where its outer top-left corner was (its normal
  // place, neither minimised nor maximised).
  virtual ViewerPlace hideViewer() = 0;
  // The open viewer's new picture, shown at once.
  virtual void showPicture(const ViewerPicture& picture) = 0;
  virtual void setViewerTitle(std::string_view title) = 0;

  // A tone that plays on while the dialog goes on taking input.
  virtual void playTone(int frequencyHz, int durationMs) = 0;
  // The dialog ends, and the program with it (a page starts a fresh session).
  virtual void endProgram() = 0;
};

}  // namespace calveth
