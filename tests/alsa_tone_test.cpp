// Tones through ALSA without a sound card: ALSA's "file" plugin over its "null" device
// stores exactly the samples that reach the device. Each test points ALSA at a
// configuration that defines that device, and "default" as it.
#include "linux/alsa_tone.h"

#include <alsa/asoundlib.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "ports/tone_port.h"
#include "qt/system_tone.h"
#include "sound/tone_samples.h"
#include "support/temp_dir.h"

namespace calveth {
namespace {

using testing::readFile;
using testing::TempDir;

constexpr const char* kCapture = "calveth_capture";

class AlsaTone : public ::testing::Test {
 protected:
  void SetUp() override {
    capturePath_ = dir_.file("tone.raw");
    const std::string config =
        dir_.write("capture.conf", std::string("pcm.") + kCapture +
                                       " {\n  type file\n  slave.pcm \"null\"\n"
                                       "  file \"" +
                                       capturePath_ + "\"\n  format \"raw\"\n}\n" +
                                       "pcm.!default " + kCapture + "\n");
    const std::string path = std::string(snd_config_topdir()) + "/alsa.conf:" + config;
    ::setenv("ALSA_CONFIG_PATH", path.c_str(), 1);
  }
  void TearDown() override { ::unsetenv("ALSA_CONFIG_PATH"); }

  std::string captured() const { return readFile(capturePath_); }

  static std::string bytesOf(const ToneRequest& tone) {
    const std::vector<std::int16_t> samples =
        toneSamples(tone.frequencyHz, tone.durationMs, kAlsaToneRate);
    return std::string(reinterpret_cast<const char*>(samples.data()),
                       samples.size() * sizeof(std::int16_t));
  }

  TempDir dir_;
  std::string capturePath_;
};

constexpr ToneRequest kRefusedKey{kRefusedKeyToneHz, kRefusedKeyToneMs};

TEST_F(AlsaTone, PlaysEverySampleOfTheTone) {
  const auto never = [] { return false; };
  EXPECT_EQ(playAlsaTone(kCapture, kRefusedKey, never), AlsaOutcome::played);
  EXPECT_EQ(captured(), bytesOf(kRefusedKey));
}

TEST_F(AlsaTone, PlaysAToneShorterThanTheDeviceBuffer) {
  // 441 samples: less than one block of writing and less than the device's buffer.
  const ToneRequest shortTone{1000, 10};
  EXPECT_EQ(playAlsaTone(kCapture, shortTone, [] { return false; }), AlsaOutcome::played);
  EXPECT_EQ(captured(), bytesOf(shortTone));
}

TEST_F(AlsaTone, StopsPartWayWhenSuperseded) {
  int checks = 0;
  const auto afterThreeBlocks = [&] { return ++checks > 3; };
  EXPECT_EQ(playAlsaTone(kCapture, kRefusedKey, afterThreeBlocks), AlsaOutcome::stopped);
  const std::string full = bytesOf(kRefusedKey);
  const std::string part = captured();
  EXPECT_LT(part.size(), full.size());
  EXPECT_EQ(part, full.substr(0, part.size())) << "what was played is the tone's beginning";
}

TEST_F(AlsaTone, AMissingDeviceFails) {
  EXPECT_FALSE(alsaDeviceOpens("calveth_no_such_device"));
  EXPECT_EQ(playAlsaTone("calveth_no_such_device", kRefusedKey, [] { return false; }),
            AlsaOutcome::failed);
  EXPECT_TRUE(alsaDeviceOpens(kCapture));
}

TEST_F(AlsaTone, TheSystemTonePlaysOnTheDefaultDevice) {
  const std::string expected = bytesOf(kRefusedKey);
  std::unique_ptr<TonePort> tone = makeSystemTone();
  tone->sound(kRefusedKeyToneHz, kRefusedKeyToneMs);
  // The worker plays on; its file is complete once the device is closed. The wait is only
  // bounded so that a fault ends the test instead of hanging it.
  for (int i = 0; i < 1000 && captured().size() < expected.size(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  tone.reset();
  EXPECT_EQ(captured(), expected);
}

}  // namespace
}  // namespace calveth
