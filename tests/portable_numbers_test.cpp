// The number conversions built without floating-point <charconv> (as some WebAssembly
// toolchains' libraries have it) against the ones built with it: the same values and the same
// text, for numbers of every kind.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "objio/obj_tokens.h"
#include "support/six_decimal_lines.h"

// The same source compiled with CALVETH_FLOAT_CHARCONV=0 into this namespace.
namespace calveth_portable {
const char* scanDecimalNumber(const char* begin, const char* end, double& value);
char* writeFixedDecimal(char* out, double value);
char* writeShortestDecimal(char* out, double value);
calveth::VertexLine parseVertexLine(std::string_view line);
}  // namespace calveth_portable

namespace calveth {
namespace {

double fromBits(std::uint64_t bits) {
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

std::uint64_t bitsOf(double value) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

// Doubles of every kind: random bit patterns, small coordinates, powers of two and their
// neighbours (where the gap below is half the gap above), integers near the limits of plain
// notation, subnormals and the extremes.
std::vector<double> sampleDoubles() {
  std::vector<double> values = {0.0,
                                -0.0,
                                1.0,
                                0.1,
                                1e15,
                                1e16,
                                1e21,
                                1e22,
                                1e23,
                                123456789012345678.0,
                                5e-324,
                                2.2250738585072014e-308,
                                std::numeric_limits<double>::max(),
                                std::numeric_limits<double>::infinity(),
                                -std::numeric_limits<double>::infinity()};
  std::mt19937_64 random(20261209);
  for (int k = 0; k < 40000; ++k) {
    const double v = fromBits(random());
    if (!std::isnan(v)) {
      values.push_back(v);
    }
  }
  std::uniform_real_distribution<double> coordinate(-3.0, 3.0);
  for (int k = 0; k < 20000; ++k) {
    values.push_back(coordinate(random));
  }
  for (int e = -1074; e <= 1023; ++e) {
    const double p = std::ldexp(1.0, e);
    values.push_back(p);
    values.push_back(std::nextafter(p, 0.0));
    values.push_back(std::nextafter(p, 2 * p));
  }
  for (double integer = 1.0; integer < 1e25; integer = integer * 7.0 + 3.0) {
    values.push_back(integer);
    values.push_back(-integer);
  }
  return values;
}

// Decimal texts of every kind: up to 40 digits with the point anywhere, exponents far past
// both ends of the double range, the rare forms the fast path leaves to the slow one.
std::vector<std::string> sampleTexts() {
  std::vector<std::string> texts = {"1e-400",
                                    "-1e-400",
                                    "1e400",
                                    "4.9e-324",
                                    "2.47e-324",
                                    "1e23",
                                    "9007199254740993",
                                    "1.7976931348623159e308",
                                    ".5",
                                    "2.",
                                    "+7e-5",
                                    "0.000000000000000000001"};
  std::mt19937_64 random(15);
  for (int k = 0; k < 40000; ++k) {
    std::string text = random() % 2 == 0 ? "-" : "";
    const auto digits = static_cast<int>(1 + random() % 40);
    const auto point = static_cast<int>(random() % static_cast<std::uint64_t>(digits + 1));
    for (int d = 0; d < digits; ++d) {
      if (d == point) {
        text += '.';
      }
      text += static_cast<char>('0' + random() % 10);
    }
    if (random() % 2 == 0) {
      text += 'e' + std::to_string(static_cast<int>(random() % 700) - 350);
    }
    texts.push_back(text);
  }
  return texts;
}

TEST(PortableNumbers, ReadTheSameValues) {
  for (const std::string& text : sampleTexts()) {
    const char* const end = text.data() + text.size();
    double standard = 0.5;
    double portable = 0.5;
    const char* const standardEnd = scanDecimalNumber(text.data(), end, standard);
    const char* const portableEnd = calveth_portable::scanDecimalNumber(text.data(), end, portable);
    ASSERT_EQ(standardEnd == nullptr, portableEnd == nullptr) << text;
    if (standardEnd != nullptr) {
      ASSERT_EQ(standardEnd - text.data(), portableEnd - text.data()) << text;
      ASSERT_EQ(bitsOf(standard), bitsOf(portable)) << text;
    }
  }
}

// Six-decimal "v" lines, read side by side with SSE2 where it exists and eight bytes at a time
// elsewhere, and the same lines with one byte changed: both forms read them alike.
TEST(PortableNumbers, ReadTheSameVertexLines) {
  const std::string bytes = std::string("0123456789.- \t\r\n+,e") + '\0';
  std::mt19937 random(9);
  for (int k = 0; k < 20000; ++k) {
    std::string line = testing::randomSixDecimalLine(random);
    line += random() % 4 == 0 ? "\r\n" : "\n";
    if (k % 2 == 1) {
      line[1 + random() % (line.size() - 1)] = bytes[random() % bytes.size()];
    }
    const VertexLine here = parseVertexLine(line);
    const VertexLine portable = calveth_portable::parseVertexLine(line);
    ASSERT_EQ(here.ok, portable.ok) << line;
    ASSERT_EQ(here.converted, portable.converted) << line;
    if (here.ok) {
      ASSERT_EQ(bitsOf(here.x), bitsOf(portable.x)) << line;
      ASSERT_EQ(bitsOf(here.y), bitsOf(portable.y)) << line;
      ASSERT_EQ(bitsOf(here.z), bitsOf(portable.z)) << line;
    }
  }
}

// A line that ends right after a number's blank, in memory of exactly its size (so that the
// address sanitizer sees a read past it): both forms stop at its end.
TEST(PortableNumbers, VertexLinesEndingAfterABlankAreReadToTheirEndOnly) {
  for (const std::string text : {"v 1.000000 ", "v 1.000000 -2.000000 "}) {
    const auto bytes = std::make_unique<char[]>(text.size());
    std::memcpy(bytes.get(), text.data(), text.size());
    const std::string_view line(bytes.get(), text.size());
    const VertexLine portable = calveth_portable::parseVertexLine(line);
    EXPECT_FALSE(portable.ok) << text;
    EXPECT_EQ(portable.converted, parseVertexLine(line).converted) << text;
  }
}

TEST(PortableNumbers, WriteTheSameText) {
#ifdef _WIN32
  // The portable forms rest on the C library's strtod and printf, which glibc and the
  // WebAssembly toolchain's library round correctly; the Windows C runtime does not (for
  // 0x1p-792 its round trip accepts a 16-digit text of another number). Windows builds always
  // take <charconv>, so the portable forms are never used there.
  GTEST_SKIP() << "the Windows C runtime's strtod and printf are not correctly rounded";
#endif
  for (const double value : sampleDoubles()) {
    char standard[kFixedDecimalMaxChars];
    char portable[kFixedDecimalMaxChars];
    const auto text = [](const char* begin, const char* end) { return std::string(begin, end); };
    if (std::isfinite(value)) {
      const char* const standardEnd = writeFixedDecimal(standard, value);
      const char* const portableEnd = calveth_portable::writeFixedDecimal(portable, value);
      ASSERT_EQ(text(standard, standardEnd), text(portable, portableEnd)) << value;
    }
    const char* const standardEnd = writeShortestDecimal(standard, value);
    const char* const portableEnd = calveth_portable::writeShortestDecimal(portable, value);
    ASSERT_EQ(text(standard, standardEnd), text(portable, portableEnd)) << std::hexfloat << value;
  }
}

// A program whose locale writes a decimal comma (the desktop program takes the user's) reads
// and writes points all the same.
TEST(PortableNumbers, IgnoreTheLocalesDecimalComma) {
  const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
  if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr &&
      std::setlocale(LC_NUMERIC, "fr_FR.UTF-8") == nullptr) {
    GTEST_SKIP() << "no locale with a decimal comma installed";
  }
  double value = 0.0;
  const std::string text = "1.25e-320";
  EXPECT_EQ(calveth_portable::scanDecimalNumber(text.data(), text.data() + text.size(), value),
            text.data() + text.size());
  const double expected = 1.25e-320;
  char fixed[kFixedDecimalMaxChars];
  char shortest[kShortestDecimalMaxChars];
  const std::string fixedText(fixed,
                              calveth_portable::writeFixedDecimal(fixed, 1e15 + 0.5) - fixed);
  const std::string shortestText(shortest,
                                 calveth_portable::writeShortestDecimal(shortest, 0.1) - shortest);
  std::setlocale(LC_NUMERIC, previous.c_str());
  EXPECT_EQ(bitsOf(value), bitsOf(expected));
  EXPECT_EQ(fixedText, "1000000000000000.500000");
  EXPECT_EQ(shortestText, "0.1");
}

}  // namespace
}  // namespace calveth
