// calveth-cli: the commands of the desktop tool without a window.
//
// run() takes the arguments after the program name. Each status text a command shows is a
// line on `out`, so the final status text is the last line; warnings and errors go to `err`.
// Exit status: 0 when the final status text begins "OK", 1 otherwise (or when an output file
// cannot be written), 2 for a usage error.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace calveth {

inline constexpr const char* kVersion = "2.2.0";

int runCli(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

}  // namespace calveth
