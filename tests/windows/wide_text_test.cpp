// UTF-16 to UTF-8 and back, and the program's wide arguments read as UTF-8: every name a
// Windows file system allows reaches the core as valid UTF-8.
#include "windows/wide_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "windows/wide_arguments.h"

namespace calveth {
namespace {

struct Conversion {
  const char* name;
  std::wstring wide;
  std::string utf8;
};

class WideText : public ::testing::TestWithParam<Conversion> {};

TEST_P(WideText, ConvertsBothWays) {
  const Conversion& row = GetParam();
  EXPECT_EQ(utf8FromWide(row.wide), row.utf8);
  EXPECT_EQ(wideFromUtf8(row.utf8), row.wide);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, WideText,
    ::testing::Values(Conversion{"empty", L"", ""}, Conversion{"ascii", L"head.obj", "head.obj"},
                      Conversion{"latin1", L"t\u00eate.obj", "t\xc3\xaate.obj"},
                      Conversion{"greek_and_cjk", L"\u03b1\u65e5\u672c",
                                 "\xce\xb1\xe6\x97\xa5\xe6\x9c\xac"},
                      Conversion{"outside_the_bmp", L"\U0001F600.obj", "\xf0\x9f\x98\x80.obj"},
                      Conversion{"drive_path", L"C:\\Users\\J\u00fcrgen\\a b.obj",
                                 "C:\\Users\\J\xc3\xbcrgen\\a b.obj"}),
    [](const auto& info) { return std::string(info.param.name); });

// Windows file names may hold a surrogate without its partner; the text for the core must
// still be valid UTF-8, so it becomes U+FFFD.
TEST(WideText, UnpairedSurrogateBecomesReplacementCharacter) {
  EXPECT_EQ(utf8FromWide(std::wstring{L'a', wchar_t(0xD800), L'b'}),
            "a\xef\xbf\xbd"
            "b");
  EXPECT_EQ(utf8FromWide(std::wstring{wchar_t(0xDC00)}), "\xef\xbf\xbd");
}

TEST(WideText, InvalidUtf8BecomesReplacementCharacter) {
  EXPECT_EQ(wideFromUtf8("a\xff"), (std::wstring{L'a', wchar_t(0xFFFD)}));
}

struct ArgumentsRow {
  const char* name;
  std::vector<std::wstring> argv;  // program name first
  std::vector<std::string> expected;
};

class WideArguments : public ::testing::TestWithParam<ArgumentsRow> {};

TEST_P(WideArguments, AreTheArgumentsAfterTheProgramInUtf8) {
  const ArgumentsRow& row = GetParam();
  std::vector<const wchar_t*> argv;
  for (const std::wstring& argument : row.argv) {
    argv.push_back(argument.c_str());
  }
  argv.push_back(nullptr);
  EXPECT_EQ(utf8Arguments(static_cast<int>(row.argv.size()), argv.data()), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Tables, WideArguments,
    ::testing::Values(ArgumentsRow{"program_only", {L"calveth-cli.exe"}, {}},
                      ArgumentsRow{"analyze",
                                   {L"calveth-cli.exe", L"analyze", L"C:\\\u00e9t\u00e9\\base.obj"},
                                   {"analyze", "C:\\\xc3\xa9t\xc3\xa9\\base.obj"}},
                      ArgumentsRow{"empty_argument", {L"calveth-cli.exe", L"", L"-o"}, {"", "-o"}},
                      ArgumentsRow{"emoji_and_blank",
                                   {L"calveth-cli.exe", L"--out-dir", L"D:\\my \U0001F600"},
                                   {"--out-dir", "D:\\my \xf0\x9f\x98\x80"}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace calveth
