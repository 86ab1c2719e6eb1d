// The generating commands on the command line, one MT or a batch of them:
//
//   calveth-cli OP --base BASE --mt MT (-o OUT | --out-dir DIR) [--with-faces] [--auto yes|no]
//   calveth-cli OP --base BASE --out-dir DIR [--with-faces] [--auto yes|no] MT1 MT2 ...
//
// Runs "Open Base" once, then for each MT "&Open MT", the command and "&Save MT" through the
// same router as the dialog, answering its file choices from the arguments. The status text
// after each command is a line on standard output; the path of each saved file goes to the
// error stream.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

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
};

// Parses the arguments (the first is the operation's name); on failure `problem` says why.
std::optional<OperationOptions> parseOperation(const std::vector<std::string>& arguments,
                                               std::string& problem);

// Exit status 0 when every printed status text begins "OK", 1 otherwise. With `showProgress`
// a batch names each MT on `err` as it starts.
int runOperation(const OperationOptions& options, std::ostream& out, std::ostream& err,
                 bool showProgress);

}  // namespace calveth
