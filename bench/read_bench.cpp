// Reading a base OBJ file from the page cache: our reader beside tinyobjloader, on one file.
#include <benchmark/benchmark.h>
#include <tiny_obj_loader.h>

#include <filesystem>
#include <memory>

#include "bench_bases.h"
#include "objio/base_reader.h"

namespace calveth::bench {
namespace {

struct NoWarnings final : WarningSink {
  void warn(std::string_view) override {}
};

void readCalveth(benchmark::State& state) {
  const std::string path = benchBaseFile(40000, Symmetry::Perfect);
  auto buffer = std::make_unique<BaseReadBuffer>();
  NoWarnings warnings;
  for (auto _ : state) {
    FileSource file(path);
    LineReader reader(file);
    readBaseFile(reader, *buffer, warnings);
    benchmark::DoNotOptimize(buffer->X.data());
  }
  state.SetBytesProcessed(state.iterations() *
                          static_cast<std::int64_t>(std::filesystem::file_size(path)));
  state.SetLabel(std::to_string(buffer->vertexCount) + " v, " + std::to_string(buffer->faceCount) +
                 " f");
}

void readTinyObjLoader(benchmark::State& state) {
  const std::string path = benchBaseFile(40000, Symmetry::Perfect);
  std::size_t vertices = 0;
  for (auto _ : state) {
    tinyobj::attrib_t attrib;
    std::vector<tinyobj::shape_t> shapes;
    std::vector<tinyobj::material_t> materials;
    std::string warn;
    std::string err;
    tinyobj::LoadObj(&attrib, &shapes, &materials, &warn, &err, path.c_str(), nullptr, false);
    vertices = attrib.vertices.size() / 3;
    benchmark::DoNotOptimize(attrib.vertices.data());
  }
  state.SetBytesProcessed(state.iterations() *
                          static_cast<std::int64_t>(std::filesystem::file_size(path)));
  state.SetLabel(std::to_string(vertices) + " v");
}

BENCHMARK(readCalveth)->Name("ReadBaseFile/calveth")->Unit(benchmark::kMillisecond);
BENCHMARK(readTinyObjLoader)->Name("ReadBaseFile/tinyobjloader")->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace calveth::bench
