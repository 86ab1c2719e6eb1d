// The layers of src/ as the include lines draw them: a folder may include its own headers and
// those of the layers below it, never one beside it or above it, and the core includes no
// toolkit or platform header. The build enforces the same order through its include views
// (cmake/layers.cmake); this test names the offending line.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace calveth {
namespace {

struct Layer {
  std::string folder;
  int rank = 0;        // 0 at the bottom; a folder may include folders of a lower rank
  bool core = false;   // part of the toolkit-free core
  bool front = false;  // a front end, which no other folder includes
};

// The table the build reads too (cmake/layers.txt): "folder rank kind description" lines.
const std::vector<Layer>& layers() {
  static const std::vector<Layer> table = [] {
    std::vector<Layer> rows;
    std::ifstream in(CALVETH_LAYER_TABLE);
    for (std::string line; std::getline(in, line);) {
      if (line.empty() || line[0] == '#') {
        continue;
      }
      std::istringstream words(line);
      Layer layer;
      std::string kind;
      words >> layer.folder >> layer.rank >> kind;
      layer.core = kind == "core";
      layer.front = kind == "front";
      rows.push_back(layer);
    }
    return rows;
  }();
  return table;
}

// Headers of a toolkit, a window system or a platform's SDK, which the core must never
// include. The C library's file calls (POSIX or the Windows C runtime) are not among them: the
// crash-safe save needs them.
constexpr const char* kPlatformHeaders[] = {"Q",          "qt",        "windows.h",  "winbase.h",
                                            "commctrl.h", "commdlg.h", "wincodec.h", "emscripten",
                                            "alsa/",      "X11/"};

const Layer* layerOf(const std::string& folder) {
  for (const Layer& layer : layers()) {
    if (folder == layer.folder) {
      return &layer;
    }
  }
  return nullptr;
}

struct Include {
  std::string target;  // the text between the quotes or angle brackets
  bool quoted = false;
  int line = 0;
};

std::vector<Include> includesOf(const std::filesystem::path& file) {
  std::vector<Include> includes;
  std::ifstream in(file);
  std::string text;
  for (int line = 1; std::getline(in, text); ++line) {
    const auto hash = text.find_first_not_of(" \t");
    if (hash == std::string::npos || text.compare(hash, 1, "#") != 0) {
      continue;
    }
    const auto word = text.find_first_not_of(" \t", hash + 1);
    if (word == std::string::npos || text.compare(word, 7, "include") != 0) {
      continue;
    }
    const auto open = text.find_first_of("\"<", word + 7);
    if (open == std::string::npos) {
      continue;
    }
    const char close = text[open] == '"' ? '"' : '>';
    const auto end = text.find(close, open + 1);
    if (end != std::string::npos) {
      includes.push_back({text.substr(open + 1, end - open - 1), close == '"', line});
    }
  }
  return includes;
}

// Why a file of `from` may not include `target`, or nothing when it may.
std::optional<std::string> objection(const Layer& from, const Include& include) {
  if (!include.quoted) {
    if (!from.core) {
      return std::nullopt;
    }
    for (const char* header : kPlatformHeaders) {
      if (include.target.rfind(header, 0) == 0) {
        return "the core includes the platform header <" + include.target + ">";
      }
    }
    return std::nullopt;
  }
  const auto slash = include.target.find('/');
  if (slash == std::string::npos) {
    return "includes \"" + include.target + "\" without its folder";
  }
  const Layer* to = layerOf(include.target.substr(0, slash));
  if (to == nullptr) {
    return "includes \"" + include.target + "\" from a folder the layer table does not name";
  }
  if (to == &from || (to->rank < from.rank && !to->front)) {
    return std::nullopt;
  }
  if (to->front) {
    return "includes the front end \"" + include.target + "\"";
  }
  return std::string(to->rank == from.rank ? "reaches beside its layer to \""
                                           : "reaches up to \"") +
         include.target + "\"";
}

TEST(Layering, EveryIncludeOfTheSourceTreeRunsDownTheLayerTable) {
  const std::filesystem::path root = CALVETH_SOURCE_DIR;
  int files = 0;
  std::vector<std::string> offences;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    const auto extension = entry.path().extension();
    if (!entry.is_regular_file() || (extension != ".h" && extension != ".cpp")) {
      continue;
    }
    const std::string relative = entry.path().lexically_relative(root).generic_string();
    const Layer* from = layerOf(relative.substr(0, relative.find('/')));
    if (from == nullptr) {
      offences.push_back(relative + ": its folder is not in the layer table");
      continue;
    }
    ++files;
    for (const Include& include : includesOf(entry.path())) {
      if (auto why = objection(*from, include)) {
        offences.push_back(relative + ":" + std::to_string(include.line) + ": " + *why);
      }
    }
  }
  std::sort(offences.begin(), offences.end());
  std::string report;
  for (const std::string& offence : offences) {
    report += offence + "\n";
  }
  EXPECT_TRUE(offences.empty()) << report;
  EXPECT_GT(files, 50) << "the source tree was not found at " << root;
}

