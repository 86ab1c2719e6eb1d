#include "objio/base_reader.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace calveth {
namespace {

struct Warnings final : WarningSink {
  std::vector<std::string> texts;
  void warn(std::string_view text) override { texts.emplace_back(text); }
};

struct Read {
  std::unique_ptr<BaseReadBuffer> buffer = std::make_unique<BaseReadBuffer>();
  Warnings warnings;
  BaseReadOutcome outcome{};
};

Read readText(const std::string& text, std::size_t chunk = LineReader::kDefaultChunkBytes) {
  Read read;
  MemorySource source(text);
  LineReader reader(source, chunk);
  read.outcome = readBaseFile(reader, *read.buffer, read.warnings);
  return read;
}

std::string vertexLines(int count) {
  std::string text;
  for (int k = 0; k < count; ++k) {
    text += "v " + std::to_string(k) + " 0 0\n";
  }
  return text;
}

std::vector<int> corners(const BaseReadBuffer& b, int face) {
  const int start = b.FaceStart[static_cast<std::size_t>(face)];
  const int count = b.FaceCornerCount[static_cast<std::size_t>(face)];
  return std::vector<int>(b.CornerVertex.begin() + start, b.CornerVertex.begin() + start + count);
}

TEST(BaseReader, StoresVerticesFacesAndTheHalfMark) {
  const Read r = readText(
      "# a comment\n#HALF\nv 1 2 3\nvt 0 0\nvn 0 1 0\nv -1 2 3\nv 0 4 5\ng body\ns 1\n"
      "usemtl skin\nf 1/1 2/2 3/3\n  v 9 9 9\nf 3 2 1");
  ASSERT_EQ(r.outcome, BaseReadOutcome::Read);
  const BaseReadBuffer& b = *r.buffer;
  EXPECT_EQ(b.vertexCount, 3u);
  EXPECT_EQ(b.vLinesMet, 3);
  EXPECT_EQ(b.halfBase, 1);
  EXPECT_EQ(b.X[1], -1.0);
  EXPECT_EQ(b.Z[2], 5.0);
  ASSERT_EQ(b.faceCount, 2);
  EXPECT_EQ(corners(b, 0), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(corners(b, 1), (std::vector<int>{3, 2, 1}));
  EXPECT_TRUE(r.warnings.texts.empty());
}

// A rejected face must leave no trace: the next good face starts where the bad one would have.
TEST(BaseReader, BadFacesAreSkippedAndEveryVertexIsStillRead) {
  const Read r = readText("v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2\nf 1 x 3\nf 3 2 1\nv 5 5 5\r\n");
  ASSERT_EQ(r.outcome, BaseReadOutcome::Read);
  const BaseReadBuffer& b = *r.buffer;
  EXPECT_EQ(b.vertexCount, 4u);
  ASSERT_EQ(b.faceCount, 1);
  EXPECT_EQ(b.FaceStart[0], 0);
  EXPECT_EQ(corners(b, 0), (std::vector<int>{3, 2, 1}));
  EXPECT_EQ(r.warnings.texts,
            (std::vector<std::string>{"line 4: F MinERR FNum=2 FType=1 D=f 1 2",
                                      "line 5: F MinERR FNum=3 FType=1 D=f 1 x 3"}));
}

TEST(BaseReader, VertexLineErrorStopsWithTheConvertedCount) {
  const Read r = readText("v 0 0 0\nv 1 2\nv 3 3 3\n");
  EXPECT_EQ(r.outcome, BaseReadOutcome::VertexLineError);
  EXPECT_EQ(r.buffer->vTokenCount, 2);
  EXPECT_EQ(r.buffer->vertexCount, 1u);
}

TEST(BaseReader, VertexLimitIsFortyThousand) {
  const std::string exactly = vertexLines(40000);
  const Read fits = readText(exactly + "f 1 2 3\n");
  EXPECT_FALSE(fits.buffer->tooManyVertices);
  EXPECT_EQ(fits.buffer->vertexCount, 40000u);
  EXPECT_EQ(fits.buffer->faceCount, 1);

  const Read over = readText(exactly + "v 1 1 1\nv 2 2 2\n");
  EXPECT_TRUE(over.buffer->tooManyVertices);
  EXPECT_EQ(over.buffer->vertexCount, 40001u);
  EXPECT_EQ(over.buffer->vLinesMet, 40001);
  EXPECT_EQ(over.buffer->X[40000], 1.0);
}

TEST(BaseReader, CornerTableFillsBeforeTheFaceLimitWithTriangles) {
  std::string text = vertexLines(3);
  const int fitting = static_cast<int>(kCornerCapacity / 3);  // 53336 triangles
  for (int k = 0; k < fitting + 2; ++k) {
    text += "f 1 2 3\n";
  }
  text += "f 1 2 3 1\n";
  for (int k = fitting + 3; k < 100001; ++k) {
    text += "f 1 2 3\n";  // up to 100001 faces in all: the corner table is full long before
  }
  text += "v 7 7 7\n";
  const Read r = readText(text);
  EXPECT_EQ(r.buffer->faceCount, fitting);
  EXPECT_EQ(r.buffer->cornerCount, static_cast<std::size_t>(fitting) * 3);
  EXPECT_EQ(r.buffer->vertexCount, 4u);
  ASSERT_EQ(r.warnings.texts.size(), static_cast<std::size_t>(100001 - fitting));
  // The table holds 160010 corners: 160008 are taken when a triangle no longer fits.
  const int first = 3 + fitting + 1;  // three vertex lines, then the faces
  EXPECT_EQ(r.warnings.texts[0], "line " + std::to_string(first) +
                                     ": F Corner err FaceNum=3 FlineType=1 - the corner table is "
                                     "full (160008 corners)");
  EXPECT_EQ(r.warnings.texts[2], "line " + std::to_string(first + 2) +
                                     ": F Corner err FaceNum=4 FlineType=1 - the corner table is "
                                     "full (160008 corners)");
}

TEST(BaseReader, RelativeCornersCountBackFromTheVerticesReadSoFar) {
  const Read r = readText("v 0 0 0\nv 1 0 0\nv 0 1 0\nf -3 -2 -1\nv 1 1 0\nf -1 -2 -3\n");
  ASSERT_EQ(r.buffer->faceCount, 2);
  EXPECT_EQ(corners(*r.buffer, 0), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(corners(*r.buffer, 1), (std::vector<int>{4, 3, 2}));
}

TEST(BaseReader, ChunkSizeDoesNotChangeTheResult) {
  const std::string text = "v 1 2 3\r\nv -1 2 3\rv 0 0 0\nf 1/1 2/2 3/3\r\n#HALF";
  const Read whole = readText(text);
  const Read tiny = readText(text, 3);
  EXPECT_EQ(tiny.buffer->vertexCount, 3u);
  EXPECT_EQ(tiny.buffer->faceCount, 1);
  EXPECT_EQ(tiny.buffer->halfBase, 1);
  EXPECT_EQ(whole.buffer->X, tiny.buffer->X);
}

// A source that gives its bytes, then reports a read error instead of the end.
struct FailingSource final : ByteSource {
  MemorySource bytes{"v 1 0 0\nv -1 0 0\nv 2"};
  bool failedRead = false;
  std::size_t read(char* destination, std::size_t n) override {
    const std::size_t count = bytes.read(destination, n);
    failedRead = count == 0;
    return count;
  }
  bool failed() const override { return failedRead; }
};

TEST(BaseReader, ReadErrorIsNotTakenForTheEndOfTheFile) {
  FailingSource source;
  LineReader reader(source, 4);
  auto buffer = std::make_unique<BaseReadBuffer>();
  Warnings warnings;
  EXPECT_EQ(readBaseFile(reader, *buffer, warnings), BaseReadOutcome::ReadError);
  EXPECT_EQ(buffer->vertexCount, 2u);  // the cut-off "v 2" is not taken for a line
}

TEST(BaseReader, CommitCopiesOnlyTheReadPart) {
  auto store = std::make_unique<MeshStore>();
  store->BaseX[5] = 42.0;
  const Read r = readText("v 1 2 3\nv -1 2 3\nf 1 2 1\n#HALF\n");
  commitBase(*r.buffer, *store);
  EXPECT_EQ(store->baseVertexCount, 2u);
  EXPECT_EQ(store->faceCount, 1);
  EXPECT_EQ(store->halfBase, 1);
  EXPECT_EQ(store->BaseX[1], -1.0);
  EXPECT_EQ(store->BaseX[5], 42.0);
  EXPECT_EQ(store->CornerVertex[2], 1);
}

}  // namespace
}  // namespace calveth
