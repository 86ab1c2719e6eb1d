// What can be pressed when: the enabled and checked state of every control after each
// outcome of each command, as one model run through the router step by step.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "support/desk.h"

namespace calveth {
namespace {

using testing::Desk;

constexpr ControlId kControls[] = {ControlId::Exit,
                                   ControlId::MinusDelta,
                                   ControlId::SaveMt,
                                   ControlId::OpenBase,
                                   ControlId::MirrorLeftToRight,
                                   ControlId::MirrorRightToLeft,
                                   ControlId::PlusDelta,
                                   ControlId::OpenMt,
                                   ControlId::Swap,
                                   ControlId::ResetLeft,
                                   ControlId::ResetRight,
                                   ControlId::Melt,
                                   ControlId::ReflectedBase,
                                   ControlId::VertexOnly,
                                   ControlId::Viewer};

// "enabled ids / checked ids", ids ascending.
std::string stateOf(const CommandRouter& router) {
  std::string enabled;
  std::string checked;
  for (ControlId control : kControls) {
    const std::string id = std::to_string(static_cast<int>(control));
    if (router.isEnabled(control)) {
      enabled += (enabled.empty() ? "" : " ") + id;
    }
    if (router.isChecked(control)) {
      checked += " " + id;
    }
  }
  return enabled + " /" + checked;
}

const std::string kCube =
    "v 1 1 1\nv -1 1 1\nv 1 -1 1\nv -1 -1 1\nv 1 1 -1\nv -1 1 -1\nv 1 -1 -1\nv -1 -1 -1\n"
    "f 1 2 4 3\nf 5 6 8 7\nf 1 2 6 5\nf 3 4 8 7\nf 1 3 7 5\nf 2 4 8 6\n";
const std::string kCubeMt =
    "v 1.5 1 1\nv -1 1 1\nv 1 -1.25 1\nv -1 -1 1\nv 1 1 -1\nv -1 1 -1\nv 1 -1 -0.5\nv -1 -1 -1\n";

const std::map<std::string, std::string> kFiles = {
    {"cube", kCube},
    {"cube_mt", kCubeMt},
    {"cube_mt_faces", kCubeMt + "vt 0 0\nf 1 2 4 3\n"},
    {"mt5", "v 0 0 0\nv 0 0 0\nv 0 0 0\nv 0 0 0\nv 0 0 0\n"},
    {"bad_v", "v 1 0 0\nv 1 oops 0\n"},
    {"bad_mt", "v 1 2 3\nv x\n"},
    {"empty", ""},
    {"lonely", "v 1 0 0\nv 2 0 0\nv 3 0 0\n"},
    {"dupe", "v 1 0 0\nv 1 0 0\nv -1 0 0\n"},
    {"half", "#HALF\nv 1 0 0\nv 2 0 0\nv -1 0 0\nv -2 0 0\n"},
    {"half_mt", "v 1.5 0 0\nv 2 0.5 0\n"},
};

struct Step {
  std::string action;      // "base FILE", "mt FILE", "press ID", "refused ID", "save",
                           // "cancel base", "cancel mt", "cancel save"
  const char* state;       // stateOf() afterwards
  const char* status;      // the status line afterwards; nullptr: as before the step
  const char* event = "";  // an event the step records; "!x": no event beginning with x
};

struct Scenario {
  const char* name;
  std::vector<Step> steps;
};

void PrintTo(const Scenario& c, std::ostream* os) { *os << c.name; }

class Availability : public ::testing::TestWithParam<Scenario> {};

constexpr const char* kStart = "1 5 9 1005 / 1003";
constexpr const char* kAll = "1 3 5 6 7 8 9 10 11 12 13 1003 1005 / 1003";
constexpr const char* kAllAndSave = "1 3 4 5 6 7 8 9 10 11 12 13 1003 1005 / 1003";
constexpr const char* kNoneAfterMt = "1 5 9 1003 1005 / 1003";

TEST_P(Availability, FollowsTheRules) {
  Desk desk;
  desk.host.yesNoAnswer = false;
  ASSERT_EQ(stateOf(desk.router), kStart);
  for (const Step& step : GetParam().steps) {
    SCOPED_TRACE(step.action);
    const auto before = std::make_unique<MeshStore>(*desk.store);
    const std::string stateBefore = stateOf(desk.router);
    const std::string statusBefore = desk.status();
    const std::size_t eventsBefore = desk.host.events.size();
    const std::string verb = step.action.substr(0, step.action.find(' '));
    const std::string what = step.action.substr(step.action.find(' ') + 1);
    bool unchanged = false;  // nothing at all may change
    if (verb == "base" || verb == "mt") {
      const auto file = kFiles.find(what);
      desk.host.openFileAnswer = file == kFiles.end() ? desk.dir.file("missing.obj")
                                                      : desk.dir.write(what + ".obj", file->second);
      EXPECT_TRUE(desk.router.press(verb == "base" ? ControlId::OpenBase : ControlId::OpenMt));
    } else if (verb == "press") {
      EXPECT_TRUE(desk.router.press(static_cast<ControlId>(std::stoi(what))));
    } else if (verb == "refused") {
      EXPECT_FALSE(desk.router.press(static_cast<ControlId>(std::stoi(what))));
      unchanged = true;
    } else if (verb == "save") {
      desk.host.saveFileAnswer = desk.dir.file("saved.obj");
      EXPECT_TRUE(desk.router.press(ControlId::SaveMt));
    } else {
      ASSERT_EQ(verb, "cancel");
      desk.host.openFileAnswer = std::nullopt;
      desk.host.saveFileAnswer = std::nullopt;
      const ControlId control = what == "base" ? ControlId::OpenBase
                                : what == "mt" ? ControlId::OpenMt
                                               : ControlId::SaveMt;
      EXPECT_TRUE(desk.router.press(control));
      EXPECT_EQ(desk.host.events.size(), eventsBefore + 1);  // only the dialog itself
      unchanged = true;
    }
    EXPECT_EQ(stateOf(desk.router), step.state);
    EXPECT_EQ(desk.status(), step.status ? step.status : statusBefore);
    const std::vector<std::string> events(desk.host.events.begin() + eventsBefore,
                                          desk.host.events.end());
    const std::string wanted = step.event;
    if (wanted.starts_with("!")) {
      for (const std::string& event : events) {
        EXPECT_FALSE(event.starts_with(wanted.substr(1))) << event;
      }
    } else if (!wanted.empty()) {
      EXPECT_NE(std::find(events.begin(), events.end(), wanted), events.end()) << wanted;
    }
    if (unchanged) {
      EXPECT_EQ(stateOf(desk.router), stateBefore);
      if (verb == "refused") {
        EXPECT_TRUE(events.empty());
      }
      const MeshStore& s = *desk.store;
      EXPECT_EQ(s.WorkX, before->WorkX);
      EXPECT_EQ(s.WorkY, before->WorkY);
      EXPECT_EQ(s.MtX, before->MtX);
      EXPECT_EQ(s.BaseX, before->BaseX);
      EXPECT_EQ(s.workVertexCount, before->workVertexCount);
      EXPECT_EQ(s.mtVertexCount, before->mtVertexCount);
      EXPECT_EQ(s.operationTag, before->operationTag);
      EXPECT_EQ(s.mtPath, before->mtPath);
    }
    // the front end was told every change the router keeps
    for (ControlId control : kControls) {
      const auto shown = desk.host.enabled(control);
      EXPECT_EQ(shown.value_or(false), desk.router.isEnabled(control)) << static_cast<int>(control);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Runs, Availability,
    ::testing::Values(
        Scenario{"open_base_outcomes",
                 {{"base missing", kStart, "ERR: Obj file not open"},
                  {"base bad_v", kStart, "ERR: Obj file v line err![1]"},
                  {"base empty", kStart, "ERR: v line out of range (0-0)"},
                  {"base lonely", "1 5 9 1002 1005 / 1003", "NG: Mirror V.C.M can't build up.",
                   "enable 1002 1"},
                  // the chosen file takes "R" away again, and the duplicate offers no MT
                  {"base dupe", kStart, "CRITICAL ERR:Same Point HIT", "!enable 9 1"},
                  {"base cube", kStart, "OK: Perfect symmetry V=8 F=6", "enable 9 1"},
                  {"cancel base", kStart, nullptr}}},
        Scenario{"full_mt_commands_and_cancels",
                 {{"base cube", kStart, "OK: Perfect symmetry V=8 F=6"},
                  {"mt cube_mt", kAll, "OK: Choose Function (v=8/8)", "check 1003 1"},
                  {"press 6", kAllAndSave, "OK: Left Seed,Right Generate."},
                  // no face lines to copy: the switch stays checked
                  {"press 1003", kAllAndSave, "NO! Your MT is not included Face."},
                  {"press 1003", kAllAndSave, "NO! Your MT is not included Face."},
                  {"cancel save", kAllAndSave, nullptr,
                   "save New MT file (*.obj)|*.obj|| cube_mtMirR.obj obj"},
                  {"cancel mt", kAllAndSave, nullptr},
                  {"cancel base", kAllAndSave, nullptr},
                  {"save", kAllAndSave, "OK:New MT save"},
                  {"save", kAllAndSave, "OK:New MT save"},
                  {"mt mt5", kNoneAfterMt, "ERR: MT v line unmatch 8 5"},
                  {"refused 13", kNoneAfterMt, nullptr},
                  {"refused 3", kNoneAfterMt, nullptr},
                  {"refused 4", kNoneAfterMt, nullptr},
                  {"mt cube_mt", kAll, "OK: Choose Function (v=8/8)"}}},
        // "-" and "+" go with the other commands whenever a base or an MT file is chosen, and
        // come back only with a full MT
        Scenario{"minus_and_plus_follow_the_mt",
                 {{"base cube", kStart, "OK: Perfect symmetry V=8 F=6"},
                  {"mt cube_mt", kAll, "OK: Choose Function (v=8/8)"},
                  {"press 3", kAllAndSave, "OK: Minus Delta."},
                  {"base cube", kNoneAfterMt, "OK: Perfect symmetry V=8 F=6"},
                  {"refused 3", kNoneAfterMt, nullptr},
                  {"refused 8", kNoneAfterMt, nullptr},
                  {"refused 4", kNoneAfterMt, nullptr},
                  {"mt cube_mt", kAll, "OK: Choose Function (v=8/8)"},
                  {"press 8", kAllAndSave, "OK: Plus Delta."},
                  {"mt missing", kNoneAfterMt, "ERR: Obj file not open!"},
                  {"refused 8", kNoneAfterMt, nullptr},
                  {"base bad_v", kNoneAfterMt, "ERR: Obj file v line err![1]"},
                  {"mt half_mt", kNoneAfterMt, "ERR: MT v line unmatch 8 2"}}},
        Scenario{"half_mt_offers_swap_only",
                 {{"base half", kStart, "OK: Perfect symmetry V=4 F=0"},
                  {"mt half_mt", "1 5 9 10 1003 1005 / 1003", "OK: CHOOSE SWAP ONLY"},
                  {"refused 6", "1 5 9 10 1003 1005 / 1003", nullptr},
                  {"refused 8", "1 5 9 10 1003 1005 / 1003", nullptr},
                  {"press 10", "1 4 5 9 10 1003 1005 / 1003", "OK: Swap Generate."},
                  {"mt bad_mt", kNoneAfterMt, "ERR: Obj file v line err![0]"}}},
        Scenario{"vertex_only_switch",
                 // a bad vertex line checks the switch but does not make it usable
                 {{"mt bad_mt", kStart, "ERR: Obj file v line err![0]", "check 1003 1"},
                  {"refused 1003", kStart, nullptr},
                  {"mt cube_mt_faces", kNoneAfterMt, "ERR: MT v line unmatch 0 8"},
                  // with face lines the switch toggles and says nothing
                  {"press 1003", "1 5 9 1003 1005 /", nullptr, "!status"},
                  {"press 1003", kNoneAfterMt, nullptr, "!status"},
                  {"press 1003", "1 5 9 1003 1005 /", nullptr, "!status"},
                  {"base cube", "1 5 9 1003 1005 /", "OK: Perfect symmetry V=8 F=6"},
                  {"mt cube_mt_faces", kAll, "OK: Choose Function (v=8/8)"},
                  {"press 1003", "1 3 5 6 7 8 9 10 11 12 13 1003 1005 /", nullptr},
                  {"mt bad_mt", kNoneAfterMt, "ERR: Obj file v line err![0]"}}},
        Scenario{"reflected_base",
                 {{"base lonely", "1 5 9 1002 1005 / 1003", "NG: Mirror V.C.M can't build up."},
                  {"press 1002", "1 4 5 9 1002 1005 / 1002 1003", nullptr},
                  {"press 1002", "1 5 9 1002 1005 / 1003", nullptr},
                  {"press 1002", "1 4 5 9 1002 1005 / 1002 1003", nullptr},
                  {"save", "1 4 5 9 1002 1005 / 1002 1003", "OK:New MT save"},
                  // The switch keeps its pressed look while it is disabled.
                  {"base cube", "1 5 9 1005 / 1002 1003", "OK: Perfect symmetry V=8 F=6"},
                  {"refused 1002", "1 5 9 1005 / 1002 1003", nullptr}}}),
    [](const auto& info) { return std::string(info.param.name); });

// "R" shows the base mirrored in X = 0 as the result that "&Save MT" writes, and puts the base
// back when switched off.
TEST(Availability, ReflectedBaseIsTheMirroredBase) {
  Desk desk;
  desk.openBase("v 1 0.5 2\nv 2 0 0\nv 3 -1 0.25\n");
  ASSERT_TRUE(desk.router.press(ControlId::ReflectedBase));
  EXPECT_EQ(desk.store->workVertexCount, 3u);
  const std::string path = desk.dir.file("r.obj");
  EXPECT_EQ(desk.save(path), "# Convert by TOLV\n# Original name: \n# Convert  name: " + path +
                                 "\nv -1.000000 0.500000 2.000000\nv -2.000000 0.000000 0.000000\n"
                                 "v -3.000000 -1.000000 0.250000\n# vertex num is 3\n");
  EXPECT_EQ(desk.host.events[desk.host.events.size() - 2],
            "save New MT file (*.obj)|*.obj|| .obj obj");
  ASSERT_TRUE(desk.router.press(ControlId::ReflectedBase));
  EXPECT_EQ(desk.store->WorkX[2], 3.0);
  EXPECT_EQ(desk.store->WorkY[2], -1.0);
}

}  // namespace
}  // namespace calveth
