// The samples of a plain tone, as the desktop program plays it on a sound device.
#pragma once

#include <cstdint>
#include <vector>

namespace calveth {

// Peak value of a tone's samples: about a third of the 16-bit range, a signal rather than a
// blast through headphones.
inline constexpr std::int16_t kToneAmplitude = 11000;

// Length of the fade at each end of a tone. A tone that starts or stops at full swing clicks.
inline constexpr int kToneFadeMs = 5;

// durationMs * sampleRate / 1000 mono 16-bit samples of a sine at frequencyHz, starting at
// phase 0 and faded in and out over kToneFadeMs (at most a quarter of the tone each). Empty
// when any argument is not positive or the frequency is not below half the sample rate
// (such a tone cannot be represented, only its alias).
std::vector<std::int16_t> toneSamples(int frequencyHz, int durationMs, int sampleRate);

}  // namespace calveth
