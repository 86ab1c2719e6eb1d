// "v" lines through the parser and through each of its readings, the quick paths against the
// reference on the same tables and on random lines.
#include "objio/vertex_line.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <ostream>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "objio/decimal_reading.h"
#include "objio/obj_characters.h"
#include "objio/reading_variants.h"
#include "support/reading_variants_print.h"
#include "support/six_decimal_lines.h"

namespace calveth {
namespace {

struct VertexCase {
  const char* name;
  std::string line;
  bool ok;
  int converted;
  double x, y, z;
};

// Test names carry the case name; gtest need not print the bytes.
void PrintTo(const VertexCase& c, std::ostream* os) { *os << c.name; }

using VertexReading = ReadingVariant<VertexLineParser>;

class VertexLineTable : public ::testing::TestWithParam<std::tuple<VertexReading, VertexCase>> {};

// The parser itself, then each of its readings.
TEST_P(VertexLineTable, ParsesThreeWholeNumbers) {
  const auto& [reading, c] = GetParam();
  if (reading.function == nullptr) {
    GTEST_SKIP() << reading.absence << ": " << reading.name;
  }
  ASSERT_TRUE(isVertexLine(c.line));
  const VertexLine v = reading.function(c.line);
  EXPECT_EQ(v.ok, c.ok);
  EXPECT_EQ(v.converted, c.converted);
  if (c.ok) {
    EXPECT_EQ(v.x, c.x);
    EXPECT_EQ(v.y, c.y);
    EXPECT_EQ(v.z, c.z);
  }
}

std::vector<VertexReading> parserAndReadings() {
  std::vector<VertexReading> all = {{"parseVertexLine", &parseVertexLine, nullptr}};
  all.insert(all.end(), vertexLineReadings().begin(), vertexLineReadings().end());
  return all;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, VertexLineTable,
    ::testing::Combine(
        ::testing::ValuesIn(parserAndReadings()),
        ::testing::Values(
            VertexCase{"plain", "v 1 2 3\n", true, 3, 1, 2, 3},
            // the form the quick paths take
            VertexCase{"six_decimals", "v 0.123456 -1.500000 9.999999\n", true, 3, 0.123456, -1.5,
                       9.999999},
            VertexCase{"six_decimals_crlf", "v -0.000001 0.000000 -9.000000\r\n", true, 3,
                       -0.000001, 0, -9},
            VertexCase{"six_decimals_no_line_end", "v 1.000000 2.000000 3.000000", true, 3, 1, 2,
                       3},
            VertexCase{"six_decimals_then_w", "v 1.000000 2.000000 3.000000 1.000000\n", true, 3, 1,
                       2, 3},
            VertexCase{"six_decimals_bad_third", "v 1.000000 2.000000 3.00000x\n", false, 2, 0, 0,
                       0},
            VertexCase{"six_decimals_comma_first", "v 1,000000 2.000000 3.000000\n", false, 0, 0, 0,
                       0},
            VertexCase{"crlf", "v 1 2 3\r\n", true, 3, 1, 2, 3},
            VertexCase{"no_line_end", "v 1 2 3", true, 3, 1, 2, 3},
            VertexCase{"blank_runs", "v   5.0   -1.5    0.25  \n", true, 3, 5, -1.5, 0.25},
            VertexCase{"tab_separated", "v\t1\t2\t3\n", true, 3, 1, 2, 3},
            VertexCase{"tabs_and_blanks", "v \t1 \t 2\t 3\t\n", true, 3, 1, 2, 3},
            VertexCase{"four_numbers_w", "v 1 2 3 1.0\n", true, 3, 1, 2, 3},
            VertexCase{"six_numbers_colour", "v 1 2 3 0.5 0.5 0.5\n", true, 3, 1, 2, 3},
            VertexCase{"trailing_comment", "v 1 2 3 # note\n", true, 3, 1, 2, 3},
            VertexCase{"seventeen_digits", "v 0.12345678901234567 -1.2345678901234567 1e-5\n", true,
                       3, 0.12345678901234567, -1.2345678901234567, 1e-5},
            VertexCase{"long_token", "v 0.000000000000000000000000000001 2 3\n", true, 3, 1e-30, 2,
                       3},
            VertexCase{"two_numbers", "v 1 2\n", false, 2, 0, 0, 0},
            VertexCase{"nothing", "v \n", false, 0, 0, 0, 0},
            VertexCase{"letters", "v a b c\n", false, 0, 0, 0, 0},
            VertexCase{"trailing_letters", "v 1.5abc 2 3\n", false, 0, 0, 0, 0},
            VertexCase{"nan", "v nan 0 0\n", false, 0, 0, 0, 0},
            VertexCase{"inf_second", "v 0 inf 0\n", false, 1, 0, 0, 0},
            VertexCase{"overflow_third", "v 0 0 1e999\n", false, 2, 0, 0, 0},
            VertexCase{"decimal_comma", "v 0,5 1 2\n", false, 0, 0, 0, 0},
            VertexCase{"msvc_indefinite", "v 1.#IND 0 0\n", false, 0, 0, 0, 0},
            VertexCase{"nul_inside", std::string("v 1 2\0 3\n", 9), false, 1, 0, 0, 0})),
    [](const auto& info) {
      return std::string(std::get<0>(info.param).name) + "_" + std::get<1>(info.param).name;
    });

// Lines in the six-decimal form that most files use, and spellings one byte away from it (a
// comma, a second integer digit, a missing decimal, a tab, two blanks, a sign alone, no line
// end): each gives exactly what reading its tokens one by one with scanDecimalNumber gives.
TEST(VertexLine, SixDecimalLinesReadAsTheirTokens) {
  const std::vector<std::string> variants = {
      "v 0.123456 -1.500000 9.999999\n",  "v -0.000000 0.000000 -0.000001\r\n",
      "v 0,123456 1.000000 2.000000\n",   "v 12.345678 1.000000 2.000000\n",
      "v 0.12345 1.000000 2.000000\n",    "v 0.123456\t1.000000 2.000000\n",
      "v 0.123456  1.000000 2.000000\n",  "v - 1.000000 2.000000\n",
      "v 0.123456 1.000000 2.000000",     "v 0.123456 1.000000 2.000000 1.000000\n",
      "v\t0.123456 1.000000 2.000000\n",  "v 0.123456 1.000000 2.00000x\n",
      "v 0.123456 1.000000 2.000000\t\n", "v 0.1234567 1.000000 2.000000\n",
      "v 0/123456 1.000000 2.000000\n",   "v 0.123456 1.000000 +2.000000\n"};
  std::vector<std::string> lines = variants;
  std::mt19937 random(6);
  for (int k = 0; k < 3000; ++k) {
    lines.push_back(testing::randomSixDecimalLine(random) + "\n");
  }
  for (const std::string& line : lines) {
    const VertexLine v = parseVertexLine(line);
    double expected[3] = {0, 0, 0};
    int converted = 0;
    const char* p = line.data() + 1;
    const char* const end = line.data() + line.size();
    for (; converted < 3; ++converted) {
      while (p != end && isObjSpace(*p)) {
        ++p;
      }
      const char* after = scanDecimalNumber(p, end, expected[converted]);
      if (after == nullptr || (after != end && !isObjSpace(*after))) {
        break;
      }
      p = after;
    }
    EXPECT_EQ(v.converted, converted) << line;
    EXPECT_EQ(v.ok, converted == 3) << line;
    if (v.ok) {
      const double got[3] = {v.x, v.y, v.z};
      EXPECT_EQ(std::memcmp(got, expected, sizeof got), 0) << line;
    }
  }
}

std::uint64_t bitsOf(double value) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

class VertexLineReadings : public ::testing::TestWithParam<VertexReading> {};

// Six-decimal lines and the same lines with one byte changed: each reading gives what the
// reference gives, to the bit.
TEST_P(VertexLineReadings, ReadRandomLinesAsTheReference) {
  const VertexReading& reading = GetParam();
  if (reading.function == nullptr) {
    GTEST_SKIP() << reading.absence << ": " << reading.name;
  }
  const std::string bytes = std::string("0123456789.- \t\r\n+,e") + '\0';
  std::mt19937 random(9);
  for (int k = 0; k < 20000; ++k) {
    std::string line = testing::randomSixDecimalLine(random);
    line += random() % 4 == 0 ? "\r\n" : "\n";
    if (k % 2 == 1) {
      line[1 + random() % (line.size() - 1)] = bytes[random() % bytes.size()];
    }
    const VertexLine expected = parseVertexLineReference(line);
    const VertexLine got = reading.function(line);
    ASSERT_EQ(got.ok, expected.ok) << line;
    ASSERT_EQ(got.converted, expected.converted) << line;
    if (expected.ok) {
      ASSERT_EQ(bitsOf(got.x), bitsOf(expected.x)) << line;
      ASSERT_EQ(bitsOf(got.y), bitsOf(expected.y)) << line;
      ASSERT_EQ(bitsOf(got.z), bitsOf(expected.z)) << line;
    }
  }
}

// A line that ends right after a number's blank, in memory of exactly its size (so that the
// address sanitizer sees a read past it): each reading stops at its end.
TEST_P(VertexLineReadings, LinesEndingAfterABlankAreReadToTheirEndOnly) {
  const VertexReading& reading = GetParam();
  if (reading.function == nullptr) {
    GTEST_SKIP() << reading.absence << ": " << reading.name;
  }
  for (const std::string text : {"v 1.000000 ", "v 1.000000 -2.000000 "}) {
    const auto bytes = std::make_unique<char[]>(text.size());
    std::memcpy(bytes.get(), text.data(), text.size());
    const std::string_view line(bytes.get(), text.size());
    const VertexLine v = reading.function(line);
    EXPECT_FALSE(v.ok) << text;
    EXPECT_EQ(v.converted, parseVertexLineReference(line).converted) << text;
  }
}

INSTANTIATE_TEST_SUITE_P(All, VertexLineReadings, ::testing::ValuesIn(vertexLineReadings()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(VertexLine, OnlyVBlankOrVTabIsAVertexLine) {
  EXPECT_FALSE(isVertexLine("vt 0.5 0.5\n"));
  EXPECT_FALSE(isVertexLine("vn 0 1 0\n"));
  EXPECT_FALSE(isVertexLine("v\n"));
  EXPECT_FALSE(isVertexLine(" v 1 2 3\n"));
  EXPECT_TRUE(isVertexLine("v\t1 2 3\n"));
}

}  // namespace
}  // namespace calveth
