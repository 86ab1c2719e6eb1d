#include "cli/cli.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <string_view>

#include "app/open_base.h"
#include "cli/cli_host.h"
#include "cli/map_file.h"
#include "cli/render_command.h"
#include "objio/replace_file.h"

namespace calveth {
namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

constexpr std::string_view kUsage =
    "Usage: calveth-cli COMMAND [OPTIONS]\n"
    "\n"
    "Commands:\n"
    "  analyze BASE [--auto yes|no] [--map FILE]\n"
    "      Open the base body part BASE (an OBJ file) and find every vertex's mirror partner\n"
    "      across X = 0. --auto answers the question whether to pair the remaining vertices\n"
    "      within a growing tolerance (default yes). --map writes the mirror map as a\n"
    "      tab-separated table: vertex, partner (-1 none, -2 several), paired, auto_partner.\n"
    "  render BASE [--auto yes|no] [--angle RAD] -o FILE\n"
    "      Open BASE as analyze does and write the picture that the viewer window shows\n"
    "      (408 x 389 pixels) to FILE: an SVG document (FILE ending .svg) or, in builds with\n"
    "      Qt 6, a PNG image (.png). --angle turns the view about the vertical axis.\n"
    "\n"
    "Options:\n"
    "  --help       show this text\n"
    "  --version    show the version\n"
    "\n"
    "Each status text is printed as a line on standard output; the last line is the result.\n"
    "Warnings go to standard error. Exit status: 0 when the result begins \"OK\", 1 otherwise,\n"
    "2 for a usage error.\n";

struct AnalyzeOptions {
  std::string base;
  bool autoDetect = true;
  std::optional<std::string> mapFile;
};

// Parses the arguments of "analyze"; on failure `problem` says why.
std::optional<AnalyzeOptions> parseAnalyze(const std::vector<std::string>& arguments,
                                           std::string& problem) {
  AnalyzeOptions options;
  bool haveBase = false;
  for (std::size_t k = 1; k < arguments.size(); ++k) {
    const std::string& argument = arguments[k];
    const bool hasValue = k + 1 < arguments.size();
    if (argument == "--auto") {
      const std::string value = hasValue ? arguments[++k] : "";
      if (value != "yes" && value != "no") {
        problem = "--auto takes yes or no";
        return std::nullopt;
      }
      options.autoDetect = value == "yes";
    } else if (argument == "--map") {
      if (!hasValue) {
        problem = "--map takes a file name";
        return std::nullopt;
      }
      options.mapFile = arguments[++k];
    } else if (argument.starts_with("--") || haveBase) {
      problem = "unexpected argument: " + argument;
      return std::nullopt;
    } else {
      options.base = argument;
      haveBase = true;
    }
  }
  if (!haveBase) {
    problem = "analyze needs a BASE file";
    return std::nullopt;
  }
  return options;
}

int finalStatus(const CliHost& host) {
  return host.lastStatus().starts_with("OK") ? kExitOk : kExitFailed;
}

int analyze(const AnalyzeOptions& options, std::ostream& out, std::ostream& err) {
  auto store = std::make_unique<MeshStore>();
  auto scratch = std::make_unique<BaseScratch>();
  CliHost host(out, err);
  NullViewer viewer;
  host.answerOpenFile(options.base);
  host.answerQuestion(options.autoDetect);
  OpenBase(*store, *scratch, host, viewer);
  if (options.mapFile) {
    std::string error;
    if (!replaceFileContents(*options.mapFile, mirrorMapTable(*store), error)) {
      err << "error: " << error << '\n';
      return kExitFailed;
    }
  }
  return finalStatus(host);
}

int usageError(std::ostream& err, std::string_view problem) {
  err << "calveth-cli: " << problem << "\n(run calveth-cli --help for the usage)\n";
  return kExitUsage;
}

}  // namespace

int runCli(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
  if (arguments.empty()) {
    err << kUsage;
    return kExitUsage;
  }
  const std::string& command = arguments.front();
  const bool helpAsked = std::any_of(arguments.begin(), arguments.end(), [](const std::string& a) {
    return a == "--help" || a == "-h";
  });
  if (helpAsked || command == "help") {
    out << kUsage;
    return kExitOk;
  }
  if (command == "--version") {
    out << "calveth-cli " << kVersion << '\n';
    return kExitOk;
  }
  if (command == "analyze") {
    std::string problem;
    const auto options = parseAnalyze(arguments, problem);
    if (!options) {
      return usageError(err, problem);
    }
    return analyze(*options, out, err);
  }
  if (command == "render") {
    std::string problem;
    const auto options = parseRender(arguments, problem);
    if (!options) {
      return usageError(err, problem);
    }
    return render(*options, out, err);
  }
  return usageError(err, "unknown command: " + command);
}

}  // namespace calveth
