// "&Save MT": the bytes of the new file, typed by hand, and every way saving can fail.
#include "morph/save_mt.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <memory>
#include <ostream>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "objio/mt_writer.h"
#include "support/desk.h"
#include "support/failing_layer.h"

namespace calveth {
namespace {

using testing::Desk;
using testing::FailingLayer;
using testing::readFile;
using testing::RecordingHost;
using testing::TempDir;

std::string header(const std::string& title, const std::string& path) {
  return "# Convert by TOLV\n# Original name: " + title + "\n# Convert  name: " + path + "\n";
}

// The names in a folder: a failed save must leave no temporary file behind.
std::set<std::string> namesIn(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

const std::string kCube =
    "v 1 1 1\nv -1 1 1\nv 1 -1 1\nv -1 -1 1\nv 1 1 -1\nv -1 1 -1\nv 1 -1 -1\nv -1 -1 -1\n"
    "f 1 2 4 3\nf 5 6 8 7\nf 1 2 6 5\nf 3 4 8 7\nf 1 3 7 5\nf 2 4 8 6\n";
// The left side moved, CRLF line ends, and every kind of line an OBJ file may hold.
const std::string kCubeSmile =
    "# made by hand\r\nmtllib cube.mtl\r\no cube\r\n"
    "v 1.5 1 1\r\nv -1 1 1\r\nv 1 -1.25 1\r\nv -1 -1 1\r\n"
    "v 1 1 -1\r\nv -1 1 -1\r\nv 1 -1 -0.5\r\nv -1 -1 -1\r\n"
    "vt 0 0\r\nvt 1 0.5\r\nvn 0 0 1\r\nvp 0.5\r\ng side\r\nusemtl skin\r\ns 1\r\n"
    "f 1/1/1 2/2/1 4/2/1 3/1/1\r\nf 5 6 8 7\r\n";
const std::string kCubeMirrored =
    "v 1.500000 1.000000 1.000000\nv -1.500000 1.000000 1.000000\n"
    "v 1.000000 -1.250000 1.000000\nv -1.000000 -1.250000 1.000000\n"
    "v 1.000000 1.000000 -1.000000\nv -1.000000 1.000000 -1.000000\n"
    "v 1.000000 -1.000000 -0.500000\nv -1.000000 -1.000000 -0.500000\n# vertex num is 8\n";

struct SaveCase {
  const char* name;
  std::string base;
  std::string mt;  // saved as smile.obj
  ControlId command;
  bool withFaces;  // the vertex-only switch cleared before saving
  std::string proposal;
  std::string status;
  std::string body;  // everything after the header
};

void PrintTo(const SaveCase& c, std::ostream* os) { *os << c.name; }

class SavedBytes : public ::testing::TestWithParam<SaveCase> {};

TEST_P(SavedBytes, AreTheTypedOnes) {
  const SaveCase& c = GetParam();
  Desk desk;
  desk.openBase(c.base);
  desk.openMt(c.mt, "smile.obj");
  ASSERT_TRUE(desk.router.press(c.command));
  if (c.withFaces) {
    desk.router.press(ControlId::VertexOnly);
    ASSERT_FALSE(desk.router.isChecked(ControlId::VertexOnly));
  }
  TempDir out;
  const std::string path = out.file("new.obj");
  EXPECT_EQ(desk.save(path), header("smile", path) + c.body);
  EXPECT_EQ(desk.status(), c.status);
  EXPECT_EQ(desk.host.events[desk.host.events.size() - 2],
            "save New MT file (*.obj)|*.obj|| " + c.proposal + " obj");
  EXPECT_EQ(namesIn(out.file("")), std::set<std::string>{"new.obj"});
}

INSTANTIATE_TEST_SUITE_P(
    Files, SavedBytes,
    ::testing::Values(
        SaveCase{"vertices_only", kCube, kCubeSmile, ControlId::MirrorLeftToRight, false,
                 "smileMirR.obj", "OK:New MT save", kCubeMirrored},
        // copied lines keep their CRLF; g, o, s, mtllib, comments and vp lines stay behind
        SaveCase{"with_faces", kCube, kCubeSmile, ControlId::MirrorLeftToRight, true,
                 "smileMirR.obj", "OK:New OBJ save",
                 kCubeMirrored + "vt 0 0\r\nvt 1 0.5\r\nvn 0 0 1\r\nusemtl skin\r\n"
                                 "f 1/1/1 2/2/1 4/2/1 3/1/1\r\nf 5 6 8 7\r\n#\n"},
        // a lone CR ends a line as LF, a last line without an end gets one; any line that
        // begins with f or u is copied, one that begins with a blank is not
        SaveCase{"line_ends_and_first_bytes", "v 1 0 0\nv -1 0 0\n",
                 "v 1.25 0 0\nvt 0 0\rvn 0 0 1\r\nv -1 0 0\nf 1 2\n  f 2 1\n\n\r\nfoo bar\n"
                 "usemtl skin\nuv\nvx 1\nv1 2\nvp 1\ng g\no o\ns 1\nmtllib m\n# f\nf 2 1",
                 ControlId::ResetRight, true, "smileResR.obj", "OK:New OBJ save",
                 "v 1.250000 0.000000 0.000000\nv -1.000000 0.000000 0.000000\n"
                 "# vertex num is 2\n"
                 "vt 0 0\nvn 0 0 1\r\nf 1 2\nfoo bar\nusemtl skin\nuv\nf 2 1\n#\n"},
        // the middle vertex gets X = -0, written without a sign; a tiny negative keeps it
        SaveCase{"negative_zero", "v 1 0 0\nv -1 0 0\nv 0 1 0\n",
                 "v 1 0 -0.0000001\nv -1 0 0\nv 0 1 0\n", ControlId::Swap, false, "smileSwap.obj",
                 "OK:New MT save",
                 "v 1.000000 0.000000 0.000000\nv -1.000000 0.000000 -0.000000\n"
                 "v 0.000000 1.000000 0.000000\n# vertex num is 3\n"}),
    [](const auto& info) { return std::string(info.param.name); });

// The copy pass writes runs of kept lines in one piece; runs that the reader's refills cut, a
// lone CR made LF at a run's edge and a last line without its end must not change a byte.
TEST(SaveMt, CopiedLinesOfABigFileAreThoseOfTheFileInItsOrder) {
  const char* const kinds[] = {"v 1 2 3",         "vt 0.5 0.25", "vn 0 0 1", "f 1/1 2/2 3/3",
                               "usemtl skin",     "g part",      "# note",   "",
                               "f 7 8 9 10 11 12"};
  const char* const ends[] = {"\n", "\r\n", "\r"};
  std::mt19937 random(7);
  std::string file;
  std::string copied;
  while (file.size() < 700 * 1024) {
    std::string text = kinds[random() % std::size(kinds)];
    if (text.empty() && file.ends_with('\r')) {
      text = "# after a lone CR";  // an empty line there would make it a CR LF
    }
    const std::string end = ends[random() % 8 == 0 ? 1 + random() % 2 : 0];
    file += text + end;
    if (isCopiedLine(text + "\n")) {
      copied += text + (end == "\r\n" ? "\r\n" : "\n");
    }
  }
  file += "f 3 2 1";  // the last line, without an end
  copied += "f 3 2 1\n";
  TempDir dir;
  const std::string mtPath = dir.file("mt.obj");
  std::ofstream(mtPath, std::ios::binary) << file;
  const double zero = 0.0;
  MtFileContent content{
      .title = "t", .x = &zero, .y = &zero, .z = &zero, .vertexCount = 1, .copyFrom = mtPath};
  const std::string target = dir.file("new.obj");
  ASSERT_EQ(writeMtFile(target, content), MtWriteOutcome::Saved);
  const std::string head =
      header("t", target) + "v 0.000000 0.000000 0.000000\n# vertex num is 1\n";
  EXPECT_EQ(readFile(target), head + copied + "#\n");
}

// --- Failures ------------------------------------------------------------------------------

// A result big enough to reach the file in several writes.
std::unique_ptr<MeshStore> bigResult() {
  auto store = std::make_unique<MeshStore>();
  store->workVertexCount = 9000;
  for (std::uint32_t i = 0; i < store->workVertexCount; ++i) {
    store->WorkX[i] = i * 0.5;
    store->WorkY[i] = -0.25 * i;
    store->WorkZ[i] = 1.0 / (i + 1);
  }
  store->mtTitle = "big";
  store->operationTag = "Melt";
  return store;
}

std::string saveThrough(MeshStore& store, FileWriteLayer& layer, const std::string& path,
                        bool vertexOnly = true) {
  RecordingHost host;
  host.saveFileAnswer = path;
  SaveMt(store, host, vertexOnly, layer);
  return host.lastStatus();
}

// Writing, close and replace failing part-way are rows of the bad-input table
// (bad_input_test.cpp), through the router and the same FailingLayer.
TEST(SaveMt, BigResultGoesToTheFileInSeveralWrites) {
  auto store = bigResult();
  TempDir dir;
  const std::string target = dir.file("big.obj");
  FailingLayer counting;
  ASSERT_EQ(saveThrough(*store, counting, target), "OK:New MT save");
  EXPECT_GE(counting.writes, 3);
  const std::string good = readFile(target);
  EXPECT_TRUE(good.starts_with(header("big", target) + "v 0.000000 0.000000 1.000000\n"));
  EXPECT_TRUE(good.ends_with("\nv 4499.500000 -2249.750000 0.000111\n# vertex num is 9000\n"));
  EXPECT_EQ(namesIn(dir.file("")), std::set<std::string>{"big.obj"});
}

struct RealFailure {
  const char* name;
  std::string target;  // inside the test folder
  double badValue;     // put into WorkY[1]; 0 for none
  const char* status;
};

void PrintTo(const RealFailure& c, std::ostream* os) { *os << c.name; }

class SaveMtRealFailures : public ::testing::TestWithParam<RealFailure> {};

TEST_P(SaveMtRealFailures, ChangeNothing) {
  const RealFailure& c = GetParam();
  auto store = bigResult();
  store->workVertexCount = 3;
  store->WorkY[1] = c.badValue;
  TempDir dir;
  std::filesystem::create_directory(dir.file("folder"));
  dir.write("kept.obj", "previous\n");
  EXPECT_EQ(saveThrough(*store, systemFileLayer(), dir.file(c.target)), c.status);
  EXPECT_EQ(namesIn(dir.file("")), (std::set<std::string>{"folder", "kept.obj"}));
  EXPECT_EQ(readFile(dir.file("kept.obj")), "previous\n");
  EXPECT_TRUE(std::filesystem::is_empty(dir.file("folder")));
}

INSTANTIATE_TEST_SUITE_P(
    Targets, SaveMtRealFailures,
    ::testing::Values(
        RealFailure{"target_is_a_folder", "folder", 0.0, "ERR:New MT file open err"},
        RealFailure{"folder_does_not_exist", "nowhere/new.obj", 0.0, "ERR:New MT file open err"},
        RealFailure{"nan", "new.obj", std::nan(""), "ERR:New MT value is not finite"},
        RealFailure{"infinity_over_a_file", "kept.obj", std::numeric_limits<double>::infinity(),
                    "ERR:New MT value is not finite"},
        RealFailure{"minus_infinity", "folder/new.obj", -std::numeric_limits<double>::infinity(),
                    "ERR:New MT value is not finite"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SaveMt, NewFileGetsThePermissionsOfAPlainNewFile) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows files have no POSIX permission bits or umask";
#else
  auto store = bigResult();
  store->workVertexCount = 2;
  TempDir dir;
  for (const mode_t mask : {mode_t{022}, mode_t{027}, mode_t{077}}) {
    const mode_t previous = umask(mask);
    const std::string path = dir.file("mode" + std::to_string(mask) + ".obj");
    EXPECT_EQ(saveThrough(*store, systemFileLayer(), path), "OK:New MT save");
    umask(previous);
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0666 & ~mask) << std::oct << mask;
  }
#endif
}

// A save onto a file that refuses writing is refused as the open for writing would refuse
// it, and the file keeps its bytes and its permissions. Renaming over it would succeed (only
// the folder's permission counts), and root passes every permission check: these rows hold
// for root as for its owner.
struct PermissionRow {
  const char* name;
  unsigned mode;  // the target's permission bits before the save
  const char* status;
};

void PrintTo(const PermissionRow& row, std::ostream* os) { *os << row.name; }

class SaveOverPermissions : public ::testing::TestWithParam<PermissionRow> {};

TEST_P(SaveOverPermissions, RefuseATargetWithoutWriteBitAndKeepIt) {
#ifdef _WIN32
  GTEST_SKIP() << "the read-only mark is a row of the Windows file-layer test";
#else
  const PermissionRow& row = GetParam();
  Desk desk;
  desk.openBase("v 1 0 0\nv -1 0 0\n");
  desk.openMt("v 2 0 0\nv -1 0 0\n", "arm.obj");
  ASSERT_TRUE(desk.router.press(ControlId::Swap));
  TempDir out;
  const std::string target = out.write("kept.obj", "previous\n");
  ASSERT_EQ(chmod(target.c_str(), row.mode), 0);
  const std::string saved = desk.save(target);
  EXPECT_EQ(desk.status(), row.status);
  if (std::string(row.status).starts_with("ERR:")) {
    EXPECT_EQ(saved, "previous\n");
    struct stat info {};
    ASSERT_EQ(stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, row.mode);
  } else {
    EXPECT_TRUE(saved.ends_with("# vertex num is 2\n")) << saved;
  }
  EXPECT_EQ(namesIn(out.file("")), std::set<std::string>{"kept.obj"});
#endif
}

INSTANTIATE_TEST_SUITE_P(
    Modes, SaveOverPermissions,
    ::testing::Values(PermissionRow{"read_only_for_all", 0444, "ERR:New MT file open err"},
                      PermissionRow{"read_only_for_owner", 0400, "ERR:New MT file open err"},
                      PermissionRow{"executable_not_writable", 0555, "ERR:New MT file open err"},
                      PermissionRow{"no_permission_at_all", 0000, "ERR:New MT file open err"},
                      PermissionRow{"writable_by_owner", 0644, "OK:New MT save"},
                      PermissionRow{"writable_only", 0200, "OK:New MT save"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SaveMt, CancelChangesNothing) {
  Desk desk;
  desk.openBase("v 1 0 0\nv -1 0 0\n");
  desk.openMt("v 2 0 0\nv -1 0 0\n", "arm.obj");
  desk.router.press(ControlId::Swap);
  const auto before = namesIn(desk.dir.file(""));
  desk.host.events.clear();
  desk.host.saveFileAnswer = std::nullopt;
  EXPECT_TRUE(desk.router.press(ControlId::SaveMt));
  EXPECT_EQ(desk.host.events,
            std::vector<std::string>{"save New MT file (*.obj)|*.obj|| armSwap.obj obj"});
  EXPECT_EQ(namesIn(desk.dir.file("")), before);
}

}  // namespace
}  // namespace calveth
