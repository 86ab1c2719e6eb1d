// MainDialog: the program's one main window on Qt. It lays out its controls from the dialog
// template, shows what the dialog session tells it and passes every click and key on to the
// session; the "Wire Flame Viewer" window shows the session's picture.
//
// The dialog decides nothing itself: availability, the viewer's state, the warnings, the
// file dialogs' folder and the keys live in the session (app/dialog_session.h).
#pragma once

#include <QDialog>
#include <QMargins>
#include <QPointer>
#include <QStringList>
#include <map>
#include <memory>
#include <optional>

#include "app/dialog_session.h"
#include "linux/freetype_text_painter.h"
#include "ports/tone_port.h"
#include "store/mesh_store.h"

class QToolButton;

namespace calveth {

class ViewerWindow;

class MainDialog final : public QDialog, private DialogWidgets {
  Q_OBJECT

 public:
  MainDialog(MeshStore& store, TonePort& tone);
  ~MainDialog() override;

  // The control with the id, or nullptr; the group box and the banner have no id.
  QWidget* control(ControlId id) const;
  const DialogSession& session() const { return *session_; }
  const CommandRouter& router() const { return session_->router(); }
  const WireViewer& wireViewer() const { return session_->wireViewer(); }
  // The open viewer window, or nullptr while the viewer is closed.
  ViewerWindow* viewerWindow() const { return viewerWindow_.get(); }
  // Where the viewer opens next.
  QPoint viewerPlace() const;
  // The warnings of the last command that did something, and the mark at the right end of the
  // status line that shows them (visible only when there are some; the texts on hover).
  QStringList warnings() const;
  const QToolButton* warningMark() const { return warningMark_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void done(int result) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void createControls();
  void layOutStatusLine();

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

  TonePort& tone_;
  FreeTypeTextPainter text_{PixelLayout::Argb32};
  std::map<ControlId, QPointer<QWidget>> controls_;
  QToolButton* warningMark_ = nullptr;
  std::unique_ptr<ViewerWindow> viewerWindow_;
  // The window manager's frame around the last viewer window, once seen (for this run only).
  std::optional<QMargins> viewerFrame_;
  std::unique_ptr<DialogSession> session_;
  bool placed_ = false;
  bool closePending_ = false;
};

}  // namespace calveth
