#include "cli/analyze_command.h"

#include <memory>

#include "cli/command_run.h"
#include "cli/exit_status.h"
#include "cli/map_file.h"
#include "objio/safe_file_writer.h"

namespace calveth {

std::optional<AnalyzeOptions> analyzeOptions(const ParsedArguments& arguments,
                                             std::string& problem) {
  if (!arguments.has(Slot::Base)) {
    problem = "analyze needs a BASE file";
    return std::nullopt;
  }
  return AnalyzeOptions{*arguments.last(Slot::Base), arguments.autoDetect(),
                        arguments.last(Slot::Map), arguments.has(Slot::PairByMesh)};
}

int analyze(const AnalyzeOptions& options, const CliStreams& streams) {
  auto store = newMeshStore();
  NullViewer viewer;
  CommandRun run(*store, viewer, streams.out, streams.err, StatusLines::EveryText);
  run.host().answerQuestion(options.autoDetect);
  run.host().answerOpenFile(options.base);
  run.press(ControlId::OpenBase);
  if (options.pairByMesh) {
    run.pairByMesh();
  }
  if (options.mapFile) {
    std::string error;
    if (!replaceFileContents(*options.mapFile, mirrorMapTable(*store, options.pairByMesh), error)) {
      streams.err << "error: " << error << '\n';
      return kExitFailed;
    }
  }
  if (options.pairByMesh) {
    return exitStatus(run.allOk());
  }
  // "Processing..." comes first: the last text is the result.
  return exitStatus(run.host().lastStatus().starts_with("OK"));
}

}  // namespace calveth
