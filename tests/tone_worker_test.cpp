// The tone worker: requests are played one at a time, a newer one replaces a waiting one and
// stops the playing one, and the worker ends cleanly in any state. The tests synchronise
// with the worker through gates, never through waiting a while.
#include "sound/tone_worker.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace calveth {
namespace {

// A flag that one thread sets and another waits for.
class Gate {
 public:
  void open() {
    {
      const std::lock_guard lock(mutex_);
      open_ = true;
    }
    changed_.notify_all();
  }
  void waitOpen() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return open_; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool open_ = false;
};

// Records what the worker plays. Each request's play waits until the test lets it finish,
// after noting whether it had been told that it was superseded.
class Recorder {
 public:
  ToneWorker::Play play() {
    return [this](const ToneRequest& tone, const ToneWorker::Superseded& superseded) {
      std::size_t index = 0;
      {
        const std::lock_guard lock(mutex_);
        played_.push_back(tone);
        index = played_.size() - 1;
      }
      changed_.notify_all();
      gate(index).waitOpen();
      const std::lock_guard lock(mutex_);
      supersededAtEnd_.push_back(superseded());
    };
  }

  // Waits until the worker has started `count` plays.
  void waitStarted(std::size_t count) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return played_.size() >= count; });
  }

  Gate& gate(std::size_t index) {
    const std::lock_guard lock(mutex_);
    while (gates_.size() <= index) {
      gates_.push_back(std::make_unique<Gate>());
    }
    return *gates_[index];
  }

  std::vector<ToneRequest> played() {
    const std::lock_guard lock(mutex_);
    return played_;
  }
  std::vector<bool> supersededAtEnd() {
    const std::lock_guard lock(mutex_);
    return supersededAtEnd_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<ToneRequest> played_;
  std::vector<bool> supersededAtEnd_;
  std::vector<std::unique_ptr<Gate>> gates_;
};

constexpr ToneRequest kA{570, 500};
constexpr ToneRequest kB{440, 100};
constexpr ToneRequest kC{880, 200};
constexpr ToneRequest kD{1000, 50};

TEST(ToneWorker, PlaysEachRequestThatArrivesWhileIdle) {
  Recorder recorder;
  {
    ToneWorker worker(recorder.play());
    worker.request(kA);
    recorder.waitStarted(1);
    recorder.gate(0).open();
    worker.request(kB);
    recorder.waitStarted(2);
    recorder.gate(1).open();
  }
  EXPECT_EQ(recorder.played(), (std::vector<ToneRequest>{kA, kB}));
}

TEST(ToneWorker, PlaysOnlyTheNewestOfTheRequestsThatArriveWhilePlaying) {
  Recorder recorder;
  {
    ToneWorker worker(recorder.play());
    worker.request(kA);
    recorder.waitStarted(1);
    worker.request(kB);
    worker.request(kC);
    worker.request(kD);
    recorder.gate(0).open();
    recorder.waitStarted(2);
    recorder.gate(1).open();
  }
  EXPECT_EQ(recorder.played(), (std::vector<ToneRequest>{kA, kD}));
  // The first tone was told to stop for the newer one; the newest was not (the worker's end
  // may or may not have come before it finished, so its flag is not asked).
  ASSERT_GE(recorder.supersededAtEnd().size(), 1u);
  EXPECT_TRUE(recorder.supersededAtEnd()[0]);
}

TEST(ToneWorker, AFinishedToneIsNotSuperseded) {
  Recorder recorder;
  Gate checked;
  bool supersededWhilePlaying = true;
  {
    ToneWorker worker([&](const ToneRequest&, const ToneWorker::Superseded& superseded) {
      supersededWhilePlaying = superseded();
      checked.open();
    });
    worker.request(kA);
    checked.waitOpen();
  }
  EXPECT_FALSE(supersededWhilePlaying);
}

TEST(ToneWorker, EndingTellsThePlayingToneToStopAndWaitsForIt) {
  Gate playing;
  bool stopped = false;
  {
    ToneWorker worker([&](const ToneRequest&, const ToneWorker::Superseded& superseded) {
      playing.open();
      while (!superseded()) {
        std::this_thread::yield();
      }
      stopped = true;
    });
    worker.request(kA);
    playing.waitOpen();
  }
  // The destructor returned only after the play had seen the request to stop and finished.
  EXPECT_TRUE(stopped);
}

TEST(ToneWorker, EndingWhileIdlePlaysNothing) {
  int plays = 0;
  {
    ToneWorker worker([&](const ToneRequest&, const ToneWorker::Superseded&) { ++plays; });
  }
  EXPECT_EQ(plays, 0);
}

}  // namespace
}  // namespace calveth
