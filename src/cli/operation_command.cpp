#include "cli/operation_command.h"

#include <filesystem>
#include <memory>
#include <system_error>

#include "cli/cli_host.h"
#include "cli/command_run.h"
#include "cli/exit_status.h"
#include "cli/operation_names.h"
#include "objio/line_reader.h"

namespace calveth {
namespace {

// A batch names a folder for its results as it would name one for a compiler's output: a
// folder that is not there yet is made (with the folders above it), and the error stream
// says so, so that a mistyped name shows at once. When it cannot be made the error stream
// names it and why; the save then fails as it would into any folder it cannot write.
void makeOutFolder(const std::string& folder, std::ostream& err) {
  const std::filesystem::path path = pathFromUtf8(folder);
  std::error_code failure;
  if (std::filesystem::is_directory(path, failure)) {
    return;
  }
  if (std::filesystem::create_directories(path, failure) && !failure) {
    err << "created folder " << dialogPath(folder) << '\n';
    return;
  }
  err << "error: cannot create the folder " << dialogPath(folder) << ": "
      << (failure ? failure.message() : std::string("not a folder")) << '\n';
}

}  // namespace

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
      // Only when there is something to save: a run that fails before leaves no folder.
      makeOutFolder(*options.outFolder, err);
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
