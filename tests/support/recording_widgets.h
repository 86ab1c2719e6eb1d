// DialogWidgets that record what the session shows, and answer its file dialogs from a queue:
// the dialog session's tests and the scenario table's driver in the core suite.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/dialog_widgets.h"
#include "viewer/pixel_canvas.h"

namespace calveth::testing {

// Letters are left out of the picture: the session's pixels are what the tests compare.
struct NoText final : TextPainter {
  void drawText(PixelRaster&, const TextRequest&) override {}
};

struct RecordingWidgets final : DialogWidgets {
  std::string status;
  std::vector<std::string> warnings;
  std::vector<std::string> folders;  // the folder each file dialog started in
  std::deque<std::optional<std::string>> files;
  bool answer = true;
  int tones = 0;
  int ends = 0;
  int progressHigh = -1;
  int progressPosition = -1;
  std::optional<ViewerPlace> shownAt;
  ViewerPlace hiddenAt{10, 10};
  std::string title;
  std::uint64_t pictureDigest = 0;
  int pictures = 0;
  std::map<ControlId, bool> enabled;
  std::map<ControlId, bool> checked;

  void showStatus(std::string_view text) override { status = text; }
  void showWarnings(const std::vector<std::string>& w) override { warnings = w; }
  void setEnabled(ControlId c, bool on) override { enabled[c] = on; }
  void setChecked(ControlId c, bool on) override { checked[c] = on; }
  void showProgress(int, int high, int position) override {
    progressHigh = high;
    progressPosition = position;
  }
  void repaintNow() override {}
  std::optional<std::string> choose(const std::string& folder) {
    folders.push_back(folder);
    auto file = files.empty() ? std::nullopt : files.front();
    if (!files.empty()) {
      files.pop_front();
    }
    return file;
  }
  std::optional<std::string> chooseOpenFile(const FileChoice&, const std::string& f) override {
    return choose(f);
  }
  std::optional<std::string> chooseSaveFile(const FileChoice&, const std::string& f) override {
    return choose(f);
  }
  bool askYesNo(std::string_view) override { return answer; }
  bool showViewer(ViewerPlace place) override {
    shownAt = place;
    return true;
  }
  ViewerPlace hideViewer() override {
    shownAt.reset();
    return hiddenAt;
  }
  void showPicture(const ViewerPicture& picture) override {
    ++pictures;
    std::uint64_t digest = 1469598103934665603ULL;  // FNV-1a over the pixels
    for (int k = 0; k < picture.width * picture.height; ++k) {
      digest = (digest ^ picture.pixels[k]) * 1099511628211ULL;
    }
    pictureDigest = digest;
  }
  void setViewerTitle(std::string_view t) override { title = t; }
  void playTone(int, int) override { ++tones; }
  void endProgram() override { ++ends; }
};

}  // namespace calveth::testing
