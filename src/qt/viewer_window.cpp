#include "qt/viewer_window.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWindow>

#include "viewer/viewer_window_size.h"

namespace calveth {
namespace {

constexpr auto kViewerTitle = "Wire Flame Viewer";

// A title bar and a border, always on top; no system menu, so no close, minimise or
// maximise box.
constexpr Qt::WindowFlags kViewerFlags =
    Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint;

// How often and how long a new window looks for the frame the window manager gives it. A
// window manager frames a window before it maps it, so the frame is normally there by the
// first look; a window without a frame after the wait has none.
constexpr int kFrameLookMs = 10;
constexpr int kFrameWaitMs = 1000;

const QSize kOuterSize(kViewerOuterWidth, kViewerOuterHeight);

QSize clientSizeWithin(QMargins frame) {
  return kOuterSize.shrunkBy(frame).expandedTo(QSize(1, 1));
}

}  // namespace

ViewerWindow::ViewerWindow(QPoint outerTopLeft, std::optional<QMargins> frame)
    : QWidget(nullptr, kViewerFlags), place_(outerTopLeft) {
  setWindowTitle(QString::fromLatin1(kViewerTitle));
  setAttribute(Qt::WA_OpaquePaintEvent);
  // The dialog keeps the keyboard: its keys work while the viewer opens.
  setAttribute(Qt::WA_ShowWithoutActivating);
  if (frame) {
    // The client area goes inside the known frame, so the outer corner lands on the place.
    frame_ = frame;
    setDrawingArea(clientSizeWithin(*frame));
    setGeometry(QRect(outerTopLeft + QPoint(frame->left(), frame->top()), size()));
    show();
    return;
  }
  // Placed by its outer corner (a top-level move() places the frame); the size is the outer
  // size until the frame is known and the drawing area takes what the frame leaves.
  setDrawingArea(kOuterSize);
  move(outerTopLeft);
  show();
  const QMargins shownFrame = currentFrame();
  if (!shownFrame.isNull()) {
    fitInto(shownFrame);  // a window system that knows its frame at once
  } else {
    watchForFrame();
  }
}

void ViewerWindow::setDrawingArea(QSize size) {
  setFixedSize(size);
  picture_ = QImage(size, QImage::Format_RGB32);
  picture_.fill(Qt::black);
  showPicture(shown_);
}

// The picture keeps its size whatever frame the window manager draws: what lies beyond it is
// black, as the picture's own background; what the drawing area cannot hold is cut off.
void ViewerWindow::showPicture(const QImage& picture) {
  shown_ = picture.copy();
  QPainter painter(&picture_);
  painter.drawImage(0, 0, shown_);
  update();
}

QMargins ViewerWindow::currentFrame() const {
  const QWindow* window = windowHandle();
  return window != nullptr ? window->frameMargins() : QMargins();
}

void ViewerWindow::watchForFrame() {
  frameWaited_.start();
  frameWatch_.setInterval(kFrameLookMs);
  connect(&frameWatch_, &QTimer::timeout, this, [this] {
    const QMargins frame = currentFrame();
    if (!frame.isNull()) {
      frameWatch_.stop();
      fitInto(frame);
    } else if (frameWaited_.elapsed() >= kFrameWaitMs) {
      frameWatch_.stop();
      frame_ = QMargins();  // no frame: the window is its drawing area
    }
  });
  frameWatch_.start();
}

// Once, when the frame has become known: the drawing area shrinks to what the frame leaves
// of the outer size, and the client area goes inside the frame at the place, wherever the
// window manager put the window while it framed it.
void ViewerWindow::fitInto(QMargins frame) {
  frame_ = frame;
  setDrawingArea(clientSizeWithin(frame));
  setGeometry(QRect(place_ + QPoint(frame.left(), frame.top()), size()));
}

std::optional<QMargins> ViewerWindow::knownFrame() const {
  const QMargins frame = currentFrame();
  if (!frame.isNull()) {
    return frame;
  }
  return frame_;
}

QPoint ViewerWindow::normalOuterTopLeft() const {
  const QMargins frame = currentFrame();
  const QRect normal = (isMinimized() || isMaximized()) ? normalGeometry() : geometry();
  return normal.topLeft() - QPoint(frame.left(), frame.top());
}

void ViewerWindow::closeByToggle() {
  closingByToggle_ = true;
  close();
}

void ViewerWindow::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.drawImage(event->rect(), picture_, event->rect());
}

void ViewerWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  if (!closingByToggle_) {
    emit closedByWindowSystem();
  }
}

void ViewerWindow::contextMenuEvent(QContextMenuEvent* event) {
  emit menuRequested(event->globalPos());
}

// The menu key comes as a context-menu event; Shift+F10 is asked for here.
void ViewerWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier) {
    emit menuRequested(mapToGlobal(QPoint(width() / 2, height() / 2)));
    return;
  }
  QWidget::keyPressEvent(event);
}

void ViewerWindow::mousePressEvent(QMouseEvent* event) {
  dragX_ = event->position().toPoint().x();
  QWidget::mousePressEvent(event);
}

void ViewerWindow::mouseMoveEvent(QMouseEvent* event) {
  if (event->buttons() & Qt::LeftButton) {
    const int x = event->position().toPoint().x();
    emit dragged(x - dragX_);
    dragX_ = x;
  }
}

}  // namespace calveth
