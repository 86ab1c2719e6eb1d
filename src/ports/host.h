// Host: what a command needs from the dialog that runs it.
//
// The desktop dialog and the command-line front end each implement it; tests use a recording
// one. A command reports only through these calls and the viewer refresh.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "ports/control_id.h"

namespace calveth {

// A file choice: the filter in "Name(*.ext)|*.ext||" form, the initial file name and the
// extension added to a name typed without one.
struct FileChoice {
  std::string_view filter;
  std::string_view initialName;
  std::string_view defaultExtension;
};

class Host {
 public:
  virtual ~Host() = default;

  // Replaces the text of the status line.
  virtual void setStatusText(std::string_view text) = 0;
  virtual void setEnabled(ControlId control, bool enabled) = 0;
  // Shows a check box checked or cleared.
  virtual void setChecked(ControlId control, bool checked) = 0;
  virtual void setProgressRange(int low, int high) = 0;
  virtual void setProgressPosition(int position) = 0;
  // Paints the dialog at once, before a long computation starts.
  virtual void repaintNow() = 0;
  // The chosen file's full path (UTF-8), or nothing when the choice was cancelled.
  virtual std::optional<std::string> chooseOpenFile(const FileChoice& choice) = 0;
  // The full path (UTF-8) under which to save, or nothing when cancelled. A dialog asks
  // before an existing file is replaced.
  virtual std::optional<std::string> chooseSaveFile(const FileChoice& choice) = 0;
  // The one question a command may ask: true for Yes.
  virtual bool askYesNo(std::string_view question) = 0;
  // A remark about the input that does not change the command's result (skipped face lines).
  virtual void warn(std::string_view text) = 0;
};

}  // namespace calveth
