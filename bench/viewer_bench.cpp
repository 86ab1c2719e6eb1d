// The viewer: projection and painting of the largest base the store holds, 40000 vertices.
//
// The corner table holds 160010 corners, so 40000 vertices come with at most 39800 quads
// (the generated limb as it is) or 53336 triangles (the quads split, as far as they fit).
#include <benchmark/benchmark.h>

#include <initializer_list>
#include <memory>
#include <type_traits>

#include "bench_bases.h"
#include "support/recording_canvas.h"
#include "viewer/paint_viewer.h"
#include "viewer/project_mesh.h"
#include "viewer/svg_canvas.h"
#include "viewer/viewer_window_size.h"

namespace calveth::bench {
namespace {

enum class Faces { Quads, Triangles };

// Appends a face of 0-based vertices unless the corner table is full.
void addFace(MeshStore& store, std::size_t& corners, std::initializer_list<int> vertices) {
  if (corners + vertices.size() > kCornerCapacity) {
    return;
  }
  const int f = store.faceCount++;
  store.FaceStart[f] = static_cast<int>(corners);
  store.FaceCornerCount[f] = static_cast<int>(vertices.size());
  for (int v : vertices) {
    store.CornerVertex[corners++] = v + 1;
  }
}

// A symmetric 40000-vertex limb in a store, every vertex paired, one in a hundred moved.
std::unique_ptr<MeshStore> largeBase(Faces faces) {
  const meshgen::Mesh mesh = benchBase(40000, Symmetry::Perfect);
  auto store = std::make_unique<MeshStore>();
  store->baseVertexCount = static_cast<std::uint32_t>(mesh.vertices.size());
  for (std::size_t i = 0; i < mesh.vertices.size(); ++i) {
    store->BaseX[i] = mesh.vertices[i][0];
    store->BaseY[i] = mesh.vertices[i][1];
    store->BaseZ[i] = mesh.vertices[i][2];
    store->MirrorMap[i] = static_cast<int>(i);
    store->DeltaX[i] = i % 100 == 0 ? 0.001 : 0.0;
  }
  std::size_t corners = 0;
  for (const auto& face : mesh.faceVertices) {
    if (faces == Faces::Quads) {
      addFace(*store, corners, {face[0], face[1], face[2], face[3]});
    } else {
      addFace(*store, corners, {face[0], face[1], face[2]});
      addFace(*store, corners, {face[0], face[2], face[3]});
    }
  }
  return store;
}

void project(ScreenData& screen, const MeshStore& store) {
  projectMesh(screen, static_cast<int>(store.baseVertexCount), store.BaseX.data(),
              store.BaseY.data(), store.BaseZ.data(), store.faceCount, store.CornerVertex.data(),
              store.FaceCornerCount.data(), store.FaceStart.data(), 0.3);
}

void projection(benchmark::State& state) {
  const auto store = largeBase(static_cast<Faces>(state.range(0)));
  auto screen = std::make_unique<ScreenData>();
  for (auto _ : state) {
    project(*screen, *store);
    benchmark::DoNotOptimize(screen->axisX);
  }
  state.counters["faces"] = store->faceCount;
}

// The painter's own cost: every call goes nowhere.
class NullCanvas final : public Canvas {
 public:
  void beginPaint() override {}
  void endPaint() override {}
  ClientSize clientSize() const override { return {kViewerClientWidth, kViewerClientHeight}; }
  void fillBlack(ClientSize) override {}
  PenHandle createPen(PenStyle, int, Rgb) override { return {}; }
  PenHandle selectPen(PenHandle) override { return {}; }
  void releasePen(PenHandle) override {}
  FontHandle createFont(std::string_view, int) override { return {}; }
  FontHandle selectFont(FontHandle) override { return {}; }
  void releaseFont(FontHandle) override {}
  void polyPolyline(const ScreenPoint* points, const int*, int) override {
    benchmark::DoNotOptimize(points);
  }
  void polyline(const ScreenPoint* points, int) override { benchmark::DoNotOptimize(points); }
  void setPixel(int x, int, Rgb) override { benchmark::DoNotOptimize(x); }
  void moveTo(int, int) override {}
  void lineTo(int, int) override {}
  void setTextColor(Rgb) override {}
  void setBackgroundColor(Rgb) override {}
  void textOut(int, int, std::string_view) override {}
};

template <typename Surface>
void painting(benchmark::State& state) {
  const auto store = largeBase(static_cast<Faces>(state.range(0)));
  auto screen = std::make_unique<ScreenData>();
  project(*screen, *store);
  Surface canvas = [] {
    if constexpr (std::is_same_v<Surface, SvgCanvas>) {
      return SvgCanvas(kViewerClientWidth, kViewerClientHeight, kViewerDpi);
    } else {
      return Surface();
    }
  }();
  for (auto _ : state) {
    if constexpr (std::is_same_v<Surface, testing::RecordingCanvas>) {
      canvas.clear();  // keeps the storage, as a canvas that draws keeps its surface
    }
    paintViewer(*screen, *store, &canvas);
  }
  state.counters["faces"] = store->faceCount;
}

void shapes(benchmark::internal::Benchmark* b) {
  b->Arg(static_cast<int>(Faces::Quads))
      ->Arg(static_cast<int>(Faces::Triangles))
      ->ArgName("triangles")
      ->Unit(benchmark::kMillisecond);
}

BENCHMARK(projection)->Name("Viewer/projectMesh")->Apply(shapes);
BENCHMARK(painting<NullCanvas>)->Name("Viewer/paintViewer/null")->Apply(shapes);
BENCHMARK(painting<testing::RecordingCanvas>)->Name("Viewer/paintViewer/recording")->Apply(shapes);
BENCHMARK(painting<SvgCanvas>)->Name("Viewer/paintViewer/svg")->Apply(shapes);

}  // namespace
}  // namespace calveth::bench
