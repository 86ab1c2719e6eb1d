// CommandRun: the dialog's commands in a row on the command line.
//
// Presses controls through the same CommandRouter as the dialog, with a CliHost that answers
// the file choices, and prints status texts as lines: the one each command leaves, or every
// text as it is shown. A command that the dialog would offer disabled does not run: "ERR:
// Function is not available" is printed.
#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "app/command_router.h"
#include "cli/cli_host.h"
#include "ports/viewer_port.h"
#include "store/mesh_store.h"

namespace calveth {

enum class StatusLines {
  AfterEachCommand,  // the status text that a command leaves
  EveryText          // each status text as the command shows it, "Processing..." included
};

class CommandRun {
 public:
  CommandRun(MeshStore& store, ViewerPort& viewer, std::ostream& out, std::ostream& err,
             StatusLines lines = StatusLines::AfterEachCommand);

  CliHost& host() { return host_; }
  // True while the status text after each command began "OK".
  bool allOk() const { return allOk_; }

  // The status text after the command (printed), or nothing when it showed none.
  std::optional<std::string> press(ControlId control);

  // Pairing by the mesh after "Open Base", when the base was analysed: the router's stage
  // when it offers it, else (nothing to pair, no faces) the same "OK:" line with no pairs.
  // A base that the stage leaves usable counts as "OK" from then on, whatever its own text
  // said. Nothing after a refused base. Returns the printed text.
  std::optional<std::string> pairByMesh();

 private:
  void print(const std::string& status, bool printed);

  MeshStore& store_;
  std::ostream& out_;
  StatusLines lines_;
  CliHost host_;
  CommandRouter router_;
  bool allOk_ = true;
  bool allOkBeforeBase_ = true;  // allOk_ before the last "Open Base"
};

inline bool isError(const std::optional<std::string>& status) {
  return status && status->starts_with("ERR");
}

}  // namespace calveth
