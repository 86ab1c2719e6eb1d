// The Host of the Windows desktop program: the commands' reports shown on the main dialog's
// controls, their file choices and question through the common dialogs.
#pragma once

#include <windows.h>

#include "ports/host.h"
#include "win32/file_dialogs.h"

namespace calveth {

class Win32DialogHost final : public Host {
 public:
  explicit Win32DialogHost(HWND dialog) : dialog_(dialog), files_(dialog) {}

  void setStatusText(std::string_view text) override;
  void setEnabled(ControlId control, bool enabled) override;
  void setChecked(ControlId control, bool checked) override;
  void setProgressRange(int low, int high) override;
  void setProgressPosition(int position) override;
  void repaintNow() override;
  std::optional<std::string> chooseOpenFile(const FileChoice& choice) override;
  std::optional<std::string> chooseSaveFile(const FileChoice& choice) override;
  bool askYesNo(std::string_view question) override;
  void warn(std::string_view text) override;

 private:
  HWND control(ControlId id) const { return GetDlgItem(dialog_, static_cast<int>(id)); }

  HWND dialog_;
  FileDialogs files_;
};

}  // namespace calveth
