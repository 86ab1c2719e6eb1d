// The number text of the written vertex lines: six decimals, the digits of printf's "%f".
#include "objio/decimal_writing.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <ostream>
#include <random>
#include <string>

namespace calveth {
namespace {

std::string fixed(double value) {
  char text[kFixedDecimalMaxChars];
  const char* end = writeFixedDecimal(text, value);
  return std::string(text, static_cast<std::size_t>(end - text));
}

std::string printed(double value) {
  char text[kFixedDecimalMaxChars + 8];
  const int length = std::snprintf(text, sizeof text, "%.6f", value);
  return std::string(text, static_cast<std::size_t>(length));
}

struct NumberCase {
  double value;
  const char* text;
};

void PrintTo(const NumberCase& c, std::ostream* os) { *os << c.text; }

class FixedDecimalTable : public ::testing::TestWithParam<NumberCase> {};

TEST_P(FixedDecimalTable, WritesTheTypedText) {
  EXPECT_EQ(fixed(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Typed, FixedDecimalTable,
    ::testing::Values(
        NumberCase{1.5, "1.500000"}, NumberCase{-0.25, "-0.250000"}, NumberCase{0.0, "0.000000"},
        // a zero has no sign, but a negative value that rounds to zero keeps its minus
        NumberCase{-0.0, "0.000000"}, NumberCase{-0.0000001, "-0.000000"},
        NumberCase{1e-7, "0.000000"},
        // exact ties go to the even last digit, as printf does
        NumberCase{0.0078125, "0.007812"}, NumberCase{0.0234375, "0.023438"},
        NumberCase{-0.0078125, "-0.007812"}, NumberCase{0.5078125, "0.507812"},
        // not exact ties: the double nearest 2.0000005 and 0.9999995 lies above, the one nearest
        // 0.0000005 below
        NumberCase{2.0000005, "2.000001"}, NumberCase{0.9999995, "1.000000"},
        NumberCase{0.0000005, "0.000000"}, NumberCase{0.9999996, "1.000000"},
        NumberCase{-9.9999999, "-10.000000"}, NumberCase{123456.25, "123456.250000"},
        NumberCase{123456789012.5, "123456789012.500000"},
        // around the largest magnitude of the exact integer path
        NumberCase{8796093022207.999, "8796093022207.999023"},
        NumberCase{8796093022208.0, "8796093022208.000000"},
        NumberCase{-8796093022208.5, "-8796093022208.500000"},
        NumberCase{1e20, "100000000000000000000.000000"},
        NumberCase{std::numeric_limits<double>::denorm_min(), "0.000000"},
        NumberCase{-std::numeric_limits<double>::denorm_min(), "-0.000000"},
        NumberCase{DBL_MIN, "0.000000"}));

// Values whose text is too long to type: checked against printf.
TEST(FixedDecimal, LongTextsEqualPrintf) {
  for (double value : {1e300, -1e300, DBL_MAX, -DBL_MAX, 1e22, 1e23, 4.5035996273704955e15,
                       9.2233720368547758e18, 1.8446744073709552e19, 0x1.fffffffffffffp+62}) {
    EXPECT_EQ(fixed(value), printed(value)) << value;
  }
  EXPECT_EQ(fixed(DBL_MAX).size(), 309u + 7u);
}

// Millions of doubles over every magnitude: the same text as printf's "%.6f", except that a
// negative zero is written without its sign.
TEST(FixedDecimal, EqualsPrintfOnMillionsOfValues) {
  std::mt19937_64 random(20261208);
  int checked = 0;
  int mismatches = 0;
  const auto check = [&](double value) {
    if (!std::isfinite(value)) {
      return;
    }
    const std::string expected = value == 0.0 ? std::string("0.000000") : printed(value);
    ++checked;
    if (fixed(value) != expected && ++mismatches <= 10) {
      ADD_FAILURE() << std::hexfloat << value << ": " << fixed(value) << " != " << expected;
    }
  };
  const auto bitsToDouble = [](std::uint64_t bits) {
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  };
  for (int k = 0; k < 500000; ++k) {
    check(bitsToDouble(random()));
  }
  // random mantissas at binary exponents from 2^-40 to 2^70
  std::uniform_int_distribution<int> exponent(-40, 70);
  for (int k = 0; k < 1000000; ++k) {
    const double mantissa = static_cast<double>(random() >> 11) * 0x1p-53;
    check(std::ldexp(k % 2 == 0 ? mantissa : -mantissa, exponent(random)));
  }
  std::uniform_real_distribution<double> coordinate(-10.0, 10.0);
  for (int k = 0; k < 1000000; ++k) {
    check(coordinate(random));
  }
  // k / 2^n and its neighbours: the exact ties of the seventh decimal and next to them
  std::uniform_int_distribution<int> power(7, 40);
  for (int k = 0; k < 300000; ++k) {
    const double tie = std::ldexp(static_cast<double>(random() % 100000000), -power(random));
    check(tie);
    check(-tie);
    check(std::nextafter(tie, 0.0));
    check(std::nextafter(tie, 1e300));
  }
  EXPECT_GT(checked, 3000000);
  EXPECT_EQ(mismatches, 0);
}

}  // namespace
}  // namespace calveth
