#include "app/dialog_session.h"

#include <algorithm>
#include <cctype>

#include "app/dialog_template.h"
#include "ports/tone_port.h"
#include "viewer/view_angle.h"
#include "viewer/viewer_window_size.h"

namespace calveth {
namespace {

constexpr std::string_view kViewerTitle = "Wire Flame Viewer";

// The letter after the caption's "&", lower case; 0 for a caption without one.
char mnemonicOf(std::string_view caption) {
  const auto at = caption.find('&');
  if (at == std::string_view::npos || at + 1 >= caption.size()) {
    return 0;
  }
  return static_cast<char>(std::tolower(static_cast<unsigned char>(caption[at + 1])));
}

}  // namespace

std::string folderOf(std::string_view path) {
#ifdef _WIN32
  const auto separator = path.find_last_of("/\\");
#else
  const auto separator = path.find_last_of('/');
#endif
  if (separator == std::string_view::npos) {
    return {};
  }
  // The root keeps its separator: the folder of "/a.obj" is "/".
  return std::string(path.substr(0, separator == 0 ? 1 : separator));
}

// The commands' host: each report goes to the widgets, with the session's rules between. The
// warnings of a command are collected and shown when it ends, beside the status text (which
// keeps the command's own result); a command that showed nothing, such as a cancelled file
// choice, leaves the warnings shown before.
class DialogSession::SessionHost final : public Host {
 public:
  explicit SessionHost(DialogSession& session) : session_(session) {}

  void beginCommand() {
    pending_.clear();
    reported_ = false;
  }
  bool reported() const { return reported_ || !pending_.empty(); }
  std::vector<std::string> takeWarnings() { return std::move(pending_); }

  void setStatusText(std::string_view text) override {
    reported_ = true;
    session_.widgets_.showStatus(text);
  }
  void setEnabled(ControlId control, bool enabled) override {
    session_.widgets_.setEnabled(control, enabled);
  }
  void setChecked(ControlId control, bool checked) override {
    session_.widgets_.setChecked(control, checked);
  }
  void setProgressRange(int low, int high) override {
    low_ = std::clamp(low, 0, kProgressMaximum);
    high_ = std::max(low_, std::clamp(high, 0, kProgressMaximum));
    position_ = std::clamp(position_, low_, high_);
    session_.widgets_.showProgress(low_, high_, position_);
  }
  // A duplicate point counts two hits, so the analysis can report more hits than vertices:
  // the position is held to the range, and the bar shows full.
  void setProgressPosition(int position) override {
    position_ = std::clamp(position, low_, high_);
    session_.widgets_.showProgress(low_, high_, position_);
  }
  void repaintNow() override { session_.widgets_.repaintNow(); }
  std::optional<std::string> chooseOpenFile(const FileChoice& choice) override {
    return remembered(session_.widgets_.chooseOpenFile(choice, session_.fileFolder_));
  }
  std::optional<std::string> chooseSaveFile(const FileChoice& choice) override {
    return remembered(session_.widgets_.chooseSaveFile(choice, session_.fileFolder_));
  }
  bool askYesNo(std::string_view question) override { return session_.widgets_.askYesNo(question); }
  void warn(std::string_view text) override { pending_.emplace_back(text); }

 private:
  // Every file dialog of the run starts in the folder of the file last chosen in any of them;
  // a bare name (the page's downloads) has no folder and leaves it.
  std::optional<std::string> remembered(std::optional<std::string> path) {
    if (path) {
      if (std::string folder = folderOf(*path); !folder.empty()) {
        session_.fileFolder_ = std::move(folder);
      }
    }
    return path;
  }

