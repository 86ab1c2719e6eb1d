#include "objio/face_line.h"

#include <gtest/gtest.h>

#include <ostream>
#include <random>
#include <string>
#include <string_view>
#include <vector>

// The same source compiled without SSE2 and AVX2 into this namespace: eight bytes at a time.
namespace calveth_portable {
calveth::FaceLine parseFaceLine(std::string_view line, int verticesReadSoFar, int* corners,
                                std::size_t room);
}  // namespace calveth_portable

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

class FaceLineTable : public ::testing::TestWithParam<FaceCase> {};

TEST_P(FaceLineTable, TakesTheFirstFieldOfEachGroup) {
  const FaceCase& c = GetParam();
  ASSERT_TRUE(isFaceLine(c.line));
  int corners[16] = {};
  const FaceLine face = parseFaceLine(c.line, c.verticesSoFar, corners, 16);
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
        FaceCase{"continuation", "f 1 2 \\\n", 8, Bad, 3, 1, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FaceLine, ReportsTooManyCornersWithoutWritingPastTheRoom) {
  int corners[4] = {-9, -9, -9, -9};
  const FaceLine face = parseFaceLine("f 1 2 3 4 5\n", 5, corners, 3);
  EXPECT_EQ(face.status, FaceLineStatus::TooManyCorners);
  EXPECT_EQ(face.groups, 5);
  EXPECT_EQ(corners[3], -9);
}

TEST(FaceLine, AnEmptyViewIsMalformedWithoutReadingPastIt) {
  int corners[4] = {};
  const FaceLine face = parseFaceLine(std::string_view(), 0, corners, 4);
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

// Short lines are read by quick paths and long ones by the general reading; blanks at the
// end change nothing, so a line and the same line made long must read alike, and alike again
// where the quick paths are built without SSE2 and AVX2. The second alphabet makes lines that
// the widest path takes, with fields of up to nine digits.
TEST(FaceLine, ShortAndLongFormsOfRandomLinesReadAlike) {
  const std::string alphabets[] = {
      std::string("0123456789/ 0123456789/ \t\r\n+-xe.") + '\0',
      "1234567890123456789012/  ",
  };
  std::mt19937 random(15);
  for (const std::string& alphabet : alphabets) {
    for (int round = 0; round < 20000; ++round) {
      std::string line = "f ";
      const int length = static_cast<int>(random() % 70);
      for (int k = 0; k < length; ++k) {
        line += alphabet[random() % alphabet.size()];
      }
      line += "\n";
      const std::string longForm = line + std::string(120, ' ');
      constexpr std::size_t kRoom = 40;
      int quick[kRoom] = {};
      int portable[kRoom] = {};
      int general[kRoom] = {};
      const FaceLine a = parseFaceLine(line, 30, quick, kRoom);
      const FaceLine p = calveth_portable::parseFaceLine(line, 30, portable, kRoom);
      const FaceLine b = parseFaceLine(longForm, 30, general, kRoom);
      for (const FaceLine& other : {p, b}) {
        ASSERT_EQ(a.status, other.status) << line;
        ASSERT_EQ(a.groups, other.groups) << line;
      }
      if (a.status == FaceLineStatus::Ok) {
        const std::vector<int> expected(general, general + b.groups);
        ASSERT_EQ(std::vector<int>(quick, quick + a.groups), expected) << line;
        ASSERT_EQ(std::vector<int>(portable, portable + p.groups), expected) << line;
      }
    }
  }
}

}  // namespace
}  // namespace calveth
