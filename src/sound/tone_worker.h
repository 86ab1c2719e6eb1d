// One thread that plays tones one after the other, for a caller that must not wait for them.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

namespace calveth {

struct ToneRequest {
  int frequencyHz = 0;
  int durationMs = 0;
  friend bool operator==(const ToneRequest&, const ToneRequest&) = default;
};

// Hands tone requests to a single worker thread. `request` only stores the request and
// returns. At most one request waits: a newer one replaces it, so a key held down or pressed
// quickly costs one tone at a time and never a growing queue or more threads. The request
// being played learns through `superseded()` that a newer one (or the end of the worker)
// is there, and should stop soon, so the newest tone is heard without delay.
//
// The destructor asks the playing tone to stop, drops any waiting one and joins the thread:
// nothing runs on after the worker (and what `play` refers to) is gone.
class ToneWorker {
 public:
  using Superseded = std::function<bool()>;
  using Play = std::function<void(const ToneRequest&, const Superseded& superseded)>;

  explicit ToneWorker(Play play);
  ~ToneWorker();
  ToneWorker(const ToneWorker&) = delete;
  ToneWorker& operator=(const ToneWorker&) = delete;

  void request(const ToneRequest& tone);

 private:
  void run();
  bool superseded();

  Play play_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::optional<ToneRequest> waiting_;
  bool stopping_ = false;
  std::thread thread_;  // last: started once everything it uses exists
};

}  // namespace calveth
