// The desktop program's tone on Windows: Beep with the frequency and length, played by one
// worker thread so that the dialog never waits for it.
#pragma once

#include "ports/tone_port.h"
#include "sound/tone_worker.h"

namespace calveth {

class BeepTone final : public TonePort {
 public:
  BeepTone();
  void sound(int frequencyHz, int durationMs) override;

 private:
  ToneWorker worker_;
};

}  // namespace calveth
