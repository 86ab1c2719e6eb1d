// The morph-target job on a 40000-vertex base and MT, in process: each command alone, saving
// with and without the copy pass, and the whole job from opening the base to the saved file.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include "bench_bases.h"
#include "morph/delta_ops.h"
#include "morph/mirror_swap.h"
#include "morph/open_mt.h"
#include "morph/reset_melt.h"
#include "morph/save_mt.h"
#include "symmetry/open_base.h"

namespace calveth::bench {
namespace {

constexpr int kVertices = 40000;

// A generating command: true when it filled the WorkTarget.
using Command = bool (*)(MeshStore&, Host&, ViewerPort&);

struct Loaded {
  std::unique_ptr<MeshStore> store = std::make_unique<MeshStore>();
  std::unique_ptr<BaseScratch> scratch = std::make_unique<BaseScratch>();
  QuietHost host;
  NullViewer viewer;

  Loaded() {
    host.path = benchBaseFile(kVertices, Symmetry::Perfect);
    OpenBase(*store, *scratch, host, viewer);
    host.path = benchMtFile(kVertices);
    OpenMt(*store, host, viewer);
  }
};

std::string outputPath() {
  return (std::filesystem::temp_directory_path() / "calveth-bench-out.obj").string();
}

void openMt(benchmark::State& state) {
  Loaded loaded;
  for (auto _ : state) {
    OpenMt(*loaded.store, loaded.host, loaded.viewer);
  }
  state.SetBytesProcessed(state.iterations() *
                          static_cast<std::int64_t>(std::filesystem::file_size(loaded.host.path)));
  state.SetLabel(loaded.host.status);
}

template <Command kCommand>
void command(benchmark::State& state) {
  Loaded loaded;
  for (auto _ : state) {
    kCommand(*loaded.store, loaded.host, loaded.viewer);
    benchmark::DoNotOptimize(loaded.store->WorkX.data());
  }
  state.SetLabel(loaded.host.status);
}

// Argument: 1 = vertices only, 0 = with the copy pass.
void saveMt(benchmark::State& state) {
  Loaded loaded;
  MirrorLeftToRight(*loaded.store, loaded.host, loaded.viewer);
  loaded.host.path = outputPath();
  const bool vertexOnly = state.range(0) == 1;
  for (auto _ : state) {
    SaveMt(*loaded.store, loaded.host, vertexOnly);
  }
  state.SetBytesProcessed(state.iterations() *
                          static_cast<std::int64_t>(std::filesystem::file_size(outputPath())));
  state.SetLabel(loaded.host.status);
}

// Open Base, Open MT, "Mirror L->R" and Save (argument as for saveMt), on one store.
void wholeJob(benchmark::State& state) {
  auto store = std::make_unique<MeshStore>();
  auto scratch = std::make_unique<BaseScratch>();
  QuietHost host;
  NullViewer viewer;
  const bool vertexOnly = state.range(0) == 1;
  for (auto _ : state) {
    host.path = benchBaseFile(kVertices, Symmetry::Perfect);
    OpenBase(*store, *scratch, host, viewer);
    host.path = benchMtFile(kVertices);
    OpenMt(*store, host, viewer);
    MirrorLeftToRight(*store, host, viewer);
    host.path = outputPath();
    SaveMt(*store, host, vertexOnly);
  }
  state.SetLabel(host.status);
}

BENCHMARK(openMt)->Name("MorphJob/OpenMt")->Unit(benchmark::kMillisecond);
BENCHMARK(command<MirrorLeftToRight>)->Name("MorphJob/MirrorLeftToRight");
BENCHMARK(command<MirrorRightToLeft>)->Name("MorphJob/MirrorRightToLeft");
BENCHMARK(command<SwapSides>)->Name("MorphJob/Swap");
BENCHMARK(command<MinusDelta>)->Name("MorphJob/Minus");
BENCHMARK(command<PlusDelta>)->Name("MorphJob/Plus");
BENCHMARK(command<ResetLeft>)->Name("MorphJob/ResetLeft");
BENCHMARK(command<ResetRight>)->Name("MorphJob/ResetRight");
BENCHMARK(command<MeltMt>)->Name("MorphJob/Melt");
BENCHMARK(saveMt)
    ->Name("MorphJob/SaveMt")
    ->ArgName("vertexOnly")
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(wholeJob)
    ->Name("MorphJob/whole")
    ->ArgName("vertexOnly")
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace calveth::bench
