#include "linux/alsa_tone.h"

#include <alsa/asoundlib.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include "sound/tone_samples.h"

namespace calveth {
namespace {

// Frames written per call: about 23 ms, the longest a stop request waits.
constexpr snd_pcm_uframes_t kBlockFrames = 1024;
// The device's buffer: short enough that the tone follows the key at once.
constexpr unsigned kLatencyMicroseconds = 100000;
constexpr int kWaitMs = 20;

void quiet(const char*, int, const char*, int, const char*, ...) {}

void silenceAlsaMessages() {
  static std::once_flag once;
  std::call_once(once, [] { snd_lib_error_set_handler(quiet); });
}

// Closes the device however playing ends.
class Pcm {
 public:
  explicit Pcm(const char* device) {
    silenceAlsaMessages();
    if (snd_pcm_open(&handle_, device, SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0) {
      handle_ = nullptr;
    }
  }
  ~Pcm() {
    if (handle_ != nullptr) {
      snd_pcm_close(handle_);
    }
  }
  Pcm(const Pcm&) = delete;
  Pcm& operator=(const Pcm&) = delete;

  snd_pcm_t* get() const { return handle_; }

 private:
  snd_pcm_t* handle_ = nullptr;
};

}  // namespace

bool alsaDeviceOpens(const char* device) { return Pcm(device).get() != nullptr; }

AlsaOutcome playAlsaTone(const char* device, const ToneRequest& tone,
                         const ToneWorker::Superseded& superseded) {
  const std::vector<std::int16_t> samples =
      toneSamples(tone.frequencyHz, tone.durationMs, kAlsaToneRate);
  if (samples.empty()) {
    return AlsaOutcome::played;
  }
  const Pcm pcm(device);
  snd_pcm_t* const handle = pcm.get();
  if (handle == nullptr ||
      snd_pcm_set_params(handle, SND_PCM_FORMAT_S16, SND_PCM_ACCESS_RW_INTERLEAVED, 1,
                         kAlsaToneRate, 1, kLatencyMicroseconds) < 0) {
    return AlsaOutcome::failed;
  }

  // The device stays in non-blocking mode: every wait is bounded, and `superseded()` is
  // asked again after each one.
  std::size_t written = 0;
  while (written < samples.size()) {
    if (superseded()) {
      snd_pcm_drop(handle);
      return AlsaOutcome::stopped;
    }
    const snd_pcm_uframes_t frames =
        std::min<snd_pcm_uframes_t>(kBlockFrames, samples.size() - written);
    const snd_pcm_sframes_t result = snd_pcm_writei(handle, samples.data() + written, frames);
    if (result >= 0) {
      written += static_cast<std::size_t>(result);
    } else if (result == -EAGAIN) {
      snd_pcm_wait(handle, kWaitMs);
    } else if (snd_pcm_recover(handle, static_cast<int>(result), 1) < 0) {
      return AlsaOutcome::failed;
    }
  }

  // A tone shorter than the buffer has not started by itself yet.
  if (snd_pcm_state(handle) == SND_PCM_STATE_PREPARED) {
    snd_pcm_start(handle);
  }
  // Wait for the buffered samples to be heard; closing now would cut the tone short.
  for (;;) {
    if (superseded()) {
      snd_pcm_drop(handle);
      return AlsaOutcome::stopped;
    }
    snd_pcm_sframes_t delay = 0;
    if (snd_pcm_state(handle) != SND_PCM_STATE_RUNNING || snd_pcm_delay(handle, &delay) < 0 ||
        delay <= 0) {
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(kWaitMs / 2));
  }
  snd_pcm_drop(handle);
  return AlsaOutcome::played;
}

}  // namespace calveth
