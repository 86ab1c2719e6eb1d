// The stand-ins for floating-point <charconv> (used where the standard library lacks it, as
// some WebAssembly toolchains' do) against <charconv> itself: the same values and the same
// text, for numbers of every kind.
#include "objio/portable_decimal.h"

#include <gtest/gtest.h>

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <string_view>
#include <vector>

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

#if defined(__cpp_lib_to_chars) && __cpp_lib_to_chars >= 201611L
constexpr bool kFloatCharconv = true;
#else
constexpr bool kFloatCharconv = false;
#endif
constexpr const char* kNoCharconv = "no floating-point <charconv> here to compare with";

// A value too large for a double is refused, one too small becomes zero or a subnormal; where
// from_chars says only "out of range", strtold (whose range is larger, or which gives an
// infinity) tells the side.
TEST(PortableDecimal, ReadsWhatFromCharsReads) {
  if constexpr (!kFloatCharconv) {
    GTEST_SKIP() << kNoCharconv;
  } else {
    for (std::string text : sampleTexts()) {
      if (text[0] == '-' || text[0] == '+') {
        text.erase(0, 1);  // the stand-in reads the number after its sign
      }
      const char* const end = text.data() + text.size();
      double standard = 0.5;
      double portable = 0.5;
      const auto [stop, error] = std::from_chars(text.data(), end, standard);
      ASSERT_EQ(stop, end) << text;
      const bool read = readDecimalPortably(text.data(), end, portable);
      if (error == std::errc{}) {
        ASSERT_TRUE(read) << text;
        ASSERT_EQ(bitsOf(standard), bitsOf(portable)) << text;
      } else {
        ASSERT_EQ(error, std::errc::result_out_of_range) << text;
        const bool tooLarge = std::strtold(text.c_str(), nullptr) > 1.0L;
        ASSERT_EQ(read, !tooLarge) << text;
        if (read) {
          ASSERT_LT(portable, std::numeric_limits<double>::min()) << text;
        }
      }
    }
  }
}

TEST(PortableDecimal, WritesWhatToCharsWrites) {
#ifdef _WIN32
  // The stand-ins rest on the C library's strtod and printf, which glibc and the WebAssembly
  // toolchain's library round correctly; the Windows C runtime does not (for 0x1p-792 its
  // round trip accepts a 16-digit text of another number). Windows builds always take
  // <charconv>, so the stand-ins are never used there.
  GTEST_SKIP() << "the Windows C runtime's strtod and printf are not correctly rounded";
#endif
  if constexpr (!kFloatCharconv) {
    GTEST_SKIP() << kNoCharconv;
  } else {
    for (const double value : sampleDoubles()) {
      char standard[kFixedDecimalMaxChars];
      char portable[kFixedDecimalMaxChars];
      const auto text = [](const char* begin, const char* end) { return std::string(begin, end); };
      if (std::isfinite(value)) {
        const char* const standardEnd = std::to_chars(standard, standard + kFixedDecimalMaxChars,
                                                      value, std::chars_format::fixed, 6)
                                            .ptr;
        const char* const portableEnd = writeFixedSixPortably(portable, value);
        ASSERT_EQ(text(standard, standardEnd), text(portable, portableEnd)) << value;
      }
      const char* const standardEnd =
          std::to_chars(standard, standard + kShortestDecimalMaxChars, value).ptr;
      const char* const portableEnd = writeShortestPortably(portable, value);
      ASSERT_EQ(text(standard, standardEnd), text(portable, portableEnd)) << std::hexfloat << value;
    }
  }
}

// The edges of the double range, read without <charconv>.
TEST(PortableDecimal, RefusesOverflowAndKeepsUnderflow) {
  const struct {
    std::string text;
    bool read;
    double value;
  } cases[] = {{"1e400", false, 0.0},
               {"1.7976931348623159e308", false, 0.0},
               {"1.7976931348623157e308", true, std::numeric_limits<double>::max()},
               {"1e-400", true, 0.0},
               {"4.9e-324", true, 5e-324},
               {"2.47e-324", true, 0.0}};
  for (const auto& c : cases) {
    double value = 0.5;
    EXPECT_EQ(readDecimalPortably(c.text.data(), c.text.data() + c.text.size(), value), c.read)
        << c.text;
    if (c.read) {
      EXPECT_EQ(bitsOf(value), bitsOf(c.value)) << c.text;
    }
  }
}

// A program whose locale writes a decimal comma (the desktop program takes the user's) reads
// and writes points all the same.
TEST(PortableDecimal, IgnoresTheLocalesDecimalComma) {
  const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
  if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr &&
      std::setlocale(LC_NUMERIC, "fr_FR.UTF-8") == nullptr) {
    GTEST_SKIP() << "no locale with a decimal comma installed";
  }
  double value = 0.0;
  const std::string text = "1.25e-320";
  const bool read = readDecimalPortably(text.data(), text.data() + text.size(), value);
  const double expected = 1.25e-320;
  char fixed[kFixedDecimalMaxChars];
  char shortest[kShortestDecimalMaxChars];
  const std::string fixedText(fixed, writeFixedSixPortably(fixed, 1e15 + 0.5) - fixed);
  const std::string shortestText(shortest, writeShortestPortably(shortest, 0.1) - shortest);
  std::setlocale(LC_NUMERIC, previous.c_str());
  EXPECT_TRUE(read);
  EXPECT_EQ(bitsOf(value), bitsOf(expected));
  EXPECT_EQ(fixedText, "1000000000000000.500000");
  EXPECT_EQ(shortestText, "0.1");
}

}  // namespace
}  // namespace calveth
