// calveth-cli on Windows. The arguments arrive as UTF-16 (wmain) and are handed on as UTF-8,
// the core's text, so any file name works, not only those of the ANSI code page. Standard
// output and error are binary: status lines end in "\n" as on every other system, and a
// console or pipe does not turn them into "\r\n".
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "win32/wide_arguments.h"

int wmain(int argc, wchar_t** argv) {
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  const std::vector<std::string> arguments = calveth::utf8Arguments(argc, argv);
  const bool errIsTerminal = _isatty(_fileno(stderr)) != 0;
  return calveth::runCli(arguments, std::cout, std::cerr, errIsTerminal);
}
