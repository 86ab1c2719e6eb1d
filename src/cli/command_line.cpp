#include "cli/command_line.h"

#include <charconv>
#include <cmath>

#include "cli/exit_status.h"
#include "cli/operation_names.h"

namespace calveth {
namespace {

const CliArgument* optionNamed(const CliCommand& command, std::string_view word) {
  for (const CliArgument& argument : command.arguments) {
    if (!argument.name.empty() && argument.name == word) {
      return &argument;
    }
  }
  return nullptr;
}

const CliArgument* filesArgument(const CliCommand& command) {
  for (const CliArgument& argument : command.arguments) {
    if (argument.name.empty()) {
      return &argument;
    }
  }
  return nullptr;
}

bool accepts(ValueKind kind, const std::string& value) {
  switch (kind) {
    case ValueKind::YesNo:
      return value == "yes" || value == "no";
    case ValueKind::Radians:
      return finiteNumber(value).has_value();
    case ValueKind::Operation:
      return operationByName(value).has_value();
    default:
      return true;
  }
}

// The usage error of an option whose value is missing or unfit.
std::string valueProblem(const CliArgument& option) {
  const std::string name(option.name);
  switch (option.kind) {
    case ValueKind::FileName:
      return name + " takes a file name";
    case ValueKind::YesNo:
      return name + " takes yes or no";
    case ValueKind::Radians:
      return name + " takes a number of radians";
    case ValueKind::Operation:
      return name + " takes one of " + operationNameList();
    default:
      return name + " needs a value";
  }
}

// "--auto yes|no", "--with-faces", "BASE".
std::string spelled(const CliArgument& argument) {
  if (argument.name.empty()) {
    return std::string(argument.valueName);
  }
  std::string text(argument.name);
  if (argument.kind != ValueKind::None) {
    text += ' ';
    text += argument.valueName;
  }
  return text;
}

bool shownIn(const CliArgument& argument, int form) { return (argument.forms >> form & 1u) != 0; }

}  // namespace

std::optional<std::string> ParsedArguments::last(Slot slot) const {
  const std::vector<std::string>& given = all(slot);
  if (given.empty()) {
    return std::nullopt;
  }
  return given.back();
}

bool ParsedArguments::autoDetect() const { return last(Slot::Auto).value_or("yes") == "yes"; }

bool readArguments(const CliCommand& command, const std::vector<std::string>& words,
                   ParsedArguments& parsed, std::string& problem) {
  parsed.command = words.front();
  const CliArgument* files = filesArgument(command);
  for (std::size_t k = 1; k < words.size(); ++k) {
    const std::string& word = words[k];
    if (const CliArgument* option = optionNamed(command, word)) {
      std::vector<std::string>& values = parsed.values[static_cast<std::size_t>(option->slot)];
      if (option->kind == ValueKind::None) {
        values.emplace_back();
        continue;
      }
      // The next word is the value whatever it looks like, as in "--map --auto".
      if (k + 1 >= words.size() || !accepts(option->kind, words[k + 1])) {
        problem = valueProblem(*option);
        return false;
      }
      values.push_back(words[++k]);
      continue;
    }
    const bool fileTaken = files && !files->repeats && parsed.has(files->slot);
    if (word.starts_with(command.optionPrefix) || !files || fileTaken) {
      problem = "unexpected argument: " + word;
      return false;
    }
    parsed.values[static_cast<std::size_t>(files->slot)].push_back(word);
  }
  return true;
}

std::string synopsis(const CliCommand& command, int form) {
  std::string line(command.name);
  const std::span<const CliArgument> arguments = command.arguments;
  for (std::size_t k = 0; k < arguments.size(); ++k) {
    const CliArgument& argument = arguments[k];
    if (!shownIn(argument, form)) {
      continue;
    }
    line += ' ';
    const bool pairShown = argument.presence == Presence::EitherOr && k + 1 < arguments.size() &&
                           arguments[k + 1].presence == Presence::EitherOr &&
                           shownIn(arguments[k + 1], form);
    if (pairShown) {
      line += "(" + spelled(argument) + " | " + spelled(arguments[k + 1]) + ")";
      ++k;
    } else if (argument.presence == Presence::Optional) {
      line += "[" + spelled(argument) + "]";
    } else {
      // Required, or the one of an either-or pair that this form shows.
      line += spelled(argument);
    }
  }
  return line;
}

std::optional<double> finiteNumber(std::string_view text) {
  double value = 0.0;
  const char* end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, value);
  if (text.empty() || result.ec != std::errc() || result.ptr != end || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

int usageError(std::ostream& err, std::string_view problem) {
  err << "calveth-cli: " << problem << "\n(run calveth-cli --help for the usage)\n";
  return kExitUsage;
}

}  // namespace calveth
