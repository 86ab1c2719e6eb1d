// calveth-cli analyze: "Open Base" on one file, and the mirror map it leaves as a table.
//
//   calveth-cli analyze BASE [--auto yes|no] [--map FILE] [--pair-by-mesh]
//
// Runs "Open Base" through the same router as the dialog, printing every status text the
// command shows as it comes ("Processing..." first), so the last line is the result. With
// --pair-by-mesh the stage of symmetry/pair_by_mesh.h follows and prints its line. With
// --map the mirror map is then written crash-safe (cli/map_file.h), also after a refused file.
#pragma once

#include <optional>
#include <string>

#include "cli/command_line.h"

namespace calveth {

struct AnalyzeOptions {
  std::string base;
  bool autoDetect = true;
  std::optional<std::string> mapFile;
  bool pairByMesh = false;
};

// The options of the words read for "analyze"; nothing, with `problem` set, without a BASE.
std::optional<AnalyzeOptions> analyzeOptions(const ParsedArguments& arguments,
                                             std::string& problem);

// Exit status 0 when the last status text begins "OK" (with --pair-by-mesh: when the base's
// text did, or the stage left the base usable), 1 otherwise or when the map cannot be
// written.
int analyze(const AnalyzeOptions& options, const CliStreams& streams);

}  // namespace calveth
