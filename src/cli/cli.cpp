#include "cli/cli.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <string_view>

#include "cli/auto_option.h"
#include "cli/cli_host.h"
#include "cli/map_file.h"
#include "cli/operation_command.h"
#include "cli/operation_names.h"
#include "cli/render_command.h"
#include "objio/safe_file_writer.h"
#include "symmetry/open_base.h"

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
    "      Every status text is printed; the last line is the result.\n"
    "\n"
    "  OP --base BASE --mt MT (-o OUT | --out-dir DIR) [--with-faces] [--auto yes|no]\n"
    "  OP --base BASE --out-dir DIR [--with-faces] [--auto yes|no] MT1 MT2 ...\n"
    "      Open the base, then for each morph target MT: open it, generate a new MT with\n"
    "      OP and save it as OUT, or in DIR under the proposed name (MT title + tag + .obj).\n"
    "      OP is one of:\n"
    "        mirror-l2r  the left side (X > 0) mirrored onto the right     tag MirR\n"
    "        mirror-r2l  the right side mirrored onto the left             tag MirL\n"
    "        swap        the two sides exchanged (also for a half MT)      tag Swap\n"
    "        minus       the base minus the MT                             tag Minus\n"
    "        plus        the base plus the MT turned by -78 degrees        tag Plus\n"
    "        reset-l     the left side and the middle back to the base     tag ResL\n"
    "        reset-r     the right side back to the base                   tag ResR\n"
    "        melt        spread 2.5 times and turned upside down           tag Melt\n"
    "      --with-faces also copies the MT's vt, vn, f and usemtl lines (an MT without\n"
    "      them gives \"NO! Your MT is not included Face.\" and a vertex-only file).\n"
    "      The status text after each command is printed. An error ends the work on that\n"
    "      MT (a batch goes on with the next); an error opening the base ends everything.\n"
    "      Existing output files are replaced without asking.\n"
    "\n"
    "  render BASE [--mt MT] [--op OP] [--auto yes|no] [--angle RAD] -o FILE\n"
    "      Open BASE (and MT, and run OP, when given) as the commands above do and write\n"
    "      the picture that the viewer window then shows (408 x 389 pixels) to FILE: an SVG\n"
    "      document (FILE ending .svg) or, in builds with Qt 6, a PNG image (.png). --angle\n"
    "      turns the view about the vertical axis. The status text after each command is\n"
    "      printed.\n"
    "\n"
    "Options:\n"
    "  --help       show this text\n"
    "  --version    show the version\n"
    "\n"
    "Warnings go to standard error. Exit status: 0 when every printed status text begins\n"
    "\"OK\", 1 otherwise, 2 for a usage error.\n";

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
      if (!readAutoAnswer(arguments, k, options.autoDetect)) {
        problem = kAutoOptionProblem;
        return std::nullopt;
      }
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

int runCli(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
           bool errIsTerminal) {
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
  if (operationByName(command)) {
    std::string problem;
    const auto options = parseOperation(arguments, problem);
    if (!options) {
      return usageError(err, problem);
    }
    return runOperation(*options, out, err, errIsTerminal);
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
