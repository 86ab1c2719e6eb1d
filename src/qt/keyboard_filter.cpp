#include "qt/keyboard_filter.h"

#include <QCoreApplication>
#include <QDialog>
#include <QKeyEvent>

namespace calveth {

KeyboardFilter::KeyboardFilter(QDialog& dialog, TonePort& tone)
    : QObject(&dialog), dialog_(dialog), tone_(tone) {
  // Key presses go to the focused control first; a filter on the application sees them
  // before any control of the dialog does.
  QCoreApplication::instance()->installEventFilter(this);
}

bool KeyboardFilter::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) {
    return false;
  }
  auto* widget = qobject_cast<QWidget*>(watched);
  if (widget == nullptr || (widget != &dialog_ && !dialog_.isAncestorOf(widget))) {
    return false;  // the file dialogs and the question box keep their keys
  }
  switch (static_cast<QKeyEvent*>(event)->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
      tone_.sound(kRefusedKeyToneHz, kRefusedKeyToneMs);
      return true;
    case Qt::Key_F3:
      // A key the focused control leaves alone travels on to the dialog and passes here
      // again: one close request is enough.
      if (!closePending_) {
        closePending_ = true;
        QMetaObject::invokeMethod(
            &dialog_,
            [this] {
              closePending_ = false;
              dialog_.close();
            },
            Qt::QueuedConnection);
      }
      return false;
    default:
      return false;
  }
}

}  // namespace calveth
