// Bad input and file-system mishaps, run through the commands as the dialog runs them (a
// router with a recording host) and end to end through calveth-cli. Each row gives the status
// text after every command, as calveth-cli prints them; every row also checks that nothing
// crashed, that a refused base leaves the previous base whole and a refused MT leaves the
// base, and that the target path holds its previous content or the whole new file (never a
// part) with no temporary file beside it. Each row runs twice: saving as a new file and over
// an existing one. Large inputs are made at test time.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <ostream>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/availability.h"
#include "cli/cli_host.h"
#include "cli/operation_names.h"
#include "meshgen/body_part.h"
#include "morph/open_mt.h"
#include "objio/line_reader.h"
#include "objio/vertex_line.h"
#include "support/base_snapshot.h"
#include "support/desk.h"
#include "support/failing_layer.h"
#include "support/run_program.h"
#include "support/saved_mt_file.h"

namespace calveth {
namespace {

using testing::BaseSnapshot;
using testing::Desk;
using testing::FailingLayer;
using testing::readFile;
using testing::TempDir;
using namespace std::string_literals;

// --- Inputs ------------------------------------------------------------------------------

const std::string kCubeVertices =
    "v 1 1 1\nv -1 1 1\nv 1 -1 1\nv -1 -1 1\nv 1 1 -1\nv -1 1 -1\nv 1 -1 -1\nv -1 -1 -1\n";
const std::string kCubeFaces = "f 1 2 4 3\nf 5 6 8 7\nf 1 2 6 5\nf 3 4 8 7\nf 1 3 7 5\nf 2 4 8 6\n";
const std::string kCube = kCubeVertices + kCubeFaces;
const std::string kSmileVertices =
    "v 1.5 1 1\nv -1 1 1\nv 1 -1.25 1\nv -1 -1 1\nv 1 1 -1\nv -1 1 -1\nv 1 -1 -0.5\nv -1 -1 -1\n";
const std::string kSmile = kSmileVertices + "vt 0 0\nf 1 2 4 3\n";
// The left side moved, CRLF line ends, and every kind of line an OBJ file may hold.
const std::string kCubeSmile =
    "# made by hand\r\nmtllib cube.mtl\r\no cube\r\n"
    "v 1.5 1 1\r\nv -1 1 1\r\nv 1 -1.25 1\r\nv -1 -1 1\r\n"
    "v 1 1 -1\r\nv -1 1 -1\r\nv 1 -1 -0.5\r\nv -1 -1 -1\r\n"
    "vt 0 0\r\nvt 1 0.5\r\nvn 0 0 1\r\nvp 0.5\r\ng side\r\nusemtl skin\r\ns 1\r\n"
    "f 1/1/1 2/2/1 4/2/1 3/1/1\r\nf 5 6 8 7\r\n";
const char* const kCubeMirrored =
    "v 1.500000 1.000000 1.000000\nv -1.500000 1.000000 1.000000\n"
    "v 1.000000 -1.250000 1.000000\nv -1.000000 -1.250000 1.000000\n"
    "v 1.000000 1.000000 -1.000000\nv -1.000000 1.000000 -1.000000\n"
    "v 1.000000 -1.000000 -0.500000\nv -1.000000 -1.000000 -0.500000\n# vertex num is 8\n";

std::string cube() { return kCube; }
std::string smile() { return kSmile; }
std::string cubeSmile() { return kCubeSmile; }
std::string empty() { return ""; }

std::string withLineEnds(const std::string& text, const std::vector<std::string>& ends) {
  std::string result;
  std::size_t k = 0;
  for (char c : text) {
    result += c == '\n' ? ends[k++ % ends.size()] : std::string(1, c);
  }
  return result;
}

// The same bytes on every system: the engine's raw output, not a distribution.
std::string randomBinary() {
  std::mt19937 engine(20240611);
  std::string bytes(64 * 1024, '\0');
  for (char& byte : bytes) {
    byte = static_cast<char>(engine() & 0xFF);
  }
  return bytes;
}

std::string blanksAsTabs(std::string text) {
  for (char& c : text) {
    c = c == ' ' ? '\t' : c;
  }
  return text;
}

std::string repeated(const std::string& line, int times) {
  std::string text;
  text.reserve(line.size() * static_cast<std::size_t>(times));
  for (int k = 0; k < times; ++k) {
    text += line;
  }
  return text;
}

// A symmetric limb of exactly 40000 vertices and 39800 quads, and its vertices as an MT.
const std::string& limb40000() {
  static const std::string text = meshgen::toObj(meshgen::limbMesh(200, 200), {});
  return text;
}
const std::string& limb40000Vertices() {
  static const std::string text = [] {
    meshgen::ObjOptions options;
    options.verticesOnly = true;
    return meshgen::toObj(meshgen::limbMesh(200, 200), options);
  }();
  return text;
}

std::string faceWith(int corners) {
  std::string line = "f";
  for (int k = 0; k < corners; ++k) {
    line += " " + std::to_string(k % 8 + 1);
  }
  return line + "\n";
}

// --- The table -----------------------------------------------------------------------------

enum class Twist {
  None,
  BaseIsFolder,
  MtIsFolder,
  TargetFolderMissing,
  SaveOverMt,
  // Only through the core: calveth-cli has no moment between its commands, nor a way in to
  // the file-writing layer.
  MtGoneBeforeSave,
  FailCreate,
  FailFirstWrite,
  FailMiddleWrite,
  FailLastWrite,
  FailClose,
  FailReplace,
};

struct BadInput {
  const char* name = "";
  std::string (*base)() = nullptr;
  std::string (*mt)() = nullptr;
  std::vector<std::string> statuses{};  // after each command; the run stops at an "ERR"
  Twist twist = Twist::None;
  bool withFaces = false;
  std::string lastWarning{};   // empty: no warning at all
  std::string firstWarning{};  // empty: not checked
  ControlId command = ControlId::MirrorLeftToRight;
  const char* savedBody = "";  // everything after the header, where the row knows it
  const char* baseName = "base.obj";
  const char* mtName = "mt.obj";
  const char* targetName = "new.obj";
};

void PrintTo(const BadInput& c, std::ostream* os) { *os << c.name; }

bool onlyInTheCore(const BadInput& c) { return c.twist >= Twist::MtGoneBeforeSave; }

const std::vector<std::string> kCubeSaved = {"OK: Perfect symmetry V=8 F=6",
                                             "OK: Choose Function (v=8/8)",
                                             "OK: Left Seed,Right Generate.", "OK:New MT save"};
const std::vector<std::string> kCubeSavedWithFaces = {
    "OK: Perfect symmetry V=8 F=6", "OK: Choose Function (v=8/8)", "OK: Left Seed,Right Generate.",
    "OK:New OBJ save"};

std::vector<std::string> cubeBaseThen(std::vector<std::string> rest) {
  rest.insert(rest.begin(), "OK: Perfect symmetry V=8 F=6");
  return rest;
}

std::vector<std::string> cubeMtThen(const std::string& save) {
  return {"OK: Perfect symmetry V=8 F=6", "OK: Choose Function (v=8/8)",
          "OK: Left Seed,Right Generate.", save};
}

// A save of 40000 vertices, written in several pieces, with one step of writing failing.
BadInput writeFailure(const char* name, Twist twist,
                      const char* status = "ERR:New MT file write err") {
  return {
      .name = name,
      .base = [] { return limb40000(); },
      .mt = [] { return limb40000Vertices(); },
      .statuses = {"OK: Perfect symmetry V=40000 F=39800", "OK: Choose Function (v=40000/40000)",
                   "OK: Left Seed,Right Generate.", status},
      .twist = twist};
}

const std::vector<BadInput>& rows() {
  static const std::vector<BadInput> table = {
      {.name = "empty_base",
       .base = empty,
       .mt = smile,
       .statuses = {"ERR: v line out of range (0-0)"}},
      {.name = "empty_mt",
       .base = cube,
       .mt = empty,
       .statuses = cubeBaseThen({"ERR: v line out of range (0)"})},
      // no line of the noise begins with "v" and a blank
      {.name = "random_binary_base",
       .base = randomBinary,
       .mt = smile,
       .statuses = {"ERR: v line out of range (0-0)"}},
      {.name = "random_binary_mt",
       .base = cube,
       .mt = randomBinary,
       .statuses = cubeBaseThen({"ERR: v line out of range (0)"})},
      {.name = "nul_inside_a_v_line",
       .base = [] { return "v 1 0 0\nv -1\0 0 0\n"s; },
       .mt = smile,
       .statuses = {"ERR: Obj file v line err![0]"}},
      {.name = "nul_inside_an_mt_v_line",
       .base = cube,
       .mt = [] { return kSmileVertices + "v 1 2 3\0\n"s; },
       .statuses = cubeBaseThen({"ERR: Obj file v line err![2]"})},
      // a comment may hold anything; the face is skipped, not the file
      {.name = "nul_inside_comment_and_face_lines",
       .base = [] { return kCube + "# a\0b\nf 1 2\0 3\n"s; },
       .mt = smile,
       .statuses = kCubeSaved,
       .lastWarning = "1 face line was not stored",
       .firstWarning = "line 16: F MinERR FNum=3 FType=1 D=f 1 2\0 3"s},
      {.name = "line_of_50_mb",
       .base = [] { return "# " + std::string(50 << 20, 'x') + "\n" + kCube; },
       .mt = [] { return kSmileVertices + "vt " + std::string(50 << 20, '7') + "\nf 1 2 3\n"; },
       .statuses = kCubeSavedWithFaces,
       .withFaces = true},
      {.name = "vertices_40000",
       .base = [] { return limb40000(); },
       .mt = [] { return limb40000Vertices(); },
       .statuses = {"OK: Perfect symmetry V=40000 F=39800", "OK: Choose Function (v=40000/40000)",
                    "OK: Left Seed,Right Generate.", "OK:New MT save"}},
      {.name = "vertices_40001",
       .base = [] { return limb40000() + "v 9 9 9\n"; },
       .mt = smile,
       .statuses = {"ERR: v line out of range (40001-40001)"}},
      {.name = "mt_vertices_40001",
       .base = [] { return limb40000(); },
       .mt = [] { return limb40000Vertices() + "v 9 9 9\n"; },
       .statuses = {"OK: Perfect symmetry V=40000 F=39800", "ERR: v line out of range (40001)"}},
      // with triangles the 160010-corner table is full after 53336 faces
      {.name = "faces_100000",
       .base = [] { return kCubeVertices + repeated("f 1 2 3\n", 100000); },
       .mt = smile,
       .statuses = {"OK: Perfect symmetry V=8 F=53336", "OK: Choose Function (v=8/8)",
                    "OK: Left Seed,Right Generate.", "OK:New MT save"},
       .lastWarning = "46664 face lines were not stored, 46644 of them not listed",
       .firstWarning = "line 53345: F Corner err FaceNum=3 FlineType=1 - the corner table is full "
                       "(160008 corners)"},
      {.name = "faces_100001",
       .base = [] { return kCubeVertices + repeated("f 1 2 3\n", 100001); },
       .mt = smile,
       .statuses = {"OK: Perfect symmetry V=8 F=53336", "OK: Choose Function (v=8/8)",
                    "OK: Left Seed,Right Generate.", "OK:New MT save"},
       .lastWarning = "46665 face lines were not stored, 46645 of them not listed"},
      {.name = "more_corners_than_the_table_holds",
       .base = [] { return kCubeVertices + faceWith(160011); },
       .mt = smile,
       .statuses = {"OK: Perfect symmetry V=8 F=0", "OK: Choose Function (v=8/8)",
                    "OK: Left Seed,Right Generate.", "OK:New MT save"},
       .lastWarning = "1 face line was not stored",
       .firstWarning = "line 9: F Corner err FaceNum=160011 FlineType=1 - the corner table is full "
                       "(0 corners)"},
      {.name = "face_with_5000_corners",
       .base = [] { return kCubeVertices + faceWith(5000); },
       .mt = smile,
       .statuses = {"OK: Perfect symmetry V=8 F=1", "OK: Choose Function (v=8/8)",
                    "OK: Left Seed,Right Generate.", "OK:New MT save"}},
      // kept as written; the viewer leaves such faces out
      {.name = "face_numbers_zero_negative_and_past_the_end",
       .base =
           [] {
             return kCubeVertices + "f 0 1 2\nf -9 1 2\nf 1 2 99\nf 2147483647 1 -2147483648\n";
           },
       .mt = smile,
       .statuses = {"OK: Perfect symmetry V=8 F=4", "OK: Choose Function (v=8/8)",
                    "OK: Left Seed,Right Generate.", "OK:New MT save"}},
      {.name = "v_nan",
       .base = [] { return "v 1 0 0\nv nan 0 0\n" + kCube; },
       .mt = smile,
       .statuses = {"ERR: Obj file v line err![0]"}},
      {.name = "v_inf",
       .base = [] { return "v 0 inf 0\n" + kCube; },
       .mt = smile,
       .statuses = {"ERR: Obj file v line err![1]"}},
      {.name = "v_1e400",
       .base = [] { return "v 0 0 1e400\n" + kCube; },
       .mt = smile,
       .statuses = {"ERR: Obj file v line err![2]"}},
      {.name = "v_decimal_comma",
       .base = [] { return "v 0,5 1 2\n" + kCube; },
       .mt = smile,
       .statuses = {"ERR: Obj file v line err![0]"}},
      {.name = "v_letters",
       .base = [] { return "v 1.5abc 2 3\n" + kCube; },
       .mt = smile,
       .statuses = {"ERR: Obj file v line err![0]"}},
      {.name = "v_two_numbers",
       .base = [] { return kCubeVertices + "v 1 2\n"; },
       .mt = smile,
       .statuses = {"ERR: Obj file v line err![2]"}},
      {.name = "mt_v_nan",
       .base = cube,
       .mt = [] { return "v nan 1 1\n" + kSmile; },
       .statuses = cubeBaseThen({"ERR: Obj file v line err![0]"})},
      {.name = "v_tabs",
       .base = [] { return blanksAsTabs(kCube); },
       .mt =
           [] {
             std::string mt = blanksAsTabs(kSmile);
             return mt.insert(mt.find('\n'), "\t");  // and a tab after the last number
           },
       .statuses = kCubeSaved},
      // copied lines keep their line ends; a lone CR arrives as LF
      {.name = "crlf",
       .base = [] { return withLineEnds(kCube, {"\r\n"}); },
       .mt = [] { return withLineEnds(kSmile, {"\r\n"}); },
       .statuses = kCubeSavedWithFaces,
       .withFaces = true,
       .savedBody = "v 1.500000 1.000000 1.000000\nv -1.500000 1.000000 1.000000\n"
                    "v 1.000000 -1.250000 1.000000\nv -1.000000 -1.250000 1.000000\n"
                    "v 1.000000 1.000000 -1.000000\nv -1.000000 1.000000 -1.000000\n"
                    "v 1.000000 -1.000000 -0.500000\nv -1.000000 -1.000000 -0.500000\n"
                    "# vertex num is 8\nvt 0 0\r\nf 1 2 4 3\r\n#\n"},
      {.name = "lone_cr",
       .base = [] { return withLineEnds(kCube, {"\r"}); },
       .mt = [] { return withLineEnds(kSmile, {"\r"}); },
       .statuses = kCubeSavedWithFaces,
       .withFaces = true},
      {.name = "mixed_line_ends",
       .base =
           [] {
             return withLineEnds(kCube, {"\n", "\r\n", "\r"});
           },
       .mt =
           [] {
             return withLineEnds(kSmile, {"\r", "\n", "\r\n"});
           },
       .statuses = kCubeSavedWithFaces,
       .withFaces = true},
      {.name = "base_is_a_folder",
       .base = cube,
       .mt = smile,
       .statuses = {"ERR: Obj file not open"},
       .twist = Twist::BaseIsFolder},
      {.name = "mt_is_a_folder",
       .base = cube,
       .mt = smile,
       .statuses = cubeBaseThen({"ERR: Obj file not open!"}),
       .twist = Twist::MtIsFolder},
      {.name = "target_folder_missing",
       .base = cube,
       .mt = smile,
       .statuses = cubeBaseThen(
           {"OK: Choose Function (v=8/8)", "OK: Left Reset.", "ERR:New MT file open err"}),
       .twist = Twist::TargetFolderMissing,
       .command = ControlId::ResetLeft},
      // the copy pass reads the MT before the new file takes its place
      {.name = "save_over_the_loaded_mt",
       .base = cube,
       .mt = cubeSmile,
       .statuses = kCubeSavedWithFaces,
       .twist = Twist::SaveOverMt,
       .withFaces = true,
       .savedBody = "v 1.500000 1.000000 1.000000\nv -1.500000 1.000000 1.000000\n"
                    "v 1.000000 -1.250000 1.000000\nv -1.000000 -1.250000 1.000000\n"
                    "v 1.000000 1.000000 -1.000000\nv -1.000000 1.000000 -1.000000\n"
                    "v 1.000000 -1.000000 -0.500000\nv -1.000000 -1.000000 -0.500000\n"
                    "# vertex num is 8\nvt 0 0\r\nvt 1 0.5\r\nvn 0 0 1\r\nusemtl skin\r\n"
                    "f 1/1/1 2/2/1 4/2/1 3/1/1\r\nf 5 6 8 7\r\n#\n"},
      {.name = "paths_with_blanks_and_letters_beyond_ascii",
       .base = [] { return std::string("v 1 0 0\nv -1 0 0\n"); },
       .mt = [] { return std::string("v 2 0 0\nv -1 0 0\n"); },
       .statuses = {"OK: Perfect symmetry V=2 F=0", "OK: Choose Function (v=2/2)",
                    "OK: Left Reset.", "OK:New MT save"},
       .command = ControlId::ResetLeft,
       .savedBody = "v 1.000000 0.000000 0.000000\nv -1.000000 0.000000 0.000000\n"
                    "# vertex num is 2\n",
       .baseName = "Basis h\xc3\xb6he.obj",
       .mtName = "k\xc3\xb6pfchen l\xc3\xa4"
                 "chelt.obj",
       .targetName = "mein Ordner/\xc3\xa9t\xc3\xa9 \xe2\x98\xba.obj"},
      // a line end in a name would start a header line of its own, even a "v" line
      {.name = "line_ends_in_the_file_names",
       .base = [] { return std::string("v 1 0 0\nv -1 0 0\n"); },
       .mt = [] { return std::string("v 2 0 0\nv -1 0 0\n"); },
       .statuses = {"OK: Perfect symmetry V=2 F=0", "OK: Choose Function (v=2/2)",
                    "OK: Swap Generate.", "OK:New MT save"},
       .command = ControlId::Swap,
       .savedBody = "v 1.000000 0.000000 0.000000\nv -2.000000 0.000000 0.000000\n"
                    "# vertex num is 2\n",
       .mtName = "smile\nv 9 9 9.obj",
       .targetName = "new\r\nv 1 2 3\r.obj"},
      {.name = "mt_gone_before_the_copy_pass",
       .base = cube,
       .mt = cubeSmile,
       .statuses = cubeMtThen("ERR:MT file read err"),
       .twist = Twist::MtGoneBeforeSave,
       .withFaces = true},
      writeFailure("temporary_file_cannot_be_made", Twist::FailCreate, "ERR:New MT file open err"),
      writeFailure("first_write_fails", Twist::FailFirstWrite),
      writeFailure("middle_write_fails", Twist::FailMiddleWrite),
      writeFailure("last_write_fails", Twist::FailLastWrite),
      writeFailure("close_fails", Twist::FailClose),
      writeFailure("replacing_the_target_fails", Twist::FailReplace),
  };
  return table;
}

std::vector<BadInput> rowsForTheProgram() {
  std::vector<BadInput> chosen;
  for (const BadInput& row : rows()) {
    if (!onlyInTheCore(row)) {
      chosen.push_back(row);
    }
  }
  return chosen;
}

// --- Running a row -------------------------------------------------------------------------

std::set<std::string> namesIn(const std::filesystem::path& folder) {
  std::set<std::string> names;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

std::optional<std::string> contentOf(const std::string& path) {
  if (!std::filesystem::is_regular_file(pathFromUtf8(path))) {
    return std::nullopt;
  }
  return readFile(path);
}

// The row's files in a folder: in/ holds the base and the MT, out/ the target.
struct Files {
  std::string base;
  std::string mt;
  std::string target;
  std::optional<std::string> previous;  // the target's content before the save
  std::set<std::string> namesBefore;    // in the target's folder

  Files(const BadInput& c, const TempDir& dir, bool targetExists) {
    std::filesystem::create_directories(pathFromUtf8(dir.file("in")));
    base = dir.file("in/" + std::string(c.baseName));
    mt = dir.file("in/" + std::string(c.mtName));
    if (c.twist == Twist::BaseIsFolder) {
      std::filesystem::create_directory(pathFromUtf8(base));
    } else {
      dir.write("in/" + std::string(c.baseName), c.base());
    }
    if (c.twist == Twist::MtIsFolder) {
      std::filesystem::create_directory(pathFromUtf8(mt));
    } else {
      dir.write("in/" + std::string(c.mtName), c.mt());
    }
    if (c.twist == Twist::SaveOverMt) {
      target = mt;
    } else if (c.twist == Twist::TargetFolderMissing) {
      target = dir.file("out/nowhere/" + std::string(c.targetName));
    } else {
      target = dir.file("out/" + std::string(c.targetName));
      std::filesystem::create_directories(pathFromUtf8(target).parent_path());
      if (targetExists) {
        std::ofstream(pathFromUtf8(target), std::ios::binary) << "previous\n";
      }
    }
    previous = contentOf(target);
    namesBefore = namesIn(pathFromUtf8(target).parent_path());
  }

  // After the run: the previous content or the whole new file, and nothing else beside it.
  void expectTargetWholeOrAsBefore(const BadInput& c, const std::string& lastStatus) const {
    const bool saved = lastStatus.starts_with("OK:New");
    const auto now = contentOf(target);
    const auto folder = pathFromUtf8(target).parent_path();
    auto names = namesBefore;
    if (saved) {
      ASSERT_TRUE(now.has_value());
      EXPECT_TRUE(testing::isWholeMtFile(*now, mtTitleOf(mt), target, vertexLinesOf(c.mt()),
                                         lastStatus == "OK:New OBJ save"));
      if (*c.savedBody != '\0') {
        EXPECT_EQ(*now, testing::mtFileHeader(mtTitleOf(mt), target) + c.savedBody);
      }
      names.insert(utf8FromPath(pathFromUtf8(target).filename()));
    } else {
      EXPECT_EQ(now, previous);
    }
    EXPECT_EQ(namesIn(folder), names);
  }

  static std::uint32_t vertexLinesOf(const std::string& bytes) {
    MemorySource source(bytes);
    LineReader reader(source);
    std::uint32_t count = 0;
    std::string_view line;
    while (reader.next(line)) {
      count += isVertexLine(line) ? 1 : 0;
    }
    return count;
  }
};

bool isError(const std::optional<std::string>& status) {
  return status && status->starts_with("ERR");
}

// Presses a control as calveth-cli does and gives the last status text it showed.
std::optional<std::string> pressed(Desk& desk, ControlId control) {
  const std::size_t mark = desk.host.events.size();
  if (!desk.router.press(control)) {
    return "ERR: Function is not available";
  }
  std::optional<std::string> status;
  for (std::size_t k = mark; k < desk.host.events.size(); ++k) {
    if (desk.host.events[k].starts_with("status ")) {
      status = desk.host.events[k].substr(7);
    }
  }
  return status;
}

void failAsTheRowSays(const BadInput& c, Desk& desk, FailingLayer& layer, const Files& files) {
  using Fail = FailingLayer::Fail;
  switch (c.twist) {
    case Twist::MtGoneBeforeSave:
      std::filesystem::remove(pathFromUtf8(files.mt));
      return;
    case Twist::FailCreate:
      layer.fail = Fail::Create;
      return;
    case Twist::FailClose:
      layer.fail = Fail::Close;
      return;
    case Twist::FailReplace:
      layer.fail = Fail::Replace;
      return;
    case Twist::FailFirstWrite:
    case Twist::FailMiddleWrite:
    case Twist::FailLastWrite: {
      // A save that succeeds counts the writes; the target is then put back as it was.
      desk.host.saveFileAnswer = files.target;
      desk.router.press(ControlId::SaveMt);
      const int writes = layer.writes;
      ASSERT_GE(writes, 3);
      if (files.previous) {
        std::ofstream(pathFromUtf8(files.target), std::ios::binary) << *files.previous;
      } else {
        std::filesystem::remove(pathFromUtf8(files.target));
      }
      layer.writes = 0;
      layer.fail = Fail::Write;
      layer.failingWrite = c.twist == Twist::FailFirstWrite    ? 0
                           : c.twist == Twist::FailMiddleWrite ? writes / 2
                                                               : writes - 1;
      return;
    }
    default:
      return;
  }
}

std::vector<std::string> warningsOf(const std::vector<std::string>& events) {
  std::vector<std::string> warnings;
  for (const std::string& event : events) {
    if (event.starts_with("warn ")) {
      warnings.push_back(event.substr(5));
    }
  }
  return warnings;
}

class BadInputs : public ::testing::TestWithParam<BadInput> {};

// Windows file names cannot hold CR or LF, so rows that put line ends into a name have
// nothing to try there.
void skipNamesWithLineEndsOnWindows([[maybe_unused]] const BadInput& c) {
#ifdef _WIN32
  for (std::string_view name :
       {std::string_view(c.baseName), std::string_view(c.mtName), std::string_view(c.targetName)}) {
    if (name.find_first_of("\r\n") != std::string_view::npos) {
      GTEST_SKIP() << "Windows file names cannot hold CR or LF";
    }
  }
#endif
}

TEST_P(BadInputs, KeepWhatTheCommandsPromise) {
  const BadInput& c = GetParam();
  skipNamesWithLineEndsOnWindows(c);
  if (::testing::Test::IsSkipped()) {
    return;
  }
  for (bool targetExists : {false, true}) {
    SCOPED_TRACE(targetExists ? "saving over a file" : "saving a new file");
    FailingLayer layer;
    Desk desk(layer);
    const Files files(c, desk.dir, targetExists);
    ASSERT_TRUE(desk.openBase(kCube + "v 0 5 0\n"));
    const auto previousBase = BaseSnapshot::of(*desk.store);
    desk.host.events.clear();

    std::vector<std::string> statuses;
    const auto press = [&](ControlId control) {
      const auto status = pressed(desk, control);
      if (status) {
        statuses.push_back(*status);
      }
      return status;
    };
    desk.host.openFileAnswer = files.base;
    if (isError(press(ControlId::OpenBase))) {
      EXPECT_EQ(BaseSnapshot::of(*desk.store), previousBase);
    } else {
      const auto base = BaseSnapshot::of(*desk.store);
      desk.host.openFileAnswer = files.mt;
      if (isError(press(ControlId::OpenMt))) {
        EXPECT_EQ(BaseSnapshot::of(*desk.store), base);
        for (ControlId control : kOperationButtons) {
          EXPECT_FALSE(desk.router.isEnabled(control));
        }
        EXPECT_FALSE(desk.router.isEnabled(ControlId::SaveMt));
      } else if (!isError(press(c.command))) {
        if (c.withFaces) {
          press(ControlId::VertexOnly);
        }
        failAsTheRowSays(c, desk, layer, files);
        desk.host.saveFileAnswer = files.target;
        press(ControlId::SaveMt);
      }
    }
    EXPECT_EQ(statuses, c.statuses);
    const std::vector<std::string> warnings = warningsOf(desk.host.events);
    EXPECT_EQ(warnings.empty() ? "" : warnings.back(), c.lastWarning);
    if (!c.firstWarning.empty()) {
      ASSERT_FALSE(warnings.empty());
      EXPECT_EQ(warnings.front(), c.firstWarning);
    }
    files.expectTargetWholeOrAsBefore(c, statuses.back());
  }
}

INSTANTIATE_TEST_SUITE_P(Rows, BadInputs, ::testing::ValuesIn(rows()),
                         [](const auto& info) { return std::string(info.param.name); });

class BadInputsForTheProgram : public ::testing::TestWithParam<BadInput> {};

TEST_P(BadInputsForTheProgram, EndInTheSameTextsWithoutACrash) {
  const BadInput& c = GetParam();
  skipNamesWithLineEndsOnWindows(c);
  if (::testing::Test::IsSkipped()) {
    return;
  }
  for (bool targetExists : {false, true}) {
    SCOPED_TRACE(targetExists ? "saving over a file" : "saving a new file");
    TempDir dir;
    const Files files(c, dir, targetExists);
    std::string name;
    for (const OperationName& operation : kOperationNames) {
      name = operation.control == c.command ? std::string(operation.name) : name;
    }
    std::vector<std::string> arguments = {name,     "--base", files.base,  "--mt",
                                          files.mt, "-o",     files.target};
    if (c.withFaces) {
      arguments.push_back("--with-faces");
    }
    const auto result = testing::runCliProgram(arguments);
    ASSERT_FALSE(result.signalled);
    std::string expected;
    bool allOk = true;
    for (const std::string& status : c.statuses) {
      expected += status + "\n";
      allOk = allOk && status.starts_with("OK");
    }
    EXPECT_EQ(result.out, expected);
    EXPECT_EQ(result.exitCode, allOk ? 0 : 1);
    std::string lastWarning;
    std::istringstream lines(result.err);
    for (std::string line; std::getline(lines, line);) {
      lastWarning = line.starts_with("warning: ") ? line.substr(9) : lastWarning;
    }
    EXPECT_EQ(lastWarning, c.lastWarning);
    files.expectTargetWholeOrAsBefore(c, result.lastOutLine());
  }
}

INSTANTIATE_TEST_SUITE_P(Rows, BadInputsForTheProgram, ::testing::ValuesIn(rowsForTheProgram()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace calveth
