// MainDialog: the program's one main window. It lays out its controls from the dialog
// template, passes every click to the command router, shows what the commands report, and
// opens and closes the "Wire Flame Viewer" with "&G".
//
// The dialog computes nothing itself: availability and every command live in the core.
#pragma once

#include <QDialog>
#include <QMargins>
#include <QPoint>
#include <QStringList>
#include <memory>
#include <optional>

#include "app/command_router.h"
#include "ports/tone_port.h"
#include "qt/dialog_host.h"
#include "store/mesh_store.h"
#include "viewer/wire_viewer.h"

class QAction;

namespace calveth {

class KeyboardFilter;
class ViewerWindow;

class MainDialog final : public QDialog {
  Q_OBJECT

 public:
  MainDialog(MeshStore& store, TonePort& tone);
  ~MainDialog() override;

  // The control with the id, or nullptr; the group box and the banner have no id.
  QWidget* control(ControlId id) const;
  const CommandRouter& router() const { return *router_; }
  const WireViewer& wireViewer() const { return wireViewer_; }
  // The open viewer window, or nullptr while the viewer is closed.
  ViewerWindow* viewerWindow() const { return viewerWindow_.get(); }
  // Where the viewer opens next.
  QPoint viewerPlace() const { return viewerPlace_; }
  // The warnings of the last command that did something, and the mark at the right end of the
  // status line that shows them (visible only when there are some; the texts on hover).
  const QStringList& warnings() const { return warnings_; }
  const QAction* warningMark() const { return warningMark_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void done(int result) override;

 private:
  class ShowingViewer;

  void createControls();
  void press(ControlId id);
  void toggleViewer();
  void closeViewer();
  void showWarnings(const QStringList& warnings);

  MeshStore& store_;
  ControlWidgets controls_;
  std::unique_ptr<DialogHost> host_;
  WireViewer wireViewer_;
  std::unique_ptr<ShowingViewer> showingViewer_;
  std::unique_ptr<CommandRouter> router_;
  std::unique_ptr<ViewerWindow> viewerWindow_;
  QPoint viewerPlace_{10, 10};
  // The window manager's frame around the last viewer window, once seen (for this run only).
  std::optional<QMargins> viewerFrame_;
  QStringList warnings_;
  QAction* warningMark_ = nullptr;
  bool placed_ = false;
};

}  // namespace calveth
