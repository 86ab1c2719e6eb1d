#include "qt/viewer_window.h"

#include <QCloseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "qt/qpainter_canvas.h"
#include "viewer/viewer_window_size.h"

namespace calveth {
namespace {

constexpr auto kViewerTitle = "Wire Flame Viewer";

// A title bar and a border, always on top; no system menu, so no close, minimise or
// maximise box.
constexpr Qt::WindowFlags kViewerFlags =
    Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint;

}  // namespace

ViewerWindow::ViewerWindow(WireViewer& viewer, QPoint outerTopLeft)
    : QWidget(nullptr, kViewerFlags), viewer_(viewer), place_(outerTopLeft) {
  setWindowTitle(QString::fromLatin1(kViewerTitle));
  setAttribute(Qt::WA_OpaquePaintEvent);
  // Until the window system tells the size of its frame, the drawing area is what a classic
  // frame leaves of the outer size.
  openCanvas(QSize(kViewerClientWidth, kViewerClientHeight));
  move(outerTopLeft);
  show();
}

ViewerWindow::~ViewerWindow() { leaveViewer(); }

void ViewerWindow::leaveViewer() {
  if (!viewerLeft_) {
    viewerLeft_ = true;
    viewer_.close();
  }
}

void ViewerWindow::openCanvas(QSize clientSize) {
  viewer_.close();
  setFixedSize(clientSize);
  picture_ = QImage(clientSize, QImage::Format_RGB32);
  picture_.fill(palette().color(QPalette::Window));
  canvas_ = std::make_unique<QPainterCanvas>(picture_, kViewerDpi);
  viewer_.open(*canvas_);
  update();
}

// The outer size is 420 by 420 whatever the frame: once the frame's size is known, the
// drawing area takes the rest.
void ViewerWindow::fitOuterSize() {
  const QRect outer = frameGeometry();
  const QRect client = geometry();
  const QSize frame(outer.width() - client.width(), outer.height() - client.height());
  const QSize wanted(kViewerOuterWidth - frame.width(), kViewerOuterHeight - frame.height());
  if (wanted != client.size() && wanted.width() > 0 && wanted.height() > 0) {
    openCanvas(wanted);
  }
}

QPoint ViewerWindow::normalOuterTopLeft() const {
  const QPoint frameOffset = geometry().topLeft() - frameGeometry().topLeft();
  const QRect normal = (isMinimized() || isMaximized()) ? normalGeometry() : geometry();
  return normal.topLeft() - frameOffset;
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

void ViewerWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  fitOuterSize();
  if (!placed_) {
    // Some window systems take a place given before the window exists for the drawing
    // area's; now that the frame is known, the outer corner goes where it belongs.
    placed_ = true;
    move(place_);
  }
}

void ViewerWindow::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  fitOuterSize();
}

}  // namespace calveth
