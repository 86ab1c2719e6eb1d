#include "symmetry/open_base.h"

#include <algorithm>

#include "objio/line_reader.h"
#include "ports/status_text.h"
#include "symmetry/auto_pairs.h"
#include "symmetry/exact_pairs.h"

namespace calveth {
namespace {

class CappedWarnings final : public WarningSink {
 public:
  explicit CappedWarnings(Host& host) : host_(host) {}
  // Past the shown ones a warning is only counted: a body part whose corners overflow the
  // table can have tens of thousands of them.
  bool shows() const override { return count_ < kMaxFaceWarnings; }
  void warn(std::string_view text) override {
    if (++count_ <= kMaxFaceWarnings) {
      host_.warn(text);
    }
  }
  void skip() override { ++count_; }
  // The last line sums up: how many face lines were not stored in all.
  void finish() {
    if (count_ > kMaxFaceWarnings) {
      host_.warn(formatText("%d face lines were not stored, %d of them not listed", count_,
                            count_ - kMaxFaceWarnings));
    } else if (count_ == 1) {
      host_.warn("1 face line was not stored");
    } else if (count_ > 1) {
      host_.warn(formatText("%d face lines were not stored", count_));
    }
  }

 private:
  Host& host_;
  int count_ = 0;
};

// Moves the progress bar with the hits and asks the question before the first tolerance pass.
// A host repaints on every move, so moves are spaced to about 1/256 of the range; the last
// position is always the final hit count.
class AnalysisHooks final : public AutoDetectHooks {
 public:
  AnalysisHooks(MeshStore& store, Host& host, ViewerPort& viewer)
      : store_(store), host_(host), viewer_(viewer) {
    const int range = static_cast<int>(store.baseVertexCount);
    step_ = range / 256 > 1 ? range / 256 : 1;
  }
  void hits(int symmetryHits) override {
    latest_ = symmetryHits;
    if (latest_ - shown_ >= step_) {
      show();
    }
  }
  bool startFirstPass() override {
    show();
    const int count = static_cast<int>(store_.baseVertexCount);
    viewer_.refresh(baseViewerInput(store_, count, store_.faceCount));
    return host_.askYesNo(kAutoDetectQuestion);
  }
  void finish() {
    if (latest_ != shown_) {
      show();
    }
  }

 private:
  void show() {
    host_.setProgressPosition(latest_);
    shown_ = latest_;
  }

  MeshStore& store_;
  Host& host_;
  ViewerPort& viewer_;
  int step_ = 1;
  int latest_ = 0;
  int shown_ = 0;
};

}  // namespace

BaseOutcome OpenBase(MeshStore& store, BaseScratch& scratch, Host& host, ViewerPort& viewer,
                     CommandSteps& steps) {
  const auto path = host.chooseOpenFile({"Base Body Parts(*.obj)|*.obj||", "*.obj", "obj"});
  if (!path) {
    return BaseOutcome::Cancelled;
  }
  steps.reached(CommandStep::BaseFileChosen);

  FileSource file(*path);
  if (!file.isOpen()) {
    showStatus(host, "ERR: Obj file not open");
    return BaseOutcome::Refused;
  }
  BaseReadBuffer& staging = scratch.staging;
  LineReader reader(file);
  CappedWarnings warnings(host);
  const BaseReadOutcome outcome = readBaseFile(reader, staging, warnings);
  warnings.finish();
  store.vTokenCount = staging.vTokenCount;
  if (outcome == BaseReadOutcome::ReadError) {
    // A file that fails part-way through cannot be trusted more than one that never opened.
    showStatus(host, "ERR: Obj file not open");
    return BaseOutcome::Refused;
  }
  if (outcome == BaseReadOutcome::VertexLineError) {
    showStatus(host, formatText("ERR: Obj file v line err![%d]", staging.vTokenCount));
    return BaseOutcome::Refused;
  }
  if (staging.tooManyVertices || staging.vertexCount == 0) {
    const std::string text = formatText("ERR: v line out of range (%d-%d)",
                                        static_cast<int>(staging.vertexCount), staging.vLinesMet);
    viewer.refresh(baseViewerInput(store, 0, 0));
    host.setStatusText(text);
    return BaseOutcome::Refused;
  }

  commitBase(staging, store);
  // The displacements belong to an MT of an earlier base: none of them applies to this one,
  // and the viewer would mark every vertex they left non-zero as moved.
  std::fill_n(store.DeltaX.begin(), store.baseVertexCount, 0.0);
  std::fill_n(store.DeltaY.begin(), store.baseVertexCount, 0.0);
  std::fill_n(store.DeltaZ.begin(), store.baseVertexCount, 0.0);
  return analyseBase(store, scratch.index, host, viewer);
}

BaseOutcome analyseBase(MeshStore& store, MirrorIndex& index, Host& host, ViewerPort& viewer) {
  store.mirrorIncomplete = 0;
  const int count = static_cast<int>(store.baseVertexCount);
  showStatus(host, "Processing...");
  host.repaintNow();
  host.setProgressRange(0, count);
  store.mtVertexCount = store.baseVertexCount;

  AnalysisHooks hooks(store, host, viewer);
  const int exactHits = findExactPartners(store, index, hooks);
  const AutoDetectResult result = autoDetectPartners(store, index, exactHits, hooks);
  hooks.finish();

  viewer.refresh(baseViewerInput(store, count, store.faceCount));
  showStatus(host,
             formatText("OK:Symmetry(%d/%d) LVL=%d", result.symmetryHits, count, result.level));
  store.mirrorIncomplete = 1;
  if (result.symmetryHits == count) {
    if (result.autoPairs == 0) {
      showStatus(host, formatText("OK: Perfect symmetry V=%d F=%d", count, store.faceCount));
    } else {
      showStatus(host, formatText("OK: symmetry  H=%d E=%d LVL=%d", count, result.autoPairs,
                                  result.level));
    }
    store.mirrorIncomplete = 0;
  }

  if (result.symmetryHits < 2) {
    showStatus(host, "NG: Mirror V.C.M can't build up.");
    return BaseOutcome::WithoutMirror;
  }
  if (store.duplicateHit == 1) {
    showStatus(host, "CRITICAL ERR:Same Point HIT");
    viewer.refresh(baseViewerInput(store, count, store.faceCount));
    return BaseOutcome::SamePointHit;
  }
  return BaseOutcome::Usable;
}

}  // namespace calveth
