// A program's UTF-16 arguments as the core's UTF-8 texts.
#pragma once

#include <string>
#include <vector>

namespace calveth {

// The arguments after the program's name (argv[1] to argv[argc - 1]) in UTF-8.
std::vector<std::string> utf8Arguments(int argc, const wchar_t* const* argv);

}  // namespace calveth
