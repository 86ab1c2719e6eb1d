#include "objio/line_reader.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "objio/reading_variants.h"
#include "support/reading_variants_print.h"

#if !defined(_WIN32)
#include <sys/resource.h>
#endif

namespace calveth {
namespace {

struct LineCase {
  const char* name;
  std::string bytes;
  std::vector<std::string> lines;
};

// Test names carry the case name; gtest need not print the bytes.
void PrintTo(const LineCase& c, std::ostream* os) { *os << c.name; }

std::vector<std::string> readAll(const std::string& bytes, std::size_t chunk,
                                 bool* sawLongLine = nullptr) {
  MemorySource source(bytes);
  LineReader reader(source, chunk);
  std::vector<std::string> lines;
  std::string_view line;
  while (reader.next(line)) {
    lines.emplace_back(line);
  }
  if (sawLongLine != nullptr) {
    *sawLongLine = reader.sawLongLine();
  }
  return lines;
}

class LineReaderTable : public ::testing::TestWithParam<LineCase> {};

// Every chunk size, down to one byte, so that each line end straddles a refill somewhere.
TEST_P(LineReaderTable, DeliversEveryLineOnceWithItsEnd) {
  const LineCase& c = GetParam();
  for (std::size_t chunk : {1u, 2u, 3u, 5u, 8u, 13u, 64u, 131072u}) {
    EXPECT_EQ(readAll(c.bytes, chunk), c.lines) << "chunk " << chunk;
  }
}

INSTANTIATE_TEST_SUITE_P(
    LineEnds, LineReaderTable,
    ::testing::Values(
        LineCase{"empty", "", {}}, LineCase{"lf", "v 1 2 3\nf 1 2 3\n", {"v 1 2 3\n", "f 1 2 3\n"}},
        LineCase{"crlf", "v 1 2 3\r\nf 1 2 3\r\n", {"v 1 2 3\r\n", "f 1 2 3\r\n"}},
        LineCase{"lone_cr_becomes_lf", "v 1 2 3\rf 1 2 3\r", {"v 1 2 3\n", "f 1 2 3\n"}},
        LineCase{"mixed", "a\r\nb\nc\rd", {"a\r\n", "b\n", "c\n", "d"}},
        LineCase{"last_line_without_end", "a\nb", {"a\n", "b"}},
        LineCase{"cr_at_end_of_data", "a\r", {"a\n"}},
        LineCase{"empty_lines", "\n\r\n\r\n\r\r", {"\n", "\r\n", "\r\n", "\n", "\n"}},
        LineCase{"cr_cr_lf", "a\r\r\nb", {"a\n", "\r\n", "b"}},
        LineCase{"nul_bytes_stay", std::string("v 1\0 2\n", 7), {std::string("v 1\0 2\n", 7)}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LineReader, LongLinesAreDeliveredWholeAndNoted) {
  const std::string longLine = "f" + std::string(5000, ' ') + "1 2 3\n";
  const std::string bytes = "v 0 0 0\n" + longLine + "v 1 1 1";
  for (std::size_t chunk : {7u, 4096u}) {
    bool sawLongLine = false;
    const auto lines = readAll(bytes, chunk, &sawLongLine);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1], longLine);
    EXPECT_EQ(lines[2], "v 1 1 1");
    EXPECT_TRUE(sawLongLine);
  }
}

TEST(LineReader, LongLineThresholdIsNineHundredBytesWithItsEnd) {
  for (const auto& [length, expected] : {std::pair{898u, false}, std::pair{899u, true}}) {
    bool sawLongLine = false;
    readAll(std::string(length - 1, 'x') + "\n", LineReader::kDefaultChunkBytes, &sawLongLine);
    EXPECT_EQ(sawLongLine, expected) << length;
  }
}

// A line past the limit ends the reading as a read error: the lines before it are delivered,
// the cut line never is, and the reader says it failed. At the limit the line is whole.
TEST(LineReader, LineLongerThanTheLimitEndsTheReadingAsAnError) {
  for (const auto& [length, fits] : {std::pair{64u, true}, std::pair{65u, false}}) {
    const std::string bytes = "v 0 0 0\n" + std::string(length - 1, 'x') + "\nv 1 1 1\n";
    MemorySource source(bytes);
    LineReader reader(source, 8, 64);
    std::vector<std::string> lines;
    std::string_view line;
    while (reader.next(line)) {
      lines.emplace_back(line);
    }
    EXPECT_FALSE(reader.next(line));
    EXPECT_EQ(reader.failed(), !fits) << length;
    EXPECT_EQ(lines.size(), fits ? 3u : 1u) << length;
  }
}

// One line without end, as long as anyone asks.
class EndlessLine final : public ByteSource {
 public:
  std::size_t read(char* destination, std::size_t n) override {
    std::memset(destination, 'x', n);
    return n;
  }
};

// When the memory for a long line cannot be had, the reading ends as a read error, in builds
// with exceptions and in builds without them. Run in a child process with its address space
// capped; the sanitizers reserve far more address space than any cap allows.
#if !defined(_WIN32) && !defined(__SANITIZE_ADDRESS__)
[[noreturn]] void readEndlessLineWithLittleMemory() {
  const rlim_t cap = rlim_t{1} << 30;
  const rlimit limit{cap, cap};
  if (setrlimit(RLIMIT_AS, &limit) != 0) {
    std::exit(2);
  }
  // A line limit far beyond the cap: only the memory can end this line.
  EndlessLine source;
  LineReader reader(source, LineReader::kDefaultChunkBytes, std::size_t{1} << 40);
  std::string_view line;
  const bool delivered = reader.next(line);
  std::exit(!delivered && reader.failed() && !reader.next(line) ? 0 : 1);
}

TEST(LineReaderDeathTest, LineLargerThanTheMemoryToBeHadEndsTheReadingAsAnError) {
  EXPECT_EXIT(readEndlessLineWithLittleMemory(), ::testing::ExitedWithCode(0), "");
}
#endif

TEST(LineReader, SmallCrOnlyFileIsNotOneLine) {
  EXPECT_EQ(readAll("v 1 2 3\rv 4 5 6\r", 131072).size(), 2u);
}

using LineFeedReading = ReadingVariant<LineFeedMaskFunction>;
class LineFeedMaskReadings : public ::testing::TestWithParam<LineFeedReading> {};

// Blocks with no line feed, every byte one, each single position, and random bytes thick with
// line feeds and bytes that differ from one in a bit: each reading gives the reference's mask.
TEST_P(LineFeedMaskReadings, FlagTheLineFeedsAsTheReference) {
  const LineFeedReading& reading = GetParam();
  if (reading.function == nullptr) {
    GTEST_SKIP() << reading.absence << ": " << reading.name;
  }
  std::vector<std::string> blocks = {std::string(kLineFeedBlock, 'v'),
                                     std::string(kLineFeedBlock, '\n')};
  for (std::size_t at = 0; at < kLineFeedBlock; ++at) {
    blocks.push_back(std::string(kLineFeedBlock, ' '));
    blocks.back()[at] = '\n';
  }
  const std::string bytes = "\n\n\n\r\x0b\x8a\x0e\x02 v";
  std::mt19937 random(64);
  for (int k = 0; k < 2000; ++k) {
    std::string block(kLineFeedBlock, ' ');
    for (char& c : block) {
      c = bytes[random() % bytes.size()];
    }
    blocks.push_back(block);
  }
  for (const std::string& block : blocks) {
    ASSERT_EQ(reading.function(block.data()), lineFeedMaskReference(block.data())) << block;
  }
  EXPECT_EQ(reading.function(blocks[1].data()), ~std::uint64_t{0});
  EXPECT_EQ(reading.function(blocks[2 + 63].data()), std::uint64_t{1} << 63);
}

INSTANTIATE_TEST_SUITE_P(All, LineFeedMaskReadings, ::testing::ValuesIn(lineFeedMaskReadings()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace calveth
