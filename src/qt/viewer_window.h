// The "Wire Flame Viewer" window: a top-level window of its own beside the main dialog,
// always on top, with a title bar but no close, minimise or maximise box.
//
// The viewer paints into a picture the window keeps, so the window can show its last picture
// whenever the window system asks (after being uncovered, restored or moved). The window is
// 420 by 420 pixels outside, frame and title bar included, wherever the window system's frame
// size allows.
#pragma once

#include <QImage>
#include <QPoint>
#include <QWidget>
#include <memory>

#include "viewer/wire_viewer.h"

namespace calveth {

class QPainterCanvas;

class ViewerWindow final : public QWidget {
  Q_OBJECT

 public:
  // Opens the window with its outer top-left corner at `outerTopLeft` and paints the
  // viewer's last projection into it.
  ViewerWindow(WireViewer& viewer, QPoint outerTopLeft);
  ~ViewerWindow() override;

  // The outer top-left corner of the window's normal position (neither minimised nor
  // maximised): the place at which it opens next time.
  QPoint normalOuterTopLeft() const;
  // The viewer painted into the picture: show it.
  void pictureChanged() { update(); }
  const QImage& picture() const { return picture_; }

  // Closing by "&G" is not a close by the window system.
  void closeByToggle();
  // The viewer stops painting into this window's picture (the window is about to go).
  void leaveViewer();

 signals:
  // The window system closed the window (a key or a menu of the window manager).
  void closedByWindowSystem();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void moveEvent(QMoveEvent* event) override;

 private:
  void fitOuterSize();
  void openCanvas(QSize clientSize);

  WireViewer& viewer_;
  QImage picture_;
  std::unique_ptr<QPainterCanvas> canvas_;
  QPoint place_;
  bool placed_ = false;
  bool closingByToggle_ = false;
  bool viewerLeft_ = false;
};

}  // namespace calveth
