// The generated tone: its length, pitch, loudness and the fades that keep it from clicking.
#include "sound/tone_samples.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ostream>

#include "ports/tone_port.h"

namespace calveth {
namespace {

struct ToneCase {
  const char* name;
  int frequencyHz;
  int durationMs;
  int sampleRate;
};

void PrintTo(const ToneCase& c, std::ostream* os) { *os << c.name; }

// Sign changes between consecutive non-zero samples: two per period of the sine.
int zeroCrossings(const std::vector<std::int16_t>& samples) {
  int crossings = 0;
  int lastSign = 0;
  for (const std::int16_t s : samples) {
    const int sign = (s > 0) - (s < 0);
    if (sign != 0) {
      crossings += lastSign != 0 && sign != lastSign;
      lastSign = sign;
    }
  }
  return crossings;
}

int peakOf(const std::vector<std::int16_t>& samples, std::size_t from, std::size_t to) {
  int peak = 0;
  for (std::size_t i = from; i < to; ++i) {
    peak = std::max(peak, std::abs(static_cast<int>(samples[i])));
  }
  return peak;
}

class Tone : public ::testing::TestWithParam<ToneCase> {};

TEST_P(Tone, HasTheLengthPitchLoudnessAndQuietEndsOfItsArguments) {
  const ToneCase& c = GetParam();
  const std::vector<std::int16_t> samples = toneSamples(c.frequencyHz, c.durationMs, c.sampleRate);

  const std::size_t expectedLength =
      static_cast<std::size_t>(static_cast<long long>(c.sampleRate) * c.durationMs / 1000);
  ASSERT_EQ(samples.size(), expectedLength);

  const double periods = static_cast<double>(c.frequencyHz) * c.durationMs / 1000;
  EXPECT_NEAR(zeroCrossings(samples), 2 * periods, 1.0);

  const int peak = peakOf(samples, 0, samples.size());
  EXPECT_LE(peak, kToneAmplitude);
  EXPECT_GE(peak, 0.95 * kToneAmplitude) << "the middle of the tone reaches full swing";

  // The ends are silent and the fades rise gently: the outer tenth of a fade stays below 3 %
  // of full swing (a tone cut on at full swing would show its peak right there).
  const std::size_t fade =
      std::min(static_cast<std::size_t>(static_cast<long long>(c.sampleRate) * kToneFadeMs / 1000),
               samples.size() / 4);
  const std::size_t outer = std::max<std::size_t>(fade / 10, 1);
  EXPECT_LE(std::abs(samples.front()), 1);
  EXPECT_LE(std::abs(samples.back()), 1);
  EXPECT_LE(peakOf(samples, 0, outer), 0.03 * kToneAmplitude);
  EXPECT_LE(peakOf(samples, samples.size() - outer, samples.size()), 0.03 * kToneAmplitude);
}

INSTANTIATE_TEST_SUITE_P(
    Samples, Tone,
    ::testing::Values(ToneCase{"refused_key_44100", kRefusedKeyToneHz, kRefusedKeyToneMs, 44100},
                      ToneCase{"refused_key_48000", kRefusedKeyToneHz, kRefusedKeyToneMs, 48000},
                      ToneCase{"low_rate", 440, 100, 8000}, ToneCase{"odd_rate", 1000, 250, 22050},
                      ToneCase{"high_pitch_short", 3000, 40, 44100},
                      // So short that the fades take a quarter of the tone each, not kToneFadeMs.
                      ToneCase{"fade_limited_by_length", 570, 10, 44100},
                      ToneCase{"one_millisecond", 4000, 1, 44100}),
    [](const ::testing::TestParamInfo<ToneCase>& info) { return std::string(info.param.name); });

class NoTone : public ::testing::TestWithParam<ToneCase> {};

TEST_P(NoTone, GivesNoSamples) {
  const ToneCase& c = GetParam();
  EXPECT_TRUE(toneSamples(c.frequencyHz, c.durationMs, c.sampleRate).empty());
}

INSTANTIATE_TEST_SUITE_P(Samples, NoTone,
                         ::testing::Values(ToneCase{"zero_frequency", 0, 500, 44100},
                                           ToneCase{"negative_frequency", -570, 500, 44100},
                                           ToneCase{"zero_length", 570, 0, 44100},
                                           ToneCase{"negative_length", 570, -500, 44100},
                                           ToneCase{"zero_rate", 570, 500, 0},
                                           ToneCase{"at_half_the_rate", 22050, 500, 44100},
                                           ToneCase{"above_half_the_rate", 570, 500, 1000},
                                           ToneCase{"shorter_than_one_sample", 100, 1, 500}),
                         [](const ::testing::TestParamInfo<ToneCase>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
}  // namespace calveth
