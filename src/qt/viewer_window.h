// The "Wire Flame Viewer" window: a top-level window of its own beside the main dialog,
// always on top, with a title bar but no close, minimise or maximise box. It shows the
// session's picture and never takes the keyboard focus when it opens.
//
// The window keeps the picture it was given, so it can show it whenever the window system
// asks (after being uncovered, restored or moved). It is 420 by 420 pixels outside, frame and
// title bar included, with its outer top-left corner at the place it is given. A window
// manager tells the frame's size only once the window is on the screen: the first window of a
// run is placed by its outer corner and takes its outer size once the frame is known; later
// windows are given the frame learnt before and open right at once.
#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QMargins>
#include <QPoint>
#include <QTimer>
#include <QWidget>
#include <optional>

namespace calveth {

class ViewerWindow final : public QWidget {
  Q_OBJECT

 public:
  // Opens the window with its outer top-left corner at `outerTopLeft`. `frame` is the window
  // manager's frame around an earlier viewer window of the run, when one was seen.
  explicit ViewerWindow(QPoint outerTopLeft, std::optional<QMargins> frame = {});

  // The outer top-left corner of the window's normal position (neither minimised nor
  // maximised): the place at which it opens next time.
  QPoint normalOuterTopLeft() const;
  // The frame the window manager put around the window, once it is known.
  std::optional<QMargins> knownFrame() const;
  // The session's picture, shown from the top-left corner of the drawing area.
  void showPicture(const QImage& picture);
  // What the drawing area shows.
  const QImage& picture() const { return picture_; }
  // Closing by "&G" is not a close by the window system.
  void closeByToggle();

 signals:
  // The window system closed the window (a key or a menu of the window manager).
  void closedByWindowSystem();
  // The user asked for the viewer's menu (a right click, Shift+F10 or the menu key), to show at
  // `place` on the screen.
  void menuRequested(QPoint place);
  // A horizontal drag with the left button, by `pixels` since the last move.
  void dragged(int pixels);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  QMargins currentFrame() const;
  void watchForFrame();
  void fitInto(QMargins frame);
  void setDrawingArea(QSize size);

  QImage picture_;
  QImage shown_;  // the last picture given, kept for a drawing area that changes size
  QPoint place_;
  std::optional<QMargins> frame_;
  QTimer frameWatch_;
  QElapsedTimer frameWaited_;
  bool closingByToggle_ = false;
  int dragX_ = 0;  // where the last drag move ended
};

}  // namespace calveth
