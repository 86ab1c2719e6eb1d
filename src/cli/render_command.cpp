#include "cli/render_command.h"

#include <charconv>
#include <cmath>
#include <memory>
#include <string_view>

#include "cli/auto_option.h"
#include "cli/command_run.h"
#include "cli/operation_names.h"
#include "objio/safe_file_writer.h"
#include "viewer/svg_canvas.h"
#include "viewer/viewer_window_size.h"
#include "viewer/wire_viewer.h"

#if CALVETH_PNG_PICTURES && defined(_WIN32)
#include "win32/png_picture.h"
#elif CALVETH_PNG_PICTURES
#include "qt/png_picture.h"
#endif

namespace calveth {
namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;

bool endsWithIgnoringCase(std::string_view text, std::string_view ending) {
  if (text.size() < ending.size()) {
    return false;
  }
  const std::string_view tail = text.substr(text.size() - ending.size());
  for (std::size_t k = 0; k < ending.size(); ++k) {
    const char c =
        tail[k] >= 'A' && tail[k] <= 'Z' ? static_cast<char>(tail[k] - 'A' + 'a') : tail[k];
    if (c != ending[k]) {
      return false;
    }
  }
  return true;
}

std::optional<double> finiteNumber(const std::string& text) {
  double value = 0.0;
  const char* end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, value);
  if (text.empty() || result.ec != std::errc() || result.ptr != end || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

// The picture of what the open viewer shows: it is opened on the file's canvas, which
// paints the last projection, and closed again.
bool paintPicture(WireViewer& viewer, PictureFormat format, std::string& bytes,
                  std::string& error) {
  if (format == PictureFormat::Svg) {
    SvgCanvas canvas(kViewerClientWidth, kViewerClientHeight, kViewerDpi);
    viewer.open(canvas);
    viewer.close();
    bytes = canvas.document();
    return true;
  }
#if CALVETH_PNG_PICTURES
  return paintPng(viewer, kViewerClientWidth, kViewerClientHeight, kViewerDpi, bytes, error);
#else
  error = "this build writes no PNG pictures";
  return false;
#endif
}

}  // namespace

bool pngPicturesAvailable() { return CALVETH_PNG_PICTURES != 0; }

std::optional<RenderOptions> parseRender(const std::vector<std::string>& arguments,
                                         std::string& problem) {
  RenderOptions options;
  bool haveBase = false;
  bool haveOutput = false;
  for (std::size_t k = 1; k < arguments.size(); ++k) {
    const std::string& argument = arguments[k];
    const bool hasValue = k + 1 < arguments.size();
    if (argument == "--auto") {
      if (!readAutoAnswer(arguments, k, options.autoDetect)) {
        problem = kAutoOptionProblem;
        return std::nullopt;
      }
    } else if (argument == "--angle") {
      const auto angle = hasValue ? finiteNumber(arguments[++k]) : std::nullopt;
      if (!angle) {
        problem = "--angle takes a number of radians";
        return std::nullopt;
      }
      options.angle = *angle;
    } else if (argument == "--mt") {
      if (!hasValue) {
        problem = "--mt takes a file name";
        return std::nullopt;
      }
      options.mt = arguments[++k];
    } else if (argument == "--op") {
      const auto operation = hasValue ? operationByName(arguments[++k]) : std::nullopt;
      if (!operation) {
        problem =
            "--op takes one of mirror-l2r, mirror-r2l, swap, minus, plus, reset-l, "
            "reset-r, melt";
        return std::nullopt;
      }
      options.operation = operation;
    } else if (argument == "-o") {
      if (!hasValue) {
        problem = "-o takes a file name";
        return std::nullopt;
      }
      options.output = arguments[++k];
      haveOutput = true;
    } else if (argument.starts_with("-") || haveBase) {
      problem = "unexpected argument: " + argument;
      return std::nullopt;
    } else {
      options.base = argument;
      haveBase = true;
    }
  }
  if (!haveBase) {
    problem = "render needs a BASE file";
    return std::nullopt;
  }
  if (!haveOutput) {
    problem = "render needs -o FILE";
    return std::nullopt;
  }
  if (endsWithIgnoringCase(options.output, ".svg")) {
    options.format = PictureFormat::Svg;
  } else if (endsWithIgnoringCase(options.output, ".png")) {
    if (!pngPicturesAvailable()) {
      problem = "this build writes no PNG pictures (it was built without Qt 6); use .svg";
      return std::nullopt;
    }
    options.format = PictureFormat::Png;
  } else {
    problem = "the picture file must end in .svg or .png";
    return std::nullopt;
  }
  return options;
}

int render(const RenderOptions& options, std::ostream& out, std::ostream& err) {
  auto store = std::make_unique<MeshStore>();
  store->viewAngle = options.angle;
  WireViewer viewer(*store);
  CommandRun run(*store, viewer, out, err);
  run.host().answerQuestion(options.autoDetect);
  run.host().answerOpenFile(options.base);
  // An error ends the sequence, as it ends the work on an MT in the other commands.
  bool goOn = !isError(run.press(ControlId::OpenBase));
  if (goOn && options.mt) {
    run.host().answerOpenFile(*options.mt);
    goOn = !isError(run.press(ControlId::OpenMt));
  }
  if (goOn && options.operation) {
    run.press(*options.operation);
  }

  std::string bytes;
  std::string error;
  if (!paintPicture(viewer, options.format, bytes, error) ||
      !replaceFileContents(options.output, bytes, error)) {
    err << "error: " << error << '\n';
    return kExitFailed;
  }
  return run.allOk() ? kExitOk : kExitFailed;
}

}  // namespace calveth
