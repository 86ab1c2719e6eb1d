#include "objio/decimal_reading.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ostream>
#include <random>
#include <string>

namespace calveth {
namespace {

struct NumberCase {
  const char* text;
  bool ok;
  double value;
};

// Without it GoogleTest prints the case's bytes, the padding after `ok` included, which is
// never initialised (valgrind reports it).
void PrintTo(const NumberCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

class DecimalNumberTable : public ::testing::TestWithParam<NumberCase> {};

TEST_P(DecimalNumberTable, AcceptsWholeDecimalNumbersOnly) {
  const NumberCase& c = GetParam();
  double value = 12345.0;
  EXPECT_EQ(parseDecimalNumber(c.text, value), c.ok) << c.text;
  if (c.ok) {
    EXPECT_EQ(std::bit_cast<std::uint64_t>(value), std::bit_cast<std::uint64_t>(c.value))
        << c.text << " gave " << value;
  } else {
    EXPECT_EQ(value, 12345.0) << "a refused number must not change the value";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Spellings, DecimalNumberTable,
    ::testing::Values(
        NumberCase{"0", true, 0.0}, NumberCase{"-0", true, -0.0},
        NumberCase{"-0.000000", true, -0.0}, NumberCase{"+1", true, 1.0},
        NumberCase{"2.", true, 2.0}, NumberCase{"+2.", true, 2.0}, NumberCase{".8e-1", true, 0.08},
        NumberCase{"-.7e+2", true, -70.0}, NumberCase{"1e2", true, 100.0},
        NumberCase{"1E2", true, 100.0}, NumberCase{"2.e-1", true, 0.2},
        NumberCase{"1e10", true, 1e10}, NumberCase{"0.123456", true, 0.123456},
        NumberCase{"-0.12345678901234567", true, -0.12345678901234567},
        NumberCase{"12345678901234567890123", true, 12345678901234567890123.0},
        NumberCase{"4.9e-324", true, 4.9e-324}, NumberCase{"1e-400", true, 0.0},
        NumberCase{"-1e-400", true, -0.0},
        NumberCase{"1.7976931348623157e308", true, 1.7976931348623157e308},
        // refused
        NumberCase{"", false, 0}, NumberCase{"-", false, 0}, NumberCase{".", false, 0},
        NumberCase{"e5", false, 0}, NumberCase{"1e", false, 0}, NumberCase{"1e+", false, 0},
        NumberCase{"1e999", false, 0}, NumberCase{"-1e400", false, 0}, NumberCase{"nan", false, 0},
        NumberCase{"inf", false, 0}, NumberCase{"-inf", false, 0}, NumberCase{"1.#IND", false, 0},
        NumberCase{"0x1p3", false, 0}, NumberCase{"0,5", false, 0}, NumberCase{"1.5abc", false, 0},
        NumberCase{"3.1+e2", false, 0}, NumberCase{"--1", false, 0}, NumberCase{"1..2", false, 0},
        NumberCase{"1 ", false, 0}, NumberCase{"a", false, 0}));

// The fast path must give the same double as the C library for the numbers files hold.
TEST(DecimalNumber, MatchesStrtodOnManyPrintedNumbers) {
  std::mt19937_64 random(7);
  std::uniform_real_distribution<double> magnitude(-3.0, 3.0);
  char text[64];
  for (int k = 0; k < 200000; ++k) {
    const double v = std::pow(10.0, magnitude(random) * 4) * (k % 2 == 0 ? 1 : -1);
    const int digits = 1 + k % 19;
    std::snprintf(text, sizeof text, k % 3 == 0 ? "%.*e" : "%.*f", digits, v);
    double parsed = 0.0;
    ASSERT_TRUE(parseDecimalNumber(text, parsed)) << text;
    ASSERT_EQ(parsed, std::strtod(text, nullptr)) << text;
  }
}

}  // namespace
}  // namespace calveth
