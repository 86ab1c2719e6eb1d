#include "cli/render_command.h"

#include <memory>
#include <string_view>
#include <vector>

#include "cli/command_run.h"
#include "cli/exit_status.h"
#include "cli/operation_names.h"
#include "objio/safe_file_writer.h"
#include "viewer/svg_canvas.h"
#include "viewer/viewer_window_size.h"
#include "viewer/wire_viewer.h"

#if CALVETH_PNG_PICTURES && defined(_WIN32)
#include "win32/png_picture.h"
#elif CALVETH_PNG_PICTURES
#include <dlfcn.h>

#include <cstring>
#include <filesystem>
#include <system_error>

#include "qt/png_picture.h"
#endif

namespace calveth {
namespace {

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

#if CALVETH_PNG_PICTURES && !defined(_WIN32)
// The PNG painter, from the module loaded on the first PNG asked for, so that the program
// starts without Qt: beside the program (the build folder), or in the installed library
// folder, found from the program's own place and then by its installed path.
PaintPngFunction loadPaintPng(std::string& error) {
  static PaintPngFunction paint = nullptr;
  if (paint != nullptr) {
    return paint;
  }
  std::vector<std::string> candidates;
  std::error_code failure;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", failure);
  if (!failure) {
    candidates.push_back((program.parent_path() / kPngModuleName).string());
    candidates.push_back(
        (program.parent_path() / ".." / CALVETH_PNG_MODULE_LIBDIR / kPngModuleName).string());
  }
  candidates.push_back(std::string(CALVETH_PNG_MODULE_INSTALLED));
  std::string reason = "not found";
  for (const std::string& candidate : candidates) {
    void* module = dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
      const char* text = dlerror();
      // A module that exists but does not load says why; a missing one only if none is found.
      if (text != nullptr && std::filesystem::exists(candidate, failure)) {
        reason = text;
      }
      continue;
    }
    void* symbol = dlsym(module, kPaintPngSymbol);
    if (symbol != nullptr) {
      std::memcpy(&paint, &symbol, sizeof paint);
      return paint;
    }
    reason = candidate + " has no " + kPaintPngSymbol;
  }
  error = std::string("ERR: PNG pictures need ") + kPngModuleName + " (" + reason + ")";
  return nullptr;
}
#endif

// The one place that knows how PNG pictures are made: paints what the open viewer shows
// into PNG bytes.
bool pngPicture([[maybe_unused]] WireViewer& viewer, [[maybe_unused]] std::string& bytes,
                std::string& error) {
#if CALVETH_PNG_PICTURES && defined(_WIN32)
  // GDI and the system's PNG encoder are part of every Windows: nothing to load.
  return paintPng(viewer, kViewerClientWidth, kViewerClientHeight, kViewerDpi, bytes, error);
#elif CALVETH_PNG_PICTURES
  const PaintPngFunction paint = loadPaintPng(error);
  return paint != nullptr &&
         paint(viewer, kViewerClientWidth, kViewerClientHeight, kViewerDpi, bytes, error);
#else
  error = "this build writes no PNG pictures";
  return false;
#endif
}

// The picture of what the open viewer shows: it is opened on the file's canvas, which
// paints the last projection, and closed again.
bool paintPicture(WireViewer& viewer, PictureFormat format, std::string& bytes,
                  std::string& error) {
  if (format == PictureFormat::Png) {
    return pngPicture(viewer, bytes, error);
  }
  SvgCanvas canvas(kViewerClientWidth, kViewerClientHeight, kViewerDpi);
  viewer.open(canvas);
  viewer.close();
  bytes = canvas.document();
  return true;
}

}  // namespace

bool pngPicturesAvailable() { return CALVETH_PNG_PICTURES != 0; }

std::optional<RenderOptions> renderOptions(const ParsedArguments& arguments, std::string& problem) {
  RenderOptions options;
  if (!arguments.has(Slot::Base)) {
    problem = "render needs a BASE file";
    return std::nullopt;
  }
  if (!arguments.has(Slot::Output)) {
    problem = "render needs -o FILE";
    return std::nullopt;
  }
  options.base = *arguments.last(Slot::Base);
  options.mt = arguments.last(Slot::Mt);
  if (const auto name = arguments.last(Slot::Operation)) {
    options.operation = operationByName(*name);
  }
  options.autoDetect = arguments.autoDetect();
  options.pairByMesh = arguments.has(Slot::PairByMesh);
  if (const auto angle = arguments.last(Slot::Angle)) {
    options.angle = finiteNumber(*angle).value_or(0.0);  // read as a finite number already
  }
  options.output = *arguments.last(Slot::Output);
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

int render(const RenderOptions& options, const CliStreams& streams) {
  auto store = newMeshStore();
  store->viewAngle = options.angle;
  WireViewer viewer(*store);
  CommandRun run(*store, viewer, streams.out, streams.err);
  run.host().answerQuestion(options.autoDetect);
  run.host().answerOpenFile(options.base);
  // An error ends the sequence, as it ends the work on an MT in the other commands.
  bool goOn = !isError(run.press(ControlId::OpenBase));
  if (goOn && options.pairByMesh) {
    run.pairByMesh();
  }
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
    streams.err << "error: " << error << '\n';
    return kExitFailed;
  }
  return exitStatus(run.allOk());
}

}  // namespace calveth
