// calveth-cli.exe started with file names outside the ANSI code page: the names arrive as
// UTF-16, open the files, and the saved file's third header line holds the target's Windows
// path as the system writes it. Standard output keeps its "\n" line ends.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "support/run_program.h"
#include "support/saved_mt_file.h"
#include "support/temp_dir.h"
#include "windows/wide_text.h"

namespace calveth {
namespace {

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

void copyUtf8(const std::string& from, const std::string& to) {
  ASSERT_TRUE(CopyFileW(wideFromUtf8(from).c_str(), wideFromUtf8(to).c_str(), FALSE));
}

struct NameRow {
  const char* name;
  std::string folder;  // made below the test's folder; empty for none
  std::string stem;    // the MT's and the base's names start with it
};

class WideFileNames : public ::testing::TestWithParam<NameRow> {};

TEST_P(WideFileNames, OpenAndSaveUnderTheirNames) {
  const NameRow& row = GetParam();
  testing::TempDir dir;
  std::string folder = dir.file("");
  if (!row.folder.empty()) {
    folder += row.folder;
    ASSERT_TRUE(CreateDirectoryW(wideFromUtf8(folder).c_str(), nullptr));
    folder += "\\";
  }
  const std::string base = folder + row.stem + " base.obj";
  const std::string mt = folder + row.stem + " smile.obj";
  const std::string out = folder + row.stem + " MirR.obj";
  copyUtf8(CALVETH_SAMPLES_DIR "/head_base.obj", base);
  copyUtf8(CALVETH_SAMPLES_DIR "/head_smile.obj", mt);

  const testing::ProgramResult result =
      testing::runCliProgram({"mirror-l2r", "--base", base, "--mt", mt, "-o", out});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.out,
            "OK: Perfect symmetry V=3010 F=3072\nOK: Choose Function (v=3010/3010)\n"
            "OK: Left Seed,Right Generate.\nOK:New MT save\n");
  EXPECT_EQ(result.err, "saved " + out + "\n");
  EXPECT_TRUE(readUtf8(out).starts_with(testing::mtFileHeader(row.stem + " smile", out)));
}

INSTANTIATE_TEST_SUITE_P(
    Names, WideFileNames,
    ::testing::Values(NameRow{"ascii", "", "head"},
                      NameRow{"latin1_outside_the_code_page", "",
                              "t\xc3\xaate \xc3\xa0 \xc5\x93il"},
                      NameRow{"cyrillic_folder", "\xd0\xbc\xd0\xbe\xd0\xb4\xd0\xb5\xd0\xbb\xd0\xb8",
                              "\xd0\xb3\xd0\xbe\xd0\xbb\xd0\xbe\xd0\xb2\xd0\xb0"},
                      NameRow{"cjk", "\xe6\x97\xa5\xe6\x9c\xac", "\xe9\xa0\xad"},
                      NameRow{"outside_the_bmp", "", "\xf0\x9f\x98\x80 face"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace calveth
