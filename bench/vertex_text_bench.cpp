// The numbers of the "v" lines: our six-decimal writer beside std::to_chars and
// snprintf("%f"), which give the same digits, and our number scanner beside std::from_chars
// and strtod, which give the same values.
#include <benchmark/benchmark.h>

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "objio/decimal_reading.h"
#include "objio/decimal_writing.h"

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

// The coordinates' six-decimal texts, each ended by a blank as in a "v" line.
const std::string& coordinateText() {
  static const std::string text = [] {
    std::string all;
    char number[kFixedDecimalMaxChars];
    for (double x : coordinates()) {
      all.append(number, writeFixedDecimal(number, x));
      all += ' ';
    }
    return all;
  }();
  return text;
}

template <typename Scan>
void numberScan(benchmark::State& state, Scan scan) {
  const std::string& text = coordinateText();
  for (auto _ : state) {
    double sum = 0.0;
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p != end) {
      double value = 0.0;
      p = scan(p, end, value) + 1;  // past the blank
      sum += value;
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}

BENCHMARK_CAPTURE(numberScan, scanDecimalNumber, [](const char* p, const char* end, double& value) {
  return scanDecimalNumber(p, end, value);
})->Name("NumberScan/scanDecimalNumber");
BENCHMARK_CAPTURE(numberScan, from_chars, [](const char* p, const char* end, double& value) {
  return std::from_chars(p, end, value).ptr;
})->Name("NumberScan/from_chars");
// The blank after each number ends strtod's reading, as the NUL of a copied token would.
BENCHMARK_CAPTURE(numberScan, strtod, [](const char* p, const char*, double& value) {
  char* stop = nullptr;
  value = std::strtod(p, &stop);
  return static_cast<const char*>(stop);
})->Name("NumberScan/strtod");

}  // namespace
}  // namespace calveth::bench
