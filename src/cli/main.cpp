#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli.h"

#ifdef _WIN32
#include <io.h>
#define CALVETH_ISATTY(fd) _isatty(fd)
#else
#include <unistd.h>
#define CALVETH_ISATTY(fd) isatty(fd)
#endif

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  const bool errIsTerminal = CALVETH_ISATTY(2) != 0;
  return calveth::runCli(arguments, std::cout, std::cerr, errIsTerminal);
}
