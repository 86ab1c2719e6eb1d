#include "cli/cli.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "cli/analyze_command.h"
#include "cli/command_line.h"
#include "cli/exit_status.h"
#include "cli/operation_command.h"
#include "cli/operation_names.h"
#include "cli/render_command.h"

namespace calveth {
namespace {

// Turns the words read into the command's options, then runs it; a combination of words
// that the command cannot take is a usage error.
template <typename Options,
          std::optional<Options> (*readOptions)(const ParsedArguments&, std::string&),
          int (*runCommand)(const Options&, const CliStreams&)>
int optionsThenRun(const ParsedArguments& arguments, const CliStreams& streams) {
  std::string problem;
  const std::optional<Options> options = readOptions(arguments, problem);
  return options ? runCommand(*options, streams) : usageError(streams.err, problem);
}

// The table of the commands: each argument once, in the order of its synopsis line(s).

constexpr CliArgument kAutoAnswer{"--auto", "yes|no", ValueKind::YesNo, Slot::Auto};
constexpr CliArgument kPairByMesh{"--pair-by-mesh", "", ValueKind::None, Slot::PairByMesh};

constexpr CliArgument kAnalyzeArguments[] = {
    {"", "BASE", ValueKind::FileName, Slot::Base, Presence::Required},
    kAutoAnswer,
    {"--map", "FILE", ValueKind::FileName, Slot::Map},
    kPairByMesh,
};

// Two synopsis lines: one MT into a file or a folder, and the batch into a folder.
constexpr unsigned kOneMt = 1u << 0;
constexpr unsigned kBatch = 1u << 1;

constexpr CliArgument kOperationArguments[] = {
    {"--base", "BASE", ValueKind::Value, Slot::Base, Presence::Required},
    {"--mt", "MT", ValueKind::Value, Slot::Mt, Presence::Required, kOneMt},
    {"-o", "OUT", ValueKind::Value, Slot::Output, Presence::EitherOr, kOneMt},
    {"--out-dir", "DIR", ValueKind::Value, Slot::OutFolder, Presence::EitherOr},
    {"--with-faces", "", ValueKind::None, Slot::WithFaces},
    kAutoAnswer,
    kPairByMesh,
    {"", "MT1 MT2 ...", ValueKind::FileName, Slot::Mt, Presence::Required, kBatch, true},
};

constexpr CliArgument kRenderArguments[] = {
    {"", "BASE", ValueKind::FileName, Slot::Base, Presence::Required},
    {"--mt", "MT", ValueKind::FileName, Slot::Mt},
    {"--op", "OP", ValueKind::Operation, Slot::Operation},
    kAutoAnswer,
    kPairByMesh,
    {"--angle", "RAD", ValueKind::Radians, Slot::Angle},
    {"-o", "FILE", ValueKind::FileName, Slot::Output, Presence::Required},
};

// PNG pictures come from the platform's letters and encoder: FreeType and libpng on Linux,
// GDI and the system's encoder on Windows.
constexpr const char* kRenderHelp =
    "Open BASE (and MT, and run OP, when given) as the commands above do and write\n"
    "the picture that the viewer window then shows (408 x 389 pixels) to FILE: an SVG\n"
    "document (FILE ending .svg) or a PNG image (.png). --angle turns the view about\n"
    "the vertical axis. --pair-by-mesh pairs the base's remaining vertices by its\n"
    "faces, as for analyze. The status text after each command is printed.\n";

constexpr CliCommand kCommands[] = {
    {"analyze", kAnalyzeArguments, 1, "--",
     "Open the base body part BASE (an OBJ file) and find every vertex's mirror partner\n"
     "across X = 0. --auto answers the question whether to pair the remaining vertices\n"
     "within a growing tolerance (default yes). --pair-by-mesh then pairs the vertices\n"
     "still without a partner (or with several) from the faces around them, and prints\n"
     "\"OK: Mesh pairing P=pairs U=unpaired\"; the base's result is then the one the\n"
     "pairing leaves. --map writes the mirror map as a tab-separated table: vertex,\n"
     "partner (-1 none, -2 several), paired, auto_partner, and with --pair-by-mesh how\n"
     "(exact, tolerance, mesh, duplicate or none).\n"
     "Every status text is printed; the last line is the result.\n",
     false, "", optionsThenRun<AnalyzeOptions, analyzeOptions, analyze>},
    {"OP", kOperationArguments, 2, "-",
     "Open the base, then for each morph target MT: open it, generate a new MT with\n"
     "OP and save it as OUT, or in DIR under the proposed name (MT title + tag + .obj).\n",
     true,
     "--with-faces also copies the MT's vt, vn, f and usemtl lines (an MT without\n"
     "them gives \"NO! Your MT is not included Face.\" and a vertex-only file).\n"
     "--pair-by-mesh pairs the base's remaining vertices by its faces, as for analyze.\n"
     "The status text after each command is printed. An error ends the work on that\n"
     "MT (a batch goes on with the next); an error opening the base ends everything.\n"
     "Existing output files are replaced without asking, but not one that is\n"
     "read-only. A DIR that is not there yet is made.\n",
     optionsThenRun<OperationOptions, operationOptions, runOperation>},
    {"render", kRenderArguments, 1, "-", kRenderHelp, false, "",
     optionsThenRun<RenderOptions, renderOptions, render>},
};

// The options of the program itself, taken before any command.
struct ProgramOption {
  std::string_view name;
  std::string_view alias;  // the same option, not shown in --help
  std::string_view help;
};

constexpr ProgramOption kHelpOption{"--help", "-h", "show this text"};
constexpr ProgramOption kVersionOption{"--version", "", "show the version"};
constexpr ProgramOption kProgramOptions[] = {kHelpOption, kVersionOption};

const CliCommand* commandNamed(std::string_view word) {
  for (const CliCommand& command : kCommands) {
    const bool operation = command.listsOperations && operationByName(word).has_value();
    if (operation || (!command.listsOperations && command.name == word)) {
      return &command;
    }
  }
  return nullptr;
}

std::string padded(std::string_view text, std::size_t width) {
  std::string line(text);
  line.resize(std::max(width, line.size()), ' ');
  return line;
}

// Each line of `text` indented by `indent` spaces.
void writeIndented(std::ostream& out, std::string_view text, std::size_t indent) {
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    out << std::string(indent, ' ') << text.substr(0, end) << '\n';
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
  }
}

void writeUsage(std::ostream& out) {
  out << "Usage: calveth-cli COMMAND [OPTIONS]\n\nCommands:\n";
  for (const CliCommand& command : kCommands) {
    for (int form = 0; form < command.formCount; ++form) {
      out << "  " << synopsis(command, form) << '\n';
    }
    writeIndented(out, command.help, 6);
    if (command.listsOperations) {
      out << "      OP is one of:\n";
      for (const OperationName& operation : kOperationNames) {
        out << "        " << padded(operation.name, 12) << padded(operation.help, 50) << "tag "
            << operation.tag << '\n';
      }
      writeIndented(out, command.helpAfterList, 6);
    }
    out << '\n';
  }
  out << "Options:\n";
  for (const ProgramOption& option : kProgramOptions) {
    out << "  " << padded(option.name, 13) << option.help << '\n';
  }
  out << "\nWarnings go to standard error. Exit status: " << kExitOk
      << " when every printed status text begins\n\"OK\", " << kExitFailed << " otherwise, "
      << kExitUsage << " for a usage error.\n";
}

bool isOption(const ProgramOption& option, std::string_view word) {
  return word == option.name || (!option.alias.empty() && word == option.alias);
}

}  // namespace

int runCli(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
           bool errIsTerminal, const PngTools* png) {
  if (arguments.empty()) {
    writeUsage(err);
    return kExitUsage;
  }
  const std::string& first = arguments.front();
  // --help wins wherever it stands, so that "render --help" helps; so does the word "help".
  const bool helpAsked =
      first == "help" || std::any_of(arguments.begin(), arguments.end(),
                                     [](const std::string& a) { return isOption(kHelpOption, a); });
  if (helpAsked) {
    writeUsage(out);
    return kExitOk;
  }
  if (isOption(kVersionOption, first)) {
    out << "calveth-cli " << kVersion << '\n';
    return kExitOk;
  }
  const CliCommand* command = commandNamed(first);
  if (!command) {
    return usageError(err, "unknown command: " + first);
  }
  ParsedArguments parsed;
  std::string problem;
  if (!readArguments(*command, arguments, parsed, problem)) {
    return usageError(err, problem);
  }
  return command->run(parsed, CliStreams{out, err, errIsTerminal, png});
}

}  // namespace calveth
