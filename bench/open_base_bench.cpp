// "Open Base": the mirror analysis in memory, fast and literal, and the whole command from a file.
#include <benchmark/benchmark.h>

#include <memory>

#include "bench_bases.h"
#include "support/reference_mirror.h"
#include "symmetry/open_base.h"

namespace calveth::bench {
namespace {

void loadBase(MeshStore& store, const meshgen::Mesh& mesh) {
  store.baseVertexCount = static_cast<std::uint32_t>(mesh.vertices.size());
  for (std::size_t i = 0; i < mesh.vertices.size(); ++i) {
    store.BaseX[i] = mesh.vertices[i][0];
    store.BaseY[i] = mesh.vertices[i][1];
    store.BaseZ[i] = mesh.vertices[i][2];
  }
}

template <bool kReference>
void analysis(benchmark::State& state) {
  const int vertices = static_cast<int>(state.range(0));
  const auto symmetry = static_cast<Symmetry>(state.range(1));
  auto store = std::make_unique<MeshStore>();
  auto index = std::make_unique<MirrorIndex>();
  loadBase(*store, benchBase(vertices, symmetry));
  QuietHost host;
  NullViewer viewer;
  for (auto _ : state) {
    if constexpr (kReference) {
      testing::referenceAnalyseBase(*store, host, viewer);
    } else {
      analyseBase(*store, *index, host, viewer);
    }
    benchmark::DoNotOptimize(store->MirrorMap.data());
  }
  state.SetLabel(host.status);
}

void openBaseFromFile(benchmark::State& state) {
  const int vertices = static_cast<int>(state.range(0));
  const auto symmetry = static_cast<Symmetry>(state.range(1));
  auto store = std::make_unique<MeshStore>();
  auto scratch = std::make_unique<BaseScratch>();
  QuietHost host;
  host.path = benchBaseFile(vertices, symmetry);
  NullViewer viewer;
  for (auto _ : state) {
    OpenBase(*store, *scratch, host, viewer);
  }
  state.SetLabel(host.status);
}

// Arguments: vertex count, Symmetry (0 perfect, 1 passes 1 to 20, 2 never pairing).
void allBases(benchmark::internal::Benchmark* b) {
  for (int vertices : {4000, 40000}) {
    for (int symmetry : {0, 1, 2}) {
      b->Args({vertices, symmetry});
    }
  }
  b->ArgNames({"vertices", "symmetry"})->Unit(benchmark::kMillisecond);
}

BENCHMARK(analysis<false>)->Name("MirrorAnalysis/fast")->Apply(allBases);
BENCHMARK(analysis<true>)->Name("MirrorAnalysis/literal")->Apply([](auto* b) {
  allBases(b);
  b->Iterations(1);  // seconds per run at 40000 vertices
});
BENCHMARK(openBaseFromFile)->Name("OpenBase/file")->Apply(allBases);

}  // namespace
}  // namespace calveth::bench
