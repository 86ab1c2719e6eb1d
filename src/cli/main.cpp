// calveth-cli on Linux and other POSIX systems: the arguments as they come (UTF-8), PNG
// pictures with FreeType's letters and libpng where the build has them.
#include <unistd.h>

#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "cli/cli.h"

#if CALVETH_PNG_PICTURES
#include "linux/freetype_text_painter.h"
#include "linux/png_file.h"
#endif

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  const bool errIsTerminal = isatty(2) != 0;
#if CALVETH_PNG_PICTURES
  static const calveth::PngTools png{
      [](calveth::PixelLayout layout) -> std::unique_ptr<calveth::TextPainter> {
        return std::make_unique<calveth::FreeTypeTextPainter>(layout);
      },
      calveth::encodePng};
  return calveth::runCli(arguments, std::cout, std::cerr, errIsTerminal, &png);
#else
  return calveth::runCli(arguments, std::cout, std::cerr, errIsTerminal);
#endif
}
