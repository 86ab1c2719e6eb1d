// PageWidgets: the dialog session's widgets over the page's script.
//
// Every call goes to the page object the script installed (Module.page), which only shows
// what it is told. Choosing a file and the question wait for the user: the module is built
// with Asyncify, so the command is suspended while the page awaits the answer and resumes
// with it, as a modal dialog would.
#pragma once

#include "app/dialog_widgets.h"

namespace calveth {

// The folder the saved files are written to, and the page offers them from as downloads.
inline constexpr const char* kSaveFolder = "/save";

class PageWidgets final : public DialogWidgets {
 public:
  // True once "e&Xit" or F3 asked for the end: the module starts a fresh session when the
  // key or click that asked has been handled.
  bool endRequested() const { return endRequested_; }

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

 private:
  bool shownBefore_ = false;
  bool endRequested_ = false;
};

}  // namespace calveth
