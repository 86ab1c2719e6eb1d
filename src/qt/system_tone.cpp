#include "qt/system_tone.h"

#include <QApplication>
#include <QMetaObject>
#include <utility>

#include "sound/tone_worker.h"

#if defined(_WIN32)
#include <windows.h>
#elif defined(CALVETH_HAVE_ALSA)
#include "linux/alsa_tone.h"
#endif

namespace calveth {
namespace {

// QApplication::beep() needs a QApplication; a program with only a QGuiApplication (or
// none) stays silent rather than crash.
void beepNow() {
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr) {
    QApplication::beep();
  }
}

// The fallback: the window system's bell, which returns at once by itself.
class BeepTone final : public TonePort {
 public:
  void sound(int, int) override { beepNow(); }
};

class WorkerTone final : public TonePort {
 public:
  explicit WorkerTone(ToneWorker::Play play) : worker_(std::move(play)) {}
  void sound(int frequencyHz, int durationMs) override {
    worker_.request(ToneRequest{frequencyHz, durationMs});
  }

 private:
  ToneWorker worker_;
};

#if !defined(_WIN32) && defined(CALVETH_HAVE_ALSA)
constexpr const char* kDevice = "default";

// The worker may not touch widgets; the beep is queued to the application's thread. The
// application outlives the worker: the tone is destroyed (and its thread joined) first.
void beepOnGuiThread() {
  if (QCoreApplication* const application = QCoreApplication::instance()) {
    QMetaObject::invokeMethod(application, &beepNow, Qt::QueuedConnection);
  }
}
#endif

}  // namespace

std::unique_ptr<TonePort> makeSystemTone() {
#if defined(_WIN32)
  return std::make_unique<WorkerTone>([](const ToneRequest& tone, const ToneWorker::Superseded&) {
    // Beep cannot be interrupted; a newer request waits at most this one tone.
    Beep(static_cast<DWORD>(tone.frequencyHz), static_cast<DWORD>(tone.durationMs));
  });
#elif defined(CALVETH_HAVE_ALSA)
  if (!alsaDeviceOpens(kDevice)) {
    return std::make_unique<BeepTone>();
  }
  return std::make_unique<WorkerTone>(
      [](const ToneRequest& tone, const ToneWorker::Superseded& superseded) {
        if (playAlsaTone(kDevice, tone, superseded) == AlsaOutcome::failed) {
          beepOnGuiThread();
        }
      });
#else
  return std::make_unique<BeepTone>();
#endif
}

}  // namespace calveth
