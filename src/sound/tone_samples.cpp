#include "sound/tone_samples.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace calveth {

std::vector<std::int16_t> toneSamples(int frequencyHz, int durationMs, int sampleRate) {
  if (frequencyHz <= 0 || durationMs <= 0 || sampleRate <= 0 ||
      static_cast<long long>(frequencyHz) * 2 >= sampleRate) {
    return {};
  }
  const auto count =
      static_cast<std::size_t>(static_cast<long long>(sampleRate) * durationMs / 1000);
  const std::size_t fade = std::min(
      static_cast<std::size_t>(static_cast<long long>(sampleRate) * kToneFadeMs / 1000), count / 4);
  std::vector<std::int16_t> samples(count);
  const double step = 2 * std::numbers::pi * frequencyHz / sampleRate;
  for (std::size_t i = 0; i < count; ++i) {
    // The gain rises along half a cosine: smooth at both ends of the fade, so the fade
    // itself adds no click.
    double gain = 1.0;
    const std::size_t fromEnd = count - 1 - i;
    const std::size_t edge = std::min(i, fromEnd);
    if (edge < fade) {
      gain = 0.5 - 0.5 * std::cos(std::numbers::pi * static_cast<double>(edge) /
                                  static_cast<double>(fade));
    }
    // The phase is computed from the index, not accumulated, so a long tone does not drift.
    const double value = kToneAmplitude * gain * std::sin(step * static_cast<double>(i));
    samples[i] = static_cast<std::int16_t>(std::lround(value));
  }
  return samples;
}

}  // namespace calveth
