// The generating commands on the command line, one MT or a batch of them:
//
//   calveth-cli OP --base BASE --mt MT (-o OUT | --out-dir DIR) [--with-faces] [--auto yes|no]
//                  [--pair-by-mesh]
//   calveth-cli OP --base BASE --out-dir DIR [--with-faces] [--auto yes|no] [--pair-by-mesh]
//                  MT1 MT2 ...
//
// Runs "Open Base" once, then for each MT "&Open MT", the command and "&Save MT" through the
// same router as the dialog, answering its file choices from the arguments (with
// --pair-by-mesh, pairing by the mesh right after "Open Base"). The status text
// after each command is a line on standard output; the path of each saved file goes to the
// error stream.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "ports/control_id.h"

namespace calveth {

struct OperationOptions {
  ControlId operation = ControlId::MirrorLeftToRight;
  std::string base;
  std::vector<std::string> mts;
  std::optional<std::string> outFile;
  std::optional<std::string> outFolder;
  bool withFaces = false;
  bool autoDetect = true;
  bool pairByMesh = false;
};

// The options of the words read for an operation (the command's name is the operation's);
// nothing, with `problem` set, when the words lack the base, an MT or one output.
std::optional<OperationOptions> operationOptions(const ParsedArguments& arguments,
                                                 std::string& problem);

// Exit status 0 when every printed status text begins "OK", 1 otherwise. When standard error
// is a terminal a batch names each MT there as it starts.
int runOperation(const OperationOptions& options, const CliStreams& streams);

}  // namespace calveth
