// The desktop front end's test classes, each run by name from the one test program.
#pragma once

namespace calveth::testing {

int runMainDialogTests(int argc, char** argv);
int runViewerWindowTests(int argc, char** argv);
int runDesktopRunTests(int argc, char** argv);
int runScenarioTests(int argc, char** argv);

}  // namespace calveth::testing
