// The text of the "v" lines: our six-decimal writer beside std::to_chars and snprintf("%f"),
// which give the same digits.
#include <benchmark/benchmark.h>

#include <charconv>
#include <cstdio>
#include <random>
#include <vector>

#include "objio/obj_tokens.h"

namespace calveth::bench {
namespace {

// Coordinates as body parts have them: within a few units of the origin.
const std::vector<double>& coordinates() {
  static const std::vector<double> values = [] {
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> spread(-2.0, 2.0);
    std::vector<double> v(120000);
    for (double& x : v) {
      x = spread(random);
    }
    return v;
  }();
  return values;
}

template <typename Write>
void vertexText(benchmark::State& state, Write write) {
  std::vector<char> out(coordinates().size() * (kFixedDecimalMaxChars + 1));
  std::size_t bytes = 0;
  for (auto _ : state) {
    char* at = out.data();
    for (double x : coordinates()) {
      at = write(at, x);
      *at++ = ' ';
    }
    bytes = static_cast<std::size_t>(at - out.data());
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes));
}

BENCHMARK_CAPTURE(vertexText, writeFixedDecimal, [](char* at, double x) {
  return writeFixedDecimal(at, x);
})->Name("VertexText/writeFixedDecimal");
BENCHMARK_CAPTURE(vertexText, to_chars, [](char* at, double x) {
  return std::to_chars(at, at + kFixedDecimalMaxChars, x, std::chars_format::fixed, 6).ptr;
})->Name("VertexText/to_chars");
BENCHMARK_CAPTURE(vertexText, snprintf, [](char* at, double x) {
  return at + std::snprintf(at, kFixedDecimalMaxChars, "%f", x);
})->Name("VertexText/snprintf");

}  // namespace
}  // namespace calveth::bench