  DialogSession& session_;
  std::vector<std::string> pending_;
  bool reported_ = false;
  int low_ = 0;
  int high_ = 100;
  int position_ = 0;
};

// The commands' viewer: the wire viewer paints the new projection into the picture, which the
// open viewer surface then shows. The last vertex set is kept, so that turning the view
// projects it again.
class DialogSession::ShowingViewer final : public ViewerPort {
 public:
  explicit ShowingViewer(DialogSession& session) : session_(session) {}
  void refresh(const ViewerInput& input) override {
    last_ = input;
    session_.viewer_.refresh(input);
    session_.showPicture();
  }
  void turn(double radians) {
    last_.viewAngle = radians;
    refresh(last_);
  }

 private:
  DialogSession& session_;
  ViewerInput last_;
};

DialogSession::DialogSession(MeshStore& store, DialogWidgets& widgets, TextPainter& text,
                             PixelLayout layout, FileWriteLayer& files)
    : store_(store),
      widgets_(widgets),
      pixels_(static_cast<std::size_t>(kViewerClientWidth) * kViewerClientHeight),
      canvas_(
          PixelRaster(pixels_.data(), kViewerClientWidth, kViewerClientHeight, kViewerClientWidth),
          layout, kViewerDpi, text),
      viewer_(store),
      host_(std::make_unique<SessionHost>(*this)),
      showing_(std::make_unique<ShowingViewer>(*this)),
      router_(std::make_unique<CommandRouter>(store, *host_, *showing_, files)) {}

DialogSession::~DialogSession() { viewer_.close(); }

void DialogSession::start() {
  router_->start();
  widgets_.setChecked(ControlId::Viewer, false);
}

bool DialogSession::isEnabled(ControlId control) const { return router_->isEnabled(control); }

bool DialogSession::isChecked(ControlId control) const {
  return control == ControlId::Viewer ? viewerOpen_ : router_->isChecked(control);
}

bool DialogSession::press(ControlId control) {
  if (!router_->isEnabled(control)) {
    return false;
  }
  switch (control) {
    case ControlId::Viewer:
      toggleViewer();
      return true;
    case ControlId::Exit:
      if (viewerOpen_) {
        toggleViewer();  // the viewer goes with the dialog, its place remembered
      }
      widgets_.endProgram();
      return true;
    default: {
      host_->beginCommand();
      const bool ran = router_->press(control);
      if (host_->reported()) {
        keepShowingTheBase(control);
      }
      endCommand();
      return ran;
    }
  }
}

// A refused file leaves the loaded base whole and usable, so the viewer goes on showing it
// with its marks: an empty picture beside a usable base would look as if it were lost. The
// displacements that a refused MT file left belong to no MT, so no vertex is marked as moved.
// Before any base was loaded the refusal's own (empty) picture stays.
void DialogSession::keepShowingTheBase(ControlId control) {
  const SessionState& state = router_->session();
  const bool baseRefused = control == ControlId::OpenBase && state.base == BaseState::Refused;
  const bool mtRefused =
      control == ControlId::OpenMt && state.mt != MtState::Full && state.mt != MtState::Half;
  if (control == ControlId::OpenBase && !baseRefused) {
    baseLoaded_ = true;
  }
  if (baseLoaded_ && (baseRefused || mtRefused)) {
    ViewerInput input =
        baseViewerInput(store_, static_cast<int>(store_.baseVertexCount), store_.faceCount);
    input.marksMoved = false;
    showing_->refresh(input);
  }
}

void DialogSession::endCommand() {
  if (!host_->reported()) {
    return;
  }
  warnings_ = host_->takeWarnings();
  widgets_.showWarnings(warnings_);
  widgets_.setViewerTitle(viewerTitle());
}

KeyAnswer DialogSession::keyDown(DialogKey key, KeySource source, char letter, bool alt) {
  switch (key) {
    case DialogKey::Enter:
    case DialogKey::Escape:
      widgets_.playTone(kRefusedKeyToneHz, kRefusedKeyToneMs);
      return KeyAnswer::Taken;
    case DialogKey::F3:
      press(ControlId::Exit);
      return KeyAnswer::Taken;
    case DialogKey::Letter: {
      if (!alt) {
        return KeyAnswer::Taken;  // a stray letter never presses a button
      }
      const char wanted = static_cast<char>(std::tolower(static_cast<unsigned char>(letter)));
      for (const ControlTemplate& entry : kDialogTemplate) {
        if (entry.id != 0 && entry.visible && wanted != 0 && mnemonicOf(entry.caption) == wanted) {
          press(static_cast<ControlId>(entry.id));
          return KeyAnswer::Taken;
        }
      }
      return KeyAnswer::PassOn;
    }
    case DialogKey::Left:
    case DialogKey::Right:
    case DialogKey::Home:
      if (source != KeySource::Viewer) {
        return KeyAnswer::PassOn;  // the arrows move between the dialog's buttons
      }
      turnViewTo(key == DialogKey::Home   ? 0.0
                 : key == DialogKey::Left ? store_.viewAngle - kViewTurnStep
                                          : store_.viewAngle + kViewTurnStep);
      return KeyAnswer::Taken;
    case DialogKey::Other:
      return KeyAnswer::PassOn;
  }
  return KeyAnswer::PassOn;
}

void DialogSession::sliderMoved(int position) { UpdateViewAngle(store_, position); }

void DialogSession::turnViewTo(double radians) {
  store_.viewAngle = radians;
  showing_->turn(radians);
}

void DialogSession::viewerDragged(int pixels) {
  turnViewTo(store_.viewAngle + pixels * kViewTurnPerPixel);
}

std::vector<ViewerMenuItem> DialogSession::viewerMenu() const {
  return {{ViewerMenuEntry::PairByMesh, "Pair the rest by the mesh", router_->canPairByMesh()},
          {ViewerMenuEntry::Front, "Front", true},
          {ViewerMenuEntry::Left, "Left", true},
          {ViewerMenuEntry::Right, "Right", true},
          {ViewerMenuEntry::Back, "Back", true}};
}

// The view from the figure's left looks at its +X side: turned by -90 degrees, as the
// projection turns +Z towards +X.
void DialogSession::chooseFromViewerMenu(ViewerMenuEntry entry) {
  constexpr double kQuarter = 3.14159265358979323846 / 2;
  switch (entry) {
    case ViewerMenuEntry::PairByMesh:
      if (router_->canPairByMesh()) {
        host_->beginCommand();
        router_->pairByMesh();
        endCommand();
      }
      return;
    case ViewerMenuEntry::Front:
      turnViewTo(0.0);
      return;
    case ViewerMenuEntry::Left:
      turnViewTo(-kQuarter);
      return;
    case ViewerMenuEntry::Right:
      turnViewTo(kQuarter);
      return;
    case ViewerMenuEntry::Back:
      turnViewTo(2 * kQuarter);
      return;
  }
}

void DialogSession::viewerClosed(ViewerPlace place) {
  if (!viewerOpen_) {
    return;
  }
  viewerPlace_ = place;
  viewerOpen_ = false;
  viewer_.close();
  widgets_.setChecked(ControlId::Viewer, false);
}

void DialogSession::toggleViewer() {
  if (viewerOpen_) {
    viewerPlace_ = widgets_.hideViewer();
    viewerOpen_ = false;
    viewer_.close();
  } else if (widgets_.showViewer(viewerPlace_)) {
    viewerOpen_ = true;
    widgets_.setViewerTitle(viewerTitle());
    viewer_.open(canvas_);
    showPicture();
  }
  widgets_.setChecked(ControlId::Viewer, viewerOpen_);
}

void DialogSession::showPicture() {
  if (viewerOpen_) {
    widgets_.showPicture(picture());
  }
}

ViewerPicture DialogSession::picture() const {
  return {pixels_.data(), kViewerClientWidth, kViewerClientHeight};
}

std::string DialogSession::viewerTitle() const {
  std::string title(kViewerTitle);
  if (!warnings_.empty()) {
    title += " - warning: " + warnings_.front();
    if (warnings_.size() > 1) {
      title += " (" + std::to_string(warnings_.size() - 1) + " more)";
    }
  }
  return title;
}

}  // namespace calveth
