// The "Wire Flame Viewer" window: a top-level window of its own beside the main dialog,
// always on top, with a title bar but no close, minimise or maximise box.
//
// The viewer paints into a picture the window keeps, so the window can show its last picture
// whenever the window system asks (after being uncovered, restored or moved). The window is
// 420 by 420 pixels outside, frame and title bar included, with its outer top-left corner at
// the place it is given. A window manager tells the frame's size only once the window is on
// the screen: the first window of a run is placed by its outer corner and takes its outer
// size once the frame is known; later windows are given the frame learnt before and open
// right at once.
#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QMargins>
#include <QPoint>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <optional>

#include "viewer/wire_viewer.h"

namespace calveth {

class QPainterCanvas;

class ViewerWindow final : public QWidget {
  Q_OBJECT

 public:
  // Opens the window with its outer top-left corner at `outerTopLeft` and paints the
  // viewer's last projection into it. `frame` is the window manager's frame around an
  // earlier viewer window of the run, when one was seen.
  ViewerWindow(WireViewer& viewer, QPoint outerTopLeft, std::optional<QMargins> frame = {});
  ~ViewerWindow() override;

  // The outer top-left corner of the window's normal position (neither minimised nor
  // maximised): the place at which it opens next time.
  QPoint normalOuterTopLeft() const;
  // The frame the window manager put around the window, once it is known.
  std::optional<QMargins> knownFrame() const;
  // The title tells the first of the last command's warnings and how many followed it.
  void showWarnings(const QStringList& warnings);
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

 private:
  QMargins currentFrame() const;
  void watchForFrame();
  void fitInto(QMargins frame);
  void openCanvas(QSize clientSize);

  WireViewer& viewer_;
  QImage picture_;
  std::unique_ptr<QPainterCanvas> canvas_;
  QPoint place_;
  std::optional<QMargins> frame_;
  QTimer frameWatch_;
  QElapsedTimer frameWaited_;
  bool closingByToggle_ = false;
  bool viewerLeft_ = false;
};

}  // namespace calveth
