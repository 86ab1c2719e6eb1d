#include "cli/operation_command.h"

#include <memory>

#include "cli/auto_option.h"
#include "cli/command_run.h"
#include "cli/operation_names.h"

namespace calveth {

std::optional<OperationOptions> parseOperation(const std::vector<std::string>& arguments,
                                               std::string& problem) {
  OperationOptions options;
  const auto operation = operationByName(arguments.front());
  if (!operation) {
    problem = "unknown command: " + arguments.front();
    return std::nullopt;
  }
  options.operation = *operation;
  for (std::size_t k = 1; k < arguments.size(); ++k) {
    const std::string& argument = arguments[k];
    const bool takesValue =
        argument == "--base" || argument == "--mt" || argument == "-o" || argument == "--out-dir";
    if (takesValue && k + 1 >= arguments.size()) {
      problem = argument + " needs a value";
      return std::nullopt;
    }
    if (argument == "--base") {
      options.base = arguments[++k];
    } else if (argument == "--mt") {
      options.mts.push_back(arguments[++k]);
    } else if (argument == "-o") {
      options.outFile = arguments[++k];
    } else if (argument == "--out-dir") {
      options.outFolder = arguments[++k];
    } else if (argument == "--auto") {
      if (!readAutoAnswer(arguments, k, options.autoDetect)) {
        problem = kAutoOptionProblem;
        return std::nullopt;
      }
    } else if (argument == "--with-faces") {
      options.withFaces = true;
    } else if (argument.starts_with("-")) {
      problem = "unexpected argument: " + argument;
      return std::nullopt;
    } else {
      options.mts.push_back(argument);
    }
  }
  if (options.base.empty()) {
    problem = arguments.front() + " needs --base BASE";
  } else if (options.mts.empty()) {
    problem = arguments.front() + " needs an MT file";
  } else if (options.outFile.has_value() == options.outFolder.has_value()) {
    problem = "give either -o OUT or --out-dir DIR";
  } else if (options.outFile && options.mts.size() > 1) {
    problem = "several MT files need --out-dir DIR";
  } else {
    return options;
  }
  return std::nullopt;
}

int runOperation(const OperationOptions& options, std::ostream& out, std::ostream& err,
                 bool showProgress) {
  auto store = std::make_unique<MeshStore>();
  NullViewer viewer;
  CommandRun run(*store, viewer, out, err);
  CliHost& host = run.host();
  host.answerQuestion(options.autoDetect);
  host.answerOpenFile(options.base);
  if (isError(run.press(ControlId::OpenBase))) {
    return 1;
  }
  const std::size_t total = options.mts.size();
  for (std::size_t k = 0; k < total; ++k) {
    const std::string& mt = options.mts[k];
    if (showProgress && total > 1) {
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
  return run.allOk() ? 0 : 1;
}

}  // namespace calveth
