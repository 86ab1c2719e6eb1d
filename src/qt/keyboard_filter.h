// The main dialog's keyboard filter, ahead of the dialog's own key handling: Enter and Esc
// sound the refused-key tone and go no further, so Enter never presses a button and Esc
// never closes the dialog; F3 asks the dialog to close and then goes on as usual.
#pragma once

#include <QObject>

#include "ports/tone_port.h"

class QDialog;

namespace calveth {

class KeyboardFilter final : public QObject {
 public:
  // Filters the keys meant for the dialog or any of its controls.
  KeyboardFilter(QDialog& dialog, TonePort& tone);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QDialog& dialog_;
  TonePort& tone_;
  bool closePending_ = false;
};

}  // namespace calveth
