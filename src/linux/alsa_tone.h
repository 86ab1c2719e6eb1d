// Tones on an ALSA playback device (Linux). No Qt here: the desktop program's tone uses it
// from its worker thread, and tests play into a file instead of a sound card.
#pragma once

#include "sound/tone_worker.h"

namespace calveth {

inline constexpr int kAlsaToneRate = 44100;

// True when the playback device can be opened now. The device is opened without waiting (a
// device that another program holds refuses at once instead of blocking the caller) and
// closed again. ALSA's own messages are kept off standard error: a machine without a sound
// card is an expected case, not an error to tell the user about.
bool alsaDeviceOpens(const char* device);

enum class AlsaOutcome { played, stopped, failed };

// Plays the tone as 16-bit mono samples at kAlsaToneRate on `device`, and returns when it
// has been played (`played`), when `superseded()` turned true (`stopped`, checked between
// blocks of about 20 ms and while the last samples drain) or when the device cannot be
// opened, set up or written to (`failed`). Never waits on the device without checking
// `superseded()` again soon, so a stalled device cannot hold up the program's exit.
AlsaOutcome playAlsaTone(const char* device, const ToneRequest& tone,
                         const ToneWorker::Superseded& superseded);

}  // namespace calveth
