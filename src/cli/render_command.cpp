#include "cli/render_command.h"

#include <memory>
#include <string_view>
#include <vector>

#include "cli/command_run.h"
#include "cli/exit_status.h"
#include "cli/operation_names.h"
#include "cli/png_tools.h"
#include "objio/safe_file_writer.h"
#include "viewer/pixel_canvas.h"
#include "viewer/svg_canvas.h"
#include "viewer/viewer_window_size.h"
#include "viewer/wire_viewer.h"

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

// The picture of what the viewer shows: it is opened on the file's canvas, which paints the
// last projection, and closed again. A PNG is drawn by the core's PixelCanvas, as every viewer
// window is, with the platform's letters and encoder.
bool paintPicture(WireViewer& viewer, PictureFormat format, const PngTools* png, std::string& bytes,
                  std::string& error) {
  if (format == PictureFormat::Svg) {
    SvgCanvas canvas(kViewerClientWidth, kViewerClientHeight, kViewerDpi);
    viewer.open(canvas);
    viewer.close();
    bytes = canvas.document();
    return true;
  }
  constexpr PixelLayout kLayout = PixelLayout::Argb32;
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(kViewerClientWidth) *
                                    kViewerClientHeight);
  const PixelRaster picture(pixels.data(), kViewerClientWidth, kViewerClientHeight,
                            kViewerClientWidth);
  const std::unique_ptr<TextPainter> text = png->makeTextPainter(kLayout);
  PixelCanvas canvas(picture, kLayout, kViewerDpi, *text);
  viewer.open(canvas);
  viewer.close();
  return png->encode(picture, kLayout, bytes, error);
}

}  // namespace

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
    options.format = PictureFormat::Png;
  } else {
    problem = "the picture file must end in .svg or .png";
    return std::nullopt;
  }
  return options;
}

int render(const RenderOptions& options, const CliStreams& streams) {
  if (options.format == PictureFormat::Png && streams.png == nullptr) {
    return usageError(streams.err, "this build writes no PNG pictures; use .svg");
  }
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
  if (!paintPicture(viewer, options.format, streams.png, bytes, error) ||
      !replaceFileContents(options.output, bytes, error)) {
    streams.err << "error: " << error << '\n';
    return kExitFailed;
  }
  return exitStatus(run.allOk());
}

}  // namespace calveth
