#include "qt/png_picture.h"

#include <QBuffer>
#include <QByteArray>
#include <QGuiApplication>
#include <QImage>
#include <QtGlobal>

#include "qt/qpainter_canvas.h"

namespace calveth {
namespace {

constexpr double kInchesPerMetre = 1 / 0.0254;

// Qt's own remarks about its set-up (such as a missing runtime folder) mean nothing to the
// user of a window-less program; only its errors are passed on.
void errorsOnly(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) {
    qt_message_output(type, context, message);
  }
}

// Fonts need an application object; a program without windows gets one on the offscreen
// platform, which needs no display.
void ensureGuiApplication() {
  if (QGuiApplication::instance() != nullptr) {
    return;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  qInstallMessageHandler(errorsOnly);
  static int argc = 1;
  static char name[] = "calveth";
  static char* argv[] = {name, nullptr};
  static QGuiApplication application(argc, argv);
}

}  // namespace

bool paintPng(WireViewer& viewer, int width, int height, int verticalDpi, std::string& pngBytes,
              std::string& error) {
  ensureGuiApplication();
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::black);
  const int dotsPerMetre = static_cast<int>(verticalDpi * kInchesPerMetre + 0.5);
  image.setDotsPerMeterX(dotsPerMetre);
  image.setDotsPerMeterY(dotsPerMetre);
  QPainterCanvas canvas(image, verticalDpi);
  viewer.open(canvas);
  viewer.close();

  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, "PNG")) {
    error = "the picture could not be encoded as PNG";
    return false;
  }
  pngBytes.assign(bytes.constData(), static_cast<std::size_t>(bytes.size()));
  return true;
}

}  // namespace calveth