// The rules themselves, on lines that must and must not pass.
TEST(Layering, TheRulesTellUpwardSidewaysAndPlatformIncludes) {
  struct Case {
    const char* folder;
    const char* file;
    Include include;
    bool allowed;
  } const cases[] = {
      {"morph", "morph/open_mt.cpp", {"ports/host.h", true, 1}, true},
      {"morph", "morph/open_mt.cpp", {"morph/open_mt.h", true, 1}, true},
      {"morph", "morph/open_mt.cpp", {"app/availability.h", true, 1}, false},
      {"morph", "morph/open_mt.cpp", {"symmetry/open_base.h", true, 1}, false},
      {"objio", "objio/line_reader.cpp", {"ports/host.h", true, 1}, false},
      {"cli", "cli/cli.cpp", {"qt/main_dialog.h", true, 1}, false},
      {"qt", "qt/main_dialog.cpp", {"app/command_router.h", true, 1}, true},
      {"qt", "qt/main_dialog.cpp", {"QDialog", false, 1}, true},
      {"viewer", "viewer/paint_viewer.cpp", {"QPainter", false, 1}, false},
      {"objio", "objio/safe_file_writer.cpp", {"windows.h", false, 1}, false},
      {"objio", "objio/safe_file_writer.cpp", {"cstdio", false, 1}, true},
      {"app", "app/command_router.cpp", {"nowhere/thing.h", true, 1}, false},
      {"cli", "cli/render_command.cpp", {"win32/png_picture.h", true, 1}, false},
      // Every Windows program's tools are a platform's, below the front ends; the front ends
      // never see each other, on Windows neither.
      {"cli", "cli/windows_main.cpp", {"windows/wide_arguments.h", true, 1}, true},
      {"win32", "win32/desktop_dialog.h", {"windows/gdi_text_painter.h", true, 1}, true},
      {"win32", "win32/desktop_main.cpp", {"cli/cli.h", true, 1}, false},
      {"cli", "cli/windows_main.cpp", {"win32/desktop_dialog.h", true, 1}, false},
      {"windows", "windows/png_picture.cpp", {"win32/viewer_window.h", true, 1}, false},
      {"windows", "windows/png_picture.cpp", {"cli/cli.h", true, 1}, false},
      {"windows", "windows/win32_file_layer.h", {"objio/safe_file_writer.h", true, 1}, true},
      {"windows", "windows/wide_text.cpp", {"linux/png_file.h", true, 1}, false},
      {"cli", "cli/main.cpp", {"linux/png_file.h", true, 1}, true},
      {"qt", "qt/main_dialog.cpp", {"linux/freetype_text_painter.h", true, 1}, true},
      {"linux", "linux/png_file.cpp", {"qt/main_dialog.h", true, 1}, false},
  };
  for (const Case& c : cases) {
    const Layer* from = layerOf(c.folder);
    ASSERT_NE(from, nullptr) << c.folder;
    EXPECT_EQ(!objection(*from, c.include).has_value(), c.allowed)
        << c.file << " including " << c.include.target;
  }
}

}  // namespace
}  // namespace calveth
