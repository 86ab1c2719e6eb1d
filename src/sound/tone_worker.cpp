#include "sound/tone_worker.h"

#include <utility>

namespace calveth {

ToneWorker::ToneWorker(Play play) : play_(std::move(play)), thread_([this] { run(); }) {}

ToneWorker::~ToneWorker() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
    waiting_.reset();
  }
  wake_.notify_one();
  thread_.join();
}

void ToneWorker::request(const ToneRequest& tone) {
  {
    const std::lock_guard lock(mutex_);
    waiting_ = tone;
  }
  wake_.notify_one();
}

bool ToneWorker::superseded() {
  const std::lock_guard lock(mutex_);
  return stopping_ || waiting_.has_value();
}

void ToneWorker::run() {
  const Superseded check = [this] { return superseded(); };
  for (;;) {
    ToneRequest tone;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return stopping_ || waiting_.has_value(); });
      if (stopping_) {
        return;
      }
      tone = *waiting_;
      waiting_.reset();
    }
    play_(tone, check);
  }
}

}  // namespace calveth
