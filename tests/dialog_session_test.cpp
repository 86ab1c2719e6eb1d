// The dialog session without a toolkit: what each user step shows (status, controls, warnings,
// viewer picture and place, the file dialogs' folder, keys), for every front end at once.
#include "app/dialog_session.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "support/recording_widgets.h"
#include "support/temp_dir.h"

namespace calveth {
namespace {

using testing::NoText;
using testing::TempDir;
using Widgets = testing::RecordingWidgets;

const std::string kCube =
    "v 1 1 1\nv -1 1 1\nv 1 -1 1\nv -1 -1 1\nv 1 1 -1\nv -1 1 -1\nv 1 -1 -1\nv -1 -1 -1\n"
    "f 1 2 4 3\nf 5 6 8 7\nf 1 2 6 5\nf 3 4 8 7\nf 1 3 7 5\nf 2 4 8 6\n";
const std::string kCubeMt =
    "v 1.5 1 1\nv -1 1 1\nv 1 -1.25 1\nv -1 -1 1\nv 1 1 -1\nv -1 1 -1\nv 1 -1 -0.5\nv -1 -1 -1\n"
    "vt 0 0\nf 1 2 4 3\n";

struct Session {
  std::unique_ptr<MeshStore> store = std::make_unique<MeshStore>();
  Widgets widgets;
  NoText text;
  TempDir dir;
  DialogSession session{*store, widgets, text, PixelLayout::Argb32};
  Session() { session.start(); }

