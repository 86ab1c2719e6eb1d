#include "windows/wide_arguments.h"

#include "windows/wide_text.h"

namespace calveth {

std::vector<std::string> utf8Arguments(int argc, const wchar_t* const* argv) {
  std::vector<std::string> arguments;
  for (int k = 1; k < argc; ++k) {
    arguments.push_back(utf8FromWide(argv[k]));
  }
  return arguments;
}

}  // namespace calveth
