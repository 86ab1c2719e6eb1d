// The words of a calveth-cli command line, described by a table and read by one scanner.
//
// A command (cli.cpp holds the table of them) lists its arguments once, in the order its
// synopsis shows them. From that list come the synopsis lines of --help, the reading of the
// words, and the usage errors that a single word can cause: an unknown option, a missing or
// unfit value, a second file where one is taken. What depends on several words together (a
// required option, -o against --out-dir) each command checks when it turns the words into its
// options.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace calveth {

// What a value is for. Several arguments may fill one slot (--mt MT and the batch's MT
// files); the values keep the order of the words.
enum class Slot {
  Base,
  Mt,
  Output,
  OutFolder,
  Map,
  Auto,
  Angle,
  Operation,
  WithFaces,
  PairByMesh,
  Count
};

// What an option takes after it, and so which values it accepts and what a usage error says.
enum class ValueKind {
  None,      // a switch
  Value,     // any word; missing: "-o needs a value" (the generating commands' wording)
  FileName,  // any word; missing: "--map takes a file name"
  YesNo,     // "yes" or "no"; otherwise "--auto takes yes or no"
  Radians,   // a finite decimal number; otherwise "--angle takes a number of radians"
  Operation  // a name of operation_names.h; otherwise "--op takes one of mirror-l2r, ..."
};

// How the synopsis shows an argument: "[--mt MT]", "-o FILE", or, for two neighbours that
// exclude each other, "(-o OUT | --out-dir DIR)".
enum class Presence { Optional, Required, EitherOr };

inline constexpr unsigned kEveryForm = ~0u;

struct CliArgument {
  std::string_view name;       // "--map"; empty for the files named without an option
  std::string_view valueName;  // "FILE", "yes|no"; for files without an option their name
  ValueKind kind;
  Slot slot;
  Presence presence = Presence::Optional;
  unsigned forms = kEveryForm;  // the synopsis lines that show it, one bit each
  bool repeats = false;         // files without an option: any number of them, not one
};

struct ParsedArguments;
struct CliStreams;

struct CliCommand {
  std::string_view name;  // the word that selects it; "OP" stands for each operation's name
  std::span<const CliArgument> arguments;
  int formCount;  // synopsis lines
  // A word that begins so and is no option of the command is refused, never taken as a file.
  std::string_view optionPrefix;
  std::string_view help;           // the lines under the synopsis
  bool listsOperations;            // followed by "OP is one of:" and the list of operations
  std::string_view helpAfterList;  // the lines after that list
  int (*run)(const ParsedArguments& arguments, const CliStreams& streams);
};

// The words after the command, sorted into slots.
struct ParsedArguments {
  std::string command;
  std::array<std::vector<std::string>, static_cast<std::size_t>(Slot::Count)> values;

  bool has(Slot slot) const { return !all(slot).empty(); }
  const std::vector<std::string>& all(Slot slot) const {
    return values[static_cast<std::size_t>(slot)];
  }
  // The value given last (a repeated option overrides), if any.
  std::optional<std::string> last(Slot slot) const;
  // The answer of "--auto yes|no": yes unless the last one said no.
  bool autoDetect() const;
};

struct PngTools;

struct CliStreams {
  std::ostream& out;
  std::ostream& err;
  bool errIsTerminal;
  const PngTools* png = nullptr;  // how this platform makes PNG pictures; null: it does not
};

// Reads words[1..] (words[0] is the command's name) into `parsed`; false with `problem` set
// at the first word that the command cannot take.
bool readArguments(const CliCommand& command, const std::vector<std::string>& words,
                   ParsedArguments& parsed, std::string& problem);

// The synopsis line `form` (0-based) without the program name: "analyze BASE [--auto yes|no]".
std::string synopsis(const CliCommand& command, int form);

// A finite number in the whole of `text`, as --angle takes it.
std::optional<double> finiteNumber(std::string_view text);

// Prints the usage error and its hint on `err`; returns kExitUsage.
int usageError(std::ostream& err, std::string_view problem);

}  // namespace calveth
