// "f" lines through the parser and through each of its readings, the quick paths against the
// reference on the same tables and on random lines.
#include "objio/face_line.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <random>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "objio/reading_variants.h"
#include "support/reading_variants_print.h"

namespace calveth {
namespace {

struct FaceCase {
  const char* name;
  std::string line;
  int verticesSoFar;
  FaceLineStatus status;
  int groups;
  int type;
  std::vector<int> corners;  // checked when the status is Ok
};

// Test names carry the case name; gtest need not print the bytes.
void PrintTo(const FaceCase& c, std::ostream* os) { *os << c.name; }

using FaceReading = ReadingVariant<FaceLineParser>;

std::vector<FaceReading> parserAndReadings() {
  std::vector<FaceReading> all = {{"parseFaceLine", &parseFaceLine, nullptr}};
  all.insert(all.end(), faceLineReadings().begin(), faceLineReadings().end());
  return all;
}

// Room for every reading to take its lines, the AVX2 one included.
constexpr std::size_t kRoom = 40;
static_assert(kRoom >= kFaceLineAvx2Room);

class FaceLineTable : public ::testing::TestWithParam<std::tuple<FaceReading, FaceCase>> {};

// The parser itself, then each of its readings.
TEST_P(FaceLineTable, TakesTheFirstFieldOfEachGroup) {
  const auto& [reading, c] = GetParam();
  if (reading.function == nullptr) {
    GTEST_SKIP() << reading.absence << ": " << reading.name;
  }
  ASSERT_TRUE(isFaceLine(c.line));
  int corners[kRoom] = {};
  const FaceLine face = reading.function(c.line, c.verticesSoFar, corners, kRoom);
  EXPECT_EQ(face.status, c.status);
  EXPECT_EQ(face.groups, c.groups);
  EXPECT_EQ(faceCornerType(c.line), c.type);
  if (c.status == FaceLineStatus::Ok) {
    EXPECT_EQ(std::vector<int>(corners, corners + face.groups), c.corners);
  }
}

constexpr auto Ok = FaceLineStatus::Ok;
constexpr auto Bad = FaceLineStatus::Malformed;

INSTANTIATE_TEST_SUITE_P(
    Lines, FaceLineTable,
    ::testing::Combine(
        ::testing::ValuesIn(parserAndReadings()),
        ::testing::Values(
            FaceCase{"plain", "f 1 2 3\n", 3, Ok, 3, 1, {1, 2, 3}},
            FaceCase{"last_group_without_line_end", "f 1 2 3", 3, Ok, 3, 1, {1, 2, 3}},
            FaceCase{"v_vt_quad", "f 1/1 2/2 3/3 4/4\r\n", 4, Ok, 4, 2, {1, 2, 3, 4}},
            FaceCase{"v_vt_vn", "f 7/3/2 8/4/2 9/5/2\n", 9, Ok, 3, 3, {7, 8, 9}},
            FaceCase{"v_empty_vt_vn", "f 7//2 8//2 9//2\n", 9, Ok, 3, 3, {7, 8, 9}},
            FaceCase{"tabs_and_trailing_blanks", "f\t1\t 2  3 \t\n", 3, Ok, 3, 1, {1, 2, 3}},
            FaceCase{"relative", "f -4 -3 -2 -1\n", 8, Ok, 4, 1, {5, 6, 7, 8}},
            FaceCase{"relative_below_one_kept", "f -4 -3 -2\n", 0, Ok, 3, 1, {-4, -3, -2}},
            FaceCase{"zero_kept", "f 0/0/0 1/1/0 3/3/0\n", 3, Ok, 3, 3, {0, 1, 3}},
            FaceCase{"plus_sign", "f +1 +2 +3\n", 3, Ok, 3, 1, {1, 2, 3}},
            FaceCase{"past_count_kept", "f 1 2 99\n", 3, Ok, 3, 1, {1, 2, 99}},
            FaceCase{"int_max", "f 2147483647 1 2\n", 3, Ok, 3, 1, {2147483647, 1, 2}},
            FaceCase{"texture_field_unchecked", "f 1/x 2/y 3/z\n", 3, Ok, 3, 2, {1, 2, 3}},
            // long texture and normal fields are skipped eight bytes at a time
            FaceCase{"long_fields",
                     "f 11/123456789/98765432 22/1/2\t33/123456789012//7 \r\n",
                     40,
                     Ok,
                     3,
                     3,
                     {11, 22, 33}},
            FaceCase{"control_byte_in_texture_field",
                     std::string("f 1/1\0\x01xyzabc 2/2 3/3\n", 22),
                     3,
                     Ok,
                     3,
                     2,
                     {1, 2, 3}},
            FaceCase{"one_corner", "f 1\n", 8, Bad, 1, 1, {}},
            FaceCase{"two_corners", "f 8 7\n", 8, Bad, 2, 1, {}},
            FaceCase{"no_corner", "f \n", 8, Bad, 0, 1, {}},
            FaceCase{"letters", "f a b c\n", 8, Bad, 3, 1, {}},
            FaceCase{"empty_vertex_field", "f /1 /2 /3\n", 8, Bad, 3, 2, {}},
            FaceCase{"too_big", "f 2147483648 1 2\n", 8, Bad, 3, 1, {}},
            FaceCase{"trailing_junk", "f 1x 2 3\n", 8, Bad, 3, 1, {}},
            FaceCase{"continuation", "f 1 2 \\\n", 8, Bad, 3, 1, {}},
            // the forms the quick paths take: under 16, under 32 and under 64 bytes, eight-digit
            // fields (refused by both quick paths), and more than four groups (the AVX2 fold's
            // second round)
            FaceCase{"short_v_vt", "f 1/1 22/2 333/3\n", 333, Ok, 3, 2, {1, 22, 333}},
            FaceCase{"medium_v_vt_vn",
                     "f 1234/5/6 2345/6/7 3456/7/8\n",
                     3456,
                     Ok,
                     3,
                     3,
                     {1234, 2345, 3456}},
            FaceCase{"long_v_vt_vn",
                     "f 1234567/1/1 2345678/2/2 3456789/3/3 4567890/4/4\n",
                     4567890,
                     Ok,
                     4,
                     3,
                     {1234567, 2345678, 3456789, 4567890}},
            FaceCase{"eight_digit_fields",
                     "f 12345678 23456789 34567890\n",
                     40000000,
                     Ok,
                     3,
                     1,
                     {12345678, 23456789, 34567890}},
            FaceCase{"eight_groups", "f 1 2 3 4 5 6 7 8\n", 8, Ok, 8, 1, {1, 2, 3, 4, 5, 6, 7, 8}},
            FaceCase{"thirty_two_groups",
                     "f 1 2 3 4 5 6 7 8 9 1 2 3 4 5 6 7 8 9 1 2 3 4 5 6 7 8 9 1 2 3 4 5\n",
                     9,
                     Ok,
                     32,
                     1,
                     {1, 2, 3, 4, 5, 6, 7, 8, 9, 1, 2, 3, 4, 5, 6, 7,
                      8, 9, 1, 2, 3, 4, 5, 6, 7, 8, 9, 1, 2, 3, 4, 5}},
            FaceCase{"short_with_letter", "f 1 2 3x\n", 3, Bad, 3, 1, {}},
            FaceCase{"slash_starts_group", "f 1 2 /3\n", 3, Bad, 3, 1, {}},
            // the last line of a file without a line end, its last group ending with the line
            FaceCase{"five_groups_without_line_end",
                     "f 1/1 2/2 3/3 4/4 5/5",
                     5,
                     Ok,
                     5,
                     2,
                     {1, 2, 3, 4, 5}},
            FaceCase{"long_five_groups_without_line_end",
                     "f 11/11/11 22/22/22 33/33/33 44/44/44 55/55/55",
                     55,
                     Ok,
                     5,
                     3,
                     {11, 22, 33, 44, 55}},
            FaceCase{"twenty_digit_field", "f 00000000000000000001 2 3\n", 3, Bad, 3, 1, {}})),
    [](const auto& info) {
      return std::string(std::get<0>(info.param).name) + "_" + std::get<1>(info.param).name;
    });

class FaceLineReadings : public ::testing::TestWithParam<FaceReading> {};

TEST_P(FaceLineReadings, ReportTooManyCornersWithoutWritingPastTheRoom) {
  const FaceReading& reading = GetParam();
  if (reading.function == nullptr) {
    GTEST_SKIP() << reading.absence << ": " << reading.name;
  }
  int corners[4] = {-9, -9, -9, -9};
  const FaceLine face = reading.function("f 1 2 3 4 5\n", 5, corners, 3);
  EXPECT_EQ(face.status, FaceLineStatus::TooManyCorners);
  EXPECT_EQ(face.groups, 5);
  EXPECT_EQ(corners[3], -9);
}

TEST_P(FaceLineReadings, TakeAnEmptyViewAsMalformedWithoutReadingPastIt) {
  const FaceReading& reading = GetParam();
  if (reading.function == nullptr) {
    GTEST_SKIP() << reading.absence << ": " << reading.name;
  }
  int corners[kRoom] = {};
  const FaceLine face = reading.function(std::string_view(), 0, corners, kRoom);
  EXPECT_EQ(face.status, FaceLineStatus::Malformed);
  EXPECT_EQ(face.groups, 0);
}

TEST(FaceLine, ManyCornersFit) {
  std::string line = "f";
  for (int k = 1; k <= 5000; ++k) {
    line += ' ';
    line += std::to_string(k);
  }
  std::vector<int> corners(5000);
  const FaceLine face = parseFaceLine(line, 5000, corners.data(), corners.size());
  EXPECT_EQ(face.status, FaceLineStatus::Ok);
  EXPECT_EQ(face.groups, 5000);
  EXPECT_EQ(corners.back(), 5000);
}

// Random lines, in memory of exactly their size: each reading gives what the reference gives.
// The second alphabet makes lines that the AVX2 reading takes, with fields of up to nine digits.
TEST_P(FaceLineReadings, ReadRandomLinesAsTheReference) {
  const FaceReading& reading = GetParam();
  if (reading.function == nullptr) {
    GTEST_SKIP() << reading.absence << ": " << reading.name;
  }
  const std::string alphabets[] = {
      std::string("0123456789/ 0123456789/ \t\r\n+-xe.") + '\0',
      "1234567890123456789012/  ",
  };
  std::mt19937 random(15);
  for (const std::string& alphabet : alphabets) {
    for (int round = 0; round < 20000; ++round) {
      std::string text = "f ";
      const int length = static_cast<int>(random() % 70);
      for (int k = 0; k < length; ++k) {
        text += alphabet[random() % alphabet.size()];
      }
      text += round % 3 == 0 ? "" : "\n";
      const auto bytes = std::make_unique<char[]>(text.size());
      std::copy(text.begin(), text.end(), bytes.get());
      const std::string_view line(bytes.get(), text.size());
      int got[kRoom] = {};
      int expected[kRoom] = {};
      const FaceLine a = reading.function(line, 30, got, kRoom);
      const FaceLine b = parseFaceLineReference(line, 30, expected, kRoom);
      // Blanks at the end change nothing, and make the line too long for the quick paths.
      int padded[kRoom] = {};
      const FaceLine c = reading.function(text + std::string(120, ' '), 30, padded, kRoom);
      for (const FaceLine& other : {b, c}) {
        ASSERT_EQ(a.status, other.status) << text;
        ASSERT_EQ(a.groups, other.groups) << text;
      }
      if (b.status == FaceLineStatus::Ok) {
        const std::vector<int> reference(expected, expected + b.groups);
        ASSERT_EQ(std::vector<int>(got, got + a.groups), reference) << text;
        ASSERT_EQ(std::vector<int>(padded, padded + c.groups), reference) << text;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(All, FaceLineReadings, ::testing::ValuesIn(faceLineReadings()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace calveth
