#include "win32/beep_tone.h"

#include <windows.h>

namespace calveth {

// Beep cannot be interrupted: a newer request waits at most the one tone that plays.
BeepTone::BeepTone()
    : worker_([](const ToneRequest& tone, const ToneWorker::Superseded&) {
        Beep(static_cast<DWORD>(tone.frequencyHz), static_cast<DWORD>(tone.durationMs));
      }) {}

void BeepTone::sound(int frequencyHz, int durationMs) {
  worker_.request(ToneRequest{frequencyHz, durationMs});
}

}  // namespace calveth
