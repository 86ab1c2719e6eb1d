// The scenario table run against the dialog session itself: the rules every front end shows.
// Each front end's own driver runs the same table against its real dialog.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/dialog_session.h"
#include "cli/cli.h"
#include "support/recording_widgets.h"
#include "support/scenario_table.h"
#include "support/temp_dir.h"

#if CALVETH_PNG_PICTURES && !defined(_WIN32)
#include "linux/freetype_text_painter.h"
#include "linux/png_file.h"
#include "support/png_pixels.h"
#define CALVETH_SCENARIO_PICTURES 1
#else
#define CALVETH_SCENARIO_PICTURES 0
#endif

namespace calveth::testing {
namespace {

std::string sampleOrScenarioFile(const std::string& name) {
  const std::string scenario = std::string(CALVETH_SCENARIO_DIR) + "/files/" + name;
  return std::ifstream(scenario).good() ? scenario : std::string(CALVETH_SAMPLES_DIR) + "/" + name;
}

// calveth-cli run in this process; its exit code, with standard error appended to `why`.
int cli(const std::vector<std::string>& arguments, std::string& why) {
  std::ostringstream out;
  std::ostringstream err;
#if CALVETH_SCENARIO_PICTURES
  static const PngTools png{[](PixelLayout layout) -> std::unique_ptr<TextPainter> {
                              return std::make_unique<FreeTypeTextPainter>(layout);
                            },
                            encodePng};
  const int code = runCli(arguments, out, err, false, &png);
#else
  const int code = runCli(arguments, out, err, false);
#endif
  why += err.str();
  return code;
}

class ScenarioRun {
 public:
  explicit ScenarioRun(const Scenario& scenario) : scenario_(scenario) { session_.start(); }

  void step(const ScenarioStep& step) {
    const std::string& verb = step.action;
    const auto control = step.words.empty() ? std::nullopt : scenarioControl(step.words[0]);
    if (verb == "open" || verb == "cancel") {
      ASSERT_TRUE(control);
      const std::string path = verb == "open" ? sampleOrScenarioFile(step.words.at(1)) : "";
      widgets_.files.push_back(verb == "open" ? std::optional<std::string>(path) : std::nullopt);
      const bool isBase = *control == ControlId::OpenBase;
      session_.press(*control);
      // The files that stay loaded: a refused one leaves the one before.
      const SessionState& state = session_.router().session();
      if (verb == "open" && isBase && state.base != BaseState::Refused) {
        base_ = path;
      }
      if (verb == "open" && !isBase && (state.mt == MtState::Full || state.mt == MtState::Half)) {
        mt_ = path;
      }
    } else if (verb == "press") {
      ASSERT_TRUE(control) << step.words.at(0);
      session_.press(*control);
    } else if (verb == "answer") {
      widgets_.answer = step.words.at(0) == "yes";
    } else if (verb == "save") {
      saved_ = dir_.file(step.words.at(0));
      widgets_.files.push_back(saved_);
      session_.press(ControlId::SaveMt);
    } else if (verb == "key") {
      key(step.words.at(0));
    } else if (verb == "viewer-move") {
      widgets_.hiddenAt = {std::stoi(step.words.at(0)), std::stoi(step.words.at(1))};
    } else if (verb == "viewer-close") {
      widgets_.shownAt.reset();  // the window system closed it
      session_.viewerClosed(widgets_.hiddenAt);
    } else {
      FAIL() << "unknown step " << verb;
    }
  }

