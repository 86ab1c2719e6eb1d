// calveth-cli on Windows. The arguments arrive as UTF-16 (wmain) and are handed on as UTF-8,
// the core's text, so any file name works, not only those of the ANSI code page. Standard
// output and error are binary: status lines end in "\n" as on every other system, and a
// console or pipe does not turn them into "\r\n". PNG pictures get GDI's letters and the
// system's PNG encoder.
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "windows/gdi_text_painter.h"
#include "windows/png_picture.h"
#include "windows/wide_arguments.h"

int wmain(int argc, wchar_t** argv) {
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  const std::vector<std::string> arguments = calveth::utf8Arguments(argc, argv);
  const bool errIsTerminal = _isatty(_fileno(stderr)) != 0;
  static const calveth::PngTools png{
      [](calveth::PixelLayout layout) -> std::unique_ptr<calveth::TextPainter> {
        return std::make_unique<calveth::GdiTextPainter>(layout);
      },
      calveth::encodePng};
  return calveth::runCli(arguments, std::cout, std::cerr, errIsTerminal, &png);
}
