// CommandSteps: how far a command that reads a file has come, told while it runs.
//
// What can be pressed follows from these steps, and the dialog must show it before the command
// goes on: while a base is read and analysed (the status "Processing...", the question about
// auto detection) the generating buttons are already withdrawn. A command that finishes its
// work tells the rest by what it returns.
#pragma once

namespace calveth {

enum class CommandStep {
  BaseFileChosen,  // "Open Base" has a file name and is about to open it
  MtFileChosen,    // "&Open MT" has a file name and is about to open it
  MtFileOpened,    // "&Open MT" opened its file and is about to read it
};

class CommandSteps {
 public:
  virtual ~CommandSteps() = default;
  virtual void reached(CommandStep step) = 0;
};

// For callers that run a command outside the dialog and have nothing to show on the way.
inline CommandSteps& unwatchedSteps() {
  struct Unwatched final : CommandSteps {
    void reached(CommandStep) override {}
  };
  static Unwatched steps;
  return steps;
}

}  // namespace calveth
