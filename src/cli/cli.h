// calveth-cli: the commands of the desktop tool without a window.
//
// runCli() takes the arguments after the program name (UTF-8). Status texts are lines on
// `out`; warnings and errors go to `err`, and so does a batch's progress when `errIsTerminal`.
// Exit status (cli/exit_status.h): 0 when the printed status texts say "OK", 1 otherwise (or
// when an output file cannot be written), 2 for a usage error, with the reason on `err`. The
// commands, their arguments and --help come from the one table in cli.cpp.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "cli/png_tools.h"

namespace calveth {

inline constexpr const char* kVersion = "2.2.0";

// `png` is how the platform makes PNG pictures (the program's main gives it); without it
// "render -o FILE.png" is a usage error.
int runCli(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
           bool errIsTerminal = false, const PngTools* png = nullptr);

}  // namespace calveth