  bool open(ControlId control, const std::string& name, const std::string& bytes) {
    widgets.files.push_back(dir.write(name, bytes));
    return session.press(control);
  }
};

TEST(DialogSession, TypicalRunShowsEachStepAndStartsFileDialogsInTheLastFolder) {
  Session s;
  EXPECT_FALSE(s.widgets.enabled[ControlId::SaveMt]);
  EXPECT_TRUE(s.widgets.checked[ControlId::VertexOnly]);
  EXPECT_FALSE(s.widgets.checked[ControlId::Viewer]);

  ASSERT_TRUE(s.session.press(ControlId::Viewer));
  EXPECT_EQ(s.widgets.shownAt, (ViewerPlace{10, 10}));
  EXPECT_TRUE(s.widgets.checked[ControlId::Viewer]);
  EXPECT_EQ(s.widgets.title, "Wire Flame Viewer");
  const std::uint64_t empty = s.widgets.pictureDigest;

  s.open(ControlId::OpenBase, "cube.obj", kCube);
  EXPECT_EQ(s.widgets.status, "OK: Perfect symmetry V=8 F=6");
  EXPECT_NE(s.widgets.pictureDigest, empty);
  EXPECT_EQ(s.widgets.folders, std::vector<std::string>{""});  // the working folder first
  s.open(ControlId::OpenMt, "cube_mt.obj", kCubeMt);
  EXPECT_EQ(s.widgets.status, "OK: Choose Function (v=8/8)");
  EXPECT_TRUE(s.widgets.enabled[ControlId::MirrorLeftToRight]);

  // The box shows, after each click, what the next save writes.
  s.session.press(ControlId::VertexOnly);
  EXPECT_FALSE(s.widgets.checked[ControlId::VertexOnly]);
  EXPECT_FALSE(s.session.isChecked(ControlId::VertexOnly));
  s.session.press(ControlId::VertexOnly);
  EXPECT_TRUE(s.widgets.checked[ControlId::VertexOnly]);
  s.session.press(ControlId::VertexOnly);

  s.session.press(ControlId::MirrorLeftToRight);
  EXPECT_EQ(s.widgets.status, "OK: Left Seed,Right Generate.");
  s.widgets.files.push_back(s.dir.file("saved.obj"));
  s.session.press(ControlId::SaveMt);
  EXPECT_EQ(s.widgets.status, "OK:New OBJ save");  // with the MT's faces
  ASSERT_EQ(s.widgets.folders.size(), 3u);
  EXPECT_EQ(s.widgets.folders[1], folderOf(s.dir.file("cube.obj")));
  EXPECT_EQ(s.widgets.folders[2], s.widgets.folders[1]);
  EXPECT_NE(testing::readFile(s.dir.file("saved.obj")).find("\nf 1 2 4 3"), std::string::npos);
}

TEST(DialogSession, KeysDoWhatTheDialogPromises) {
  struct Case {
    const char* name;
    DialogKey key;
    KeySource source;
    char letter;
    bool alt;
    KeyAnswer answer;
    int tones;
    int ends;
    double angle;
  };
  const double step = std::numbers::pi / 12;
  const Case cases[] = {
      {"Enter sounds", DialogKey::Enter, KeySource::Dialog, 0, false, KeyAnswer::Taken, 1, 0, 0},
      {"Esc sounds", DialogKey::Escape, KeySource::Viewer, 0, false, KeyAnswer::Taken, 1, 0, 0},
      {"F3 ends", DialogKey::F3, KeySource::Viewer, 0, false, KeyAnswer::Taken, 0, 1, 0},
      {"a stray x", DialogKey::Letter, KeySource::Dialog, 'x', false, KeyAnswer::Taken, 0, 0, 0},
      {"Alt+X ends", DialogKey::Letter, KeySource::Dialog, 'X', true, KeyAnswer::Taken, 0, 1, 0},
      {"Alt+Q is none", DialogKey::Letter, KeySource::Dialog, 'q', true, KeyAnswer::PassOn, 0, 0,
       0},
      {"Left in the dialog", DialogKey::Left, KeySource::Dialog, 0, false, KeyAnswer::PassOn, 0, 0,
       0},
      {"Left in the viewer", DialogKey::Left, KeySource::Viewer, 0, false, KeyAnswer::Taken, 0, 0,
       -step},
      {"Right in the viewer", DialogKey::Right, KeySource::Viewer, 0, false, KeyAnswer::Taken, 0, 0,
       step},
      {"Tab", DialogKey::Other, KeySource::Dialog, 0, false, KeyAnswer::PassOn, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Session s;
    EXPECT_EQ(s.session.keyDown(c.key, c.source, c.letter, c.alt), c.answer);
    EXPECT_EQ(s.widgets.tones, c.tones);
    EXPECT_EQ(s.widgets.ends, c.ends);
    EXPECT_DOUBLE_EQ(s.store->viewAngle, c.angle);
    EXPECT_TRUE(s.widgets.folders.empty());  // no key opened a file dialog
  }
  // Alt+G opens the viewer and Home turns it back to the front, repainting at once.
  Session s;
  s.open(ControlId::OpenBase, "cube.obj", kCube);
  s.session.keyDown(DialogKey::Letter, KeySource::Dialog, 'g', true);
  ASSERT_TRUE(s.session.viewerOpen());
  const std::uint64_t front = s.widgets.pictureDigest;
  s.session.keyDown(DialogKey::Right, KeySource::Viewer);
  EXPECT_NE(s.widgets.pictureDigest, front);
  s.session.keyDown(DialogKey::Home, KeySource::Viewer);
  EXPECT_EQ(s.widgets.pictureDigest, front);
}

TEST(DialogSession, ViewerRemembersItsPlaceHoweverItCloses) {
  Session s;
  s.session.press(ControlId::Viewer);
  s.widgets.hiddenAt = {300, 40};
  s.session.press(ControlId::Viewer);  // "&G" again
  EXPECT_FALSE(s.widgets.checked[ControlId::Viewer]);
  s.session.press(ControlId::Viewer);
  EXPECT_EQ(s.widgets.shownAt, (ViewerPlace{300, 40}));
  s.session.viewerClosed({55, 66});  // by the window system
  EXPECT_FALSE(s.session.viewerOpen());
  EXPECT_FALSE(s.widgets.checked[ControlId::Viewer]);
  s.session.press(ControlId::Viewer);
  EXPECT_EQ(s.widgets.shownAt, (ViewerPlace{55, 66}));
  s.widgets.hiddenAt = {7, 8};
  s.session.press(ControlId::Exit);  // the viewer goes with the dialog
  EXPECT_EQ(s.widgets.ends, 1);
  EXPECT_EQ(s.session.viewerPlace(), (ViewerPlace{7, 8}));
}

TEST(DialogSession, WarningsOfTheLastCommandWithLineNumbers) {
  Session s;
  s.session.press(ControlId::Viewer);
  s.open(ControlId::OpenBase, "warned.obj", kCube + "f 1 2\nf 1 x 3\n");
  const std::vector<std::string> expected = {"line 15: F MinERR FNum=2 FType=1 D=f 1 2",
                                             "line 16: F MinERR FNum=3 FType=1 D=f 1 x 3",
                                             "2 face lines were not stored"};
  EXPECT_EQ(s.widgets.warnings, expected);
  EXPECT_EQ(s.widgets.title,
            "Wire Flame Viewer - warning: line 15: F MinERR FNum=2 FType=1 D=f 1 2 (2 more)");
  s.session.press(ControlId::OpenBase);  // cancelled: nothing changes
  EXPECT_EQ(s.widgets.warnings, expected);
  s.open(ControlId::OpenBase, "clean.obj", kCube);
  EXPECT_TRUE(s.widgets.warnings.empty());
  EXPECT_EQ(s.widgets.title, "Wire Flame Viewer");
}

// A refused file leaves the loaded base, so the viewer goes on showing it; before any base
// the refusal's empty picture stays.
TEST(DialogSession, RefusalsKeepShowingTheLoadedBase) {
  Session s;
  s.session.press(ControlId::Viewer);
  s.open(ControlId::OpenBase, "nothing.obj", "# no vertices\n");
  EXPECT_EQ(s.widgets.status, "ERR: v line out of range (0-0)");
  const std::uint64_t empty = s.widgets.pictureDigest;
  s.open(ControlId::OpenBase, "cube.obj", kCube);
  const std::uint64_t base = s.widgets.pictureDigest;
  ASSERT_NE(base, empty);
  struct Refusal {
    ControlId control;
    const char* bytes;
    const char* status;
  };
  const Refusal refusals[] = {
      {ControlId::OpenBase, "# no vertices\n", "ERR: v line out of range (0-0)"},
      {ControlId::OpenBase, "v 1 oops 0\n", "ERR: Obj file v line err![1]"},
      {ControlId::OpenMt, "v 1 1 1\n", "ERR: MT v line unmatch 8 1"},
      {ControlId::OpenMt, "v 1 x\n", "ERR: Obj file v line err![1]"},
  };
  for (const Refusal& r : refusals) {
    SCOPED_TRACE(r.status);
    s.widgets.pictureDigest = 0;
    s.open(r.control, "refused.obj", r.bytes);
    EXPECT_EQ(s.widgets.status, r.status);
    EXPECT_EQ(s.widgets.pictureDigest, base);
    EXPECT_TRUE(s.session.isEnabled(ControlId::OpenMt));
  }
  // The displacements a refused MT leaves belong to no MT: nothing is marked as moved.
  s.open(ControlId::OpenMt, "cube_mt.obj", kCubeMt);
  ASSERT_NE(s.widgets.pictureDigest, base);
  s.open(ControlId::OpenMt, "short.obj", "v 1.5 1 1\nv 7 7 7\n");
  EXPECT_EQ(s.widgets.status, "ERR: MT v line unmatch 8 2");
  EXPECT_EQ(s.widgets.pictureDigest, base);
}

TEST(DialogSession, ProgressIsHeldToItsRange) {
  Session s;
  // Two vertices on one point count two hits each: more hits than vertices.
  s.open(ControlId::OpenBase, "dupe.obj", "v -1 0 0\nv -1 0 0\nv 0 1 0\nv 1 0 0\n");
  EXPECT_EQ(s.widgets.status, "CRITICAL ERR:Same Point HIT");
  EXPECT_EQ(s.widgets.progressHigh, 4);
  EXPECT_EQ(s.widgets.progressPosition, 4);
}

// The viewer's menu: pairing by the mesh while the analysis left vertices unpaired, and the
// four views.
TEST(DialogSession, ViewerMenuPairsByTheMeshAndTurnsTheView) {
  Session s;
  s.widgets.answer = false;  // no tolerance passes: the six moved vertices and their mirrors
  s.widgets.files.push_back(std::string(CALVETH_SAMPLES_DIR) + "/head_base_near.obj");
  s.session.press(ControlId::OpenBase);
  ASSERT_EQ(s.widgets.status, "OK:Symmetry(2998/3010) LVL=0");
  const auto pairing = [&] { return s.session.viewerMenu().front(); };
  ASSERT_EQ(pairing().caption, "Pair the rest by the mesh");
  ASSERT_TRUE(pairing().enabled);
  s.session.chooseFromViewerMenu(ViewerMenuEntry::PairByMesh);
  EXPECT_TRUE(s.widgets.status.starts_with("OK: Mesh pairing P=")) << s.widgets.status;
  EXPECT_FALSE(pairing().enabled);
  const struct {
    ViewerMenuEntry entry;
    double angle;
  } views[] = {{ViewerMenuEntry::Left, -std::numbers::pi / 2},
               {ViewerMenuEntry::Back, std::numbers::pi},
               {ViewerMenuEntry::Right, std::numbers::pi / 2},
               {ViewerMenuEntry::Front, 0.0}};
  for (const auto& view : views) {
    s.session.chooseFromViewerMenu(view.entry);
    EXPECT_DOUBLE_EQ(s.store->viewAngle, view.angle);
  }
  s.session.viewerDragged(90);
  EXPECT_DOUBLE_EQ(s.store->viewAngle, std::numbers::pi / 2);
}

TEST(DialogSession, FolderOfAPath) {
  EXPECT_EQ(folderOf("/home/me/head.obj"), "/home/me");
  EXPECT_EQ(folderOf("/head.obj"), "/");
  EXPECT_EQ(folderOf("head.obj"), "");
#ifdef _WIN32
  EXPECT_EQ(folderOf("C:\\models\\head.obj"), "C:\\models");
#endif
}

}  // namespace
}  // namespace calveth
