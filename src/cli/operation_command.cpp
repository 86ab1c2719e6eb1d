#include "cli/operation_command.h"

#include <memory>

#include "cli/command_run.h"
#include "cli/exit_status.h"
#include "cli/operation_names.h"

namespace calveth {

std::optional<OperationOptions> operationOptions(const ParsedArguments& arguments,
                                                 std::string& problem) {
  OperationOptions options;
  options.operation = operationByName(arguments.command).value_or(options.operation);
  options.base = arguments.last(Slot::Base).value_or("");
  options.mts = arguments.all(Slot::Mt);
  options.outFile = arguments.last(Slot::Output);
  options.outFolder = arguments.last(Slot::OutFolder);
  options.withFaces = arguments.has(Slot::WithFaces);
  options.autoDetect = arguments.autoDetect();
  options.pairByMesh = arguments.has(Slot::PairByMesh);
  // "--base ''" names no base either.
  if (options.base.empty()) {
    problem = arguments.command + " needs --base BASE";
  } else if (options.mts.empty()) {
    problem = arguments.command + " needs an MT file";
  } else if (options.outFile.has_value() == options.outFolder.has_value()) {
    problem = "give either -o OUT or --out-dir DIR";
  } else if (options.outFile && options.mts.size() > 1) {
    problem = "several MT files need --out-dir DIR";
  } else {
    return options;
  }
  return std::nullopt;
}

int runOperation(const OperationOptions& options, const CliStreams& streams) {
  auto store = newMeshStore();
  NullViewer viewer;
  std::ostream& err = streams.err;
  CommandRun run(*store, viewer, streams.out, err);
  CliHost& host = run.host();
  host.answerQuestion(options.autoDetect);
  host.answerOpenFile(options.base);
  if (isError(run.press(ControlId::OpenBase))) {
    return kExitFailed;
  }
  if (options.pairByMesh) {
    run.pairByMesh();
  }
  const std::size_t total = options.mts.size();
  for (std::size_t k = 0; k < total; ++k) {
    const std::string& mt = options.mts[k];
    if (streams.errIsTerminal && total > 1) {
      err << "[" << k + 1 << "/" << total << "] " << mt << '\n';
    }
    host.answerOpenFile(mt);
    if (isError(run.press(ControlId::OpenMt)) || isError(run.press(options.operation))) {
      continue;
    }
    if (options.withFaces) {
      run.press(ControlId::VertexOnly);
    }
    if (options.outFile) {
      host.answerSaveFile(dialogPath(*options.outFile));
    } else {
      host.answerSaveIntoFolder(*options.outFolder);
    }
    const auto saved = run.press(ControlId::SaveMt);
    if (saved && saved->starts_with("OK")) {
      err << "saved " << host.lastSavePath() << '\n';
    }
  }
  return exitStatus(run.allOk());
}

}  // namespace calveth
