// The Windows file-writing layer: where the temporary file goes, that it is created only
// where no file is, and how the rename over the target ends, the target open elsewhere
// included. Files are named by UTF-8 paths that Windows takes as UTF-16.
#include "windows/win32_file_layer.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "objio/safe_file_writer.h"
#include "support/temp_dir.h"
#include "windows/wide_text.h"

namespace calveth {
namespace {

using testing::readFile;
using testing::TempDir;

std::string writeUtf8(const std::string& path, const std::string& bytes) {
  std::FILE* file = _wfopen(wideFromUtf8(path).c_str(), L"wb");
  if (file != nullptr) {
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
  }
  return path;
}

std::string readUtf8(const std::string& path) {
  std::string bytes;
  if (std::FILE* file = _wfopen(wideFromUtf8(path).c_str(), L"rb")) {
    char chunk[4096];
    std::size_t count = 0;
    while ((count = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
      bytes.append(chunk, count);
    }
    std::fclose(file);
  }
  return bytes;
}

bool exists(const std::string& path) {
  return GetFileAttributesW(wideFromUtf8(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

struct BesideRow {
  const char* name;
  std::string target;  // below the test's folder; "/" is written as the row's separator
  std::string folderPart;
};

class TemporaryBeside : public ::testing::TestWithParam<BesideRow> {};

// The temporary file lies in the target's folder, named ".<name>.calveth-" and six letters
// or digits, whichever separator the path uses.
TEST_P(TemporaryBeside, IsInTheTargetsFolderUnderTheWritersName) {
  const BesideRow& row = GetParam();
  TempDir dir;
  // Paths are put together as UTF-8 text: a narrow std::filesystem::path would take the
  // ANSI code page.
  const std::string root = dir.file("");
  CreateDirectoryW(wideFromUtf8(root + "sub").c_str(), nullptr);
  CreateDirectoryW(wideFromUtf8(root + "\xc3\xa9t\xc3\xa9").c_str(), nullptr);
  const std::string target = root + row.target;
  std::string temporary;
  auto file = systemFileLayer().createBeside(target, temporary);
  ASSERT_NE(file, nullptr) << systemFileLayer().lastError();
  ASSERT_TRUE(file->close());
  const std::string prefix = root + row.folderPart + ".new.obj.calveth-";
  EXPECT_TRUE(temporary.starts_with(prefix)) << temporary;
  EXPECT_EQ(temporary.size(), prefix.size() + 6) << temporary;
  EXPECT_TRUE(exists(temporary));
  systemFileLayer().remove(temporary);
  EXPECT_FALSE(exists(temporary));
}

INSTANTIATE_TEST_SUITE_P(Paths, TemporaryBeside,
                         ::testing::Values(BesideRow{"in_the_folder", "new.obj", ""},
                                           BesideRow{"backslash", "sub\\new.obj", "sub\\"},
                                           BesideRow{"forward_slash", "sub/new.obj", "sub/"},
                                           BesideRow{"non_ascii_folder",
                                                     "\xc3\xa9t\xc3\xa9\\new.obj",
                                                     "\xc3\xa9t\xc3\xa9\\"}),
                         [](const auto& info) { return std::string(info.param.name); });

// The C library's "wx" mode is ignored by some runtimes, which then truncate the file; the
// layer's creation never opens a file that exists.
TEST(ExclusiveTemporary, AnExistingFileIsRefusedAndKeepsItsBytes) {
  TempDir dir;
  const std::string taken = writeUtf8(dir.file("taken"), "someone else's bytes");
  bool existed = false;
  std::string error;
  EXPECT_EQ(createNewFile(taken, existed, error), nullptr);
  EXPECT_TRUE(existed);
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(readUtf8(taken), "someone else's bytes");

  const std::string fresh = dir.file("fresh");
  auto file = createNewFile(fresh, existed, error);
  ASSERT_NE(file, nullptr) << error;
  EXPECT_FALSE(existed);
  ASSERT_TRUE(file->write("new", 3));
  ASSERT_TRUE(file->close());
  EXPECT_EQ(readUtf8(fresh), "new");
}

TEST(ExclusiveTemporary, TwoWritersOfOneTargetGetTwoFiles) {
  TempDir dir;
  const std::string target = dir.file("new.obj");
  std::string first;
  std::string second;
  auto a = systemFileLayer().createBeside(target, first);
  auto b = systemFileLayer().createBeside(target, second);
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_NE(first, second);
  ASSERT_TRUE(a->write("first", 5) && a->close());
  ASSERT_TRUE(b->write("second", 6) && b->close());
  EXPECT_EQ(readUtf8(first), "first");
  EXPECT_EQ(readUtf8(second), "second");
}

TEST(ExclusiveTemporary, AMissingFolderIsAFailureWithTheSystemsText) {
  TempDir dir;
  std::string temporary;
  EXPECT_EQ(systemFileLayer().createBeside(dir.file("nowhere\\new.obj"), temporary), nullptr);
  EXPECT_FALSE(systemFileLayer().lastError().empty());
}

// What stands at the target before the save, and how the save must end. Real Windows
// refuses to open a read-only file for writing; Wine renames over it and drops the mark, so
// the layer looks at the mark itself.
enum class Before { nothing, file, openElsewhere, readOnly };

struct ReplaceRow {
  const char* name;
  Before before;
  bool saved;
};

class Replace : public ::testing::TestWithParam<ReplaceRow> {};

TEST_P(Replace, GivesTheWholeNewFileOrLeavesTheTargetAsItWas) {
  const ReplaceRow& row = GetParam();
  TempDir dir;
  const std::string target = dir.file("") +
                             "\xc3\xbc"
                             "ber.obj";
  const std::string previous = "# the previous file\n";
  HANDLE holder = INVALID_HANDLE_VALUE;
  if (row.before != Before::nothing) {
    writeUtf8(target, previous);
  }
  if (row.before == Before::openElsewhere) {
    // As an editor holds a file: reading and writing shared, deleting (renaming over) not.
    holder =
        CreateFileW(wideFromUtf8(target).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  }
  if (row.before == Before::readOnly) {
    ASSERT_TRUE(SetFileAttributesW(wideFromUtf8(target).c_str(), FILE_ATTRIBUTE_READONLY));
  }

  const std::string whole(200000, 'v');
  std::string error;
  EXPECT_EQ(replaceFileContents(target, whole, error), row.saved) << error;
  if (holder != INVALID_HANDLE_VALUE) {
    CloseHandle(holder);
  }
  if (row.saved) {
    EXPECT_EQ(readUtf8(target), whole);
  } else {
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(readUtf8(target), row.before == Before::nothing ? "" : previous);
  }
  if (row.before == Before::readOnly) {
    EXPECT_NE(GetFileAttributesW(wideFromUtf8(target).c_str()) & FILE_ATTRIBUTE_READONLY, 0u)
        << "the read-only mark is kept";
    // TempDir removes the folder with everything in it; a read-only file would stay.
    SetFileAttributesW(wideFromUtf8(target).c_str(), FILE_ATTRIBUTE_NORMAL);
  }
  // Nothing is left beside the target, whichever way it ended.
  int others = 0;
  for (const auto& entry :
       std::filesystem::directory_iterator(std::filesystem::path(dir.file("")))) {
    others += entry.path().filename() != std::filesystem::path(L"\u00fcber.obj") ? 1 : 0;
  }
  EXPECT_EQ(others, 0);
}

INSTANTIATE_TEST_SUITE_P(Targets, Replace,
                         ::testing::Values(ReplaceRow{"new_file", Before::nothing, true},
                                           ReplaceRow{"over_a_file", Before::file, true},
                                           ReplaceRow{"open_elsewhere", Before::openElsewhere,
                                                      false},
                                           ReplaceRow{"read_only", Before::readOnly, false}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace calveth