  void check(const ScenarioCheck& check) {
    const std::string& what = check.what;
    const std::string& value = check.value;
    if (what == "status") {
      EXPECT_EQ(widgets_.status, value);
    } else if (what == "enabled") {
      EXPECT_EQ(controlNames([&](ControlId c) { return session_.isEnabled(c); }),
                orderedNames(value));
    } else if (what == "checked") {
      EXPECT_EQ(controlNames([&](ControlId c) { return session_.isChecked(c); }, true),
                orderedNames(value));
    } else if (what == "warnings") {
      EXPECT_EQ(widgets_.warnings.size(), std::stoul(value));
    } else if (what == "viewer") {
      const std::string shown = widgets_.shownAt ? "open " + std::to_string(widgets_.shownAt->x) +
                                                       " " + std::to_string(widgets_.shownAt->y)
                                                 : "closed";
      EXPECT_EQ(shown, value);
    } else if (what == "ended") {
      EXPECT_EQ(widgets_.ends, 1);
    } else if (what == "saved") {
      const std::vector<std::string> words = wordsOf(value);
      const std::string expected = dir_.file("cli-" + std::to_string(check.line) + ".obj");
      std::vector<std::string> arguments{words.at(0), "--base", base_, "--mt", mt_, "-o", expected};
      if (words.size() > 1 && words[1] == "faces") {
        arguments.push_back("--with-faces");
      }
      std::string why;
      cli(arguments, why);
      EXPECT_EQ(withoutPathLine(readFile(saved_)), withoutPathLine(readFile(expected))) << why;
    } else if (what == "picture") {
      comparePicture(value);
    } else if (what != "not") {
      FAIL() << "unknown check " << what;
    }
  }

 private:
  void key(const std::string& name) {
    if (name == "Enter" || name == "Esc" || name == "F3") {
      session_.keyDown(name == "Enter" ? DialogKey::Enter
                       : name == "Esc" ? DialogKey::Escape
                                       : DialogKey::F3,
                       KeySource::Dialog);
    } else if (name.starts_with("Alt+")) {
      session_.keyDown(DialogKey::Letter, KeySource::Dialog, name[4], true);
    } else {
      session_.keyDown(DialogKey::Letter, KeySource::Dialog, name[0], false);
    }
  }

  // The viewer's pixels against calveth-cli render's PNG, away from the text rows: the
  // "Y-axis" box at the top and the legend at the bottom.
  void comparePicture(const std::string& what) {
#if CALVETH_SCENARIO_PICTURES
    const std::string png = dir_.file("render.png");
    std::vector<std::string> arguments{"render", base_, "-o", png};
    if (what != "base") {
      arguments.insert(arguments.end(), {"--mt", mt_, "--op", what});
    }
    std::string why;
    ASSERT_EQ(cli(arguments, why), 0) << why;
    std::vector<std::uint32_t> decoded;
    ASSERT_TRUE(decodePngPixels(readFile(png), decoded));
    const ViewerPicture shown = session_.picture();
    ASSERT_EQ(decoded.size(), static_cast<std::size_t>(shown.width) * shown.height);
    int differing = 0;
    for (int y = 14; y < 380; ++y) {
      for (int x = 0; x < shown.width; ++x) {
        const std::size_t k = static_cast<std::size_t>(y) * shown.width + x;
        differing += (shown.pixels[k] & 0xffffffu) == (decoded[k] & 0xffffffu) ? 0 : 1;
      }
    }
    EXPECT_EQ(differing, 0) << what;
#else
    (void)what;
#endif
  }

  const Scenario& scenario_;
  std::unique_ptr<MeshStore> store_ = std::make_unique<MeshStore>();
  RecordingWidgets widgets_;
#if CALVETH_SCENARIO_PICTURES
  FreeTypeTextPainter text_{PixelLayout::Argb32};
#else
  NoText text_;
#endif
  TempDir dir_;
  DialogSession session_{*store_, widgets_, text_, PixelLayout::Argb32};
  std::string base_;
  std::string mt_;
  std::string saved_;
};

TEST(DialogScenarios, EveryScenarioOfTheTable) {
  const std::vector<Scenario> scenarios =
      readScenarios(std::string(CALVETH_SCENARIO_DIR) + "/dialog_runs.txt");
  ASSERT_GE(scenarios.size(), 8u);
  for (const Scenario& scenario : scenarios) {
    ScenarioRun run(scenario);
    for (const ScenarioStep& step : scenario.steps) {
      SCOPED_TRACE(scenario.name + ", line " + std::to_string(step.line) + ": " + step.action);
      run.step(step);
      for (const ScenarioCheck& check : step.checks) {
        SCOPED_TRACE("check at line " + std::to_string(check.line) + ": " + check.what);
        run.check(check);
      }
    }
  }
}

}  // namespace
}  // namespace calveth::testing
