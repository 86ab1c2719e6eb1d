// The desktop program's tone: the TonePort that sounds on this machine.
#pragma once

#include <memory>

#include "ports/tone_port.h"

namespace calveth {

// The system's tone for the running QApplication, to be destroyed before it.
//
// - Linux with ALSA: the tone is generated and played on the "default" playback device by
//   one worker thread, so `sound` returns at once. Whether the device opens is asked here, on
//   the calling (GUI) thread; when it does not (no sound card, as in containers), or when it
//   fails later on the worker, QApplication::beep() is sounded on the GUI thread instead.
// - Windows: Beep with the frequency and length, on one worker thread.
// - Otherwise: QApplication::beep(), which has no pitch or length.
std::unique_ptr<TonePort> makeSystemTone();

}  // namespace calveth
