// The desktop front end's tests: `calveth-gui-tests CLASS [QtTest options]` runs one class.
//
// Runs on the offscreen platform unless QT_QPA_PLATFORM names another, with the user's
// settings folder pointed at an empty folder of the run's own, so that a test can see
// whether the program wrote anything there.
#include <QApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#include "gui/gui_tests.h"
#include "qt/run_only_settings.h"

int main(int argc, char** argv) {
  using Runner = int (*)(int, char**);
  const std::map<std::string, Runner> classes{
      {"MainDialogTest", calveth::testing::runMainDialogTests},
      {"ViewerWindowTest", calveth::testing::runViewerWindowTests},
      {"DesktopRunTest", calveth::testing::runDesktopRunTests},
      {"ScenarioTest", calveth::testing::runScenarioTests},
  };
  const auto found = argc > 1 ? classes.find(argv[1]) : classes.end();
  if (found == classes.end()) {
    std::fprintf(stderr, "usage: calveth-gui-tests CLASS [QtTest options]; classes:");
    for (const auto& [name, run] : classes) {
      std::fprintf(stderr, " %s", name.c_str());
    }
    std::fprintf(stderr, "\n");
    return 2;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QTemporaryDir userSettings;
  qputenv("XDG_CONFIG_HOME", userSettings.path().toLocal8Bit());
  QApplication application(argc, argv);
  calveth::RunOnlySettings runOnly;
  // QtTest reads its own options after the class name.
  argv[1] = argv[0];
  return found->second(argc - 1, argv + 1);
}
