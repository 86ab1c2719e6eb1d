// calveth-cli render: the picture the viewer window shows after a sequence of commands.
//
// Runs "Open Base" on BASE with the viewer's angle set, then "&Open MT" on MT and the
// generating command OP when given, as the dialog would, printing the status text after each
// command. Then paints what the viewer would show into FILE at the viewer's drawing-area size
// (viewer/viewer_window_size.h): an SVG document, or a PNG image where the platform gives PngTools.
// The picture is written whatever the status texts say, since the viewer shows a picture after a
// refused file too.
#pragma once

#include <optional>
#include <string>

#include "cli/command_line.h"
#include "ports/control_id.h"

namespace calveth {

enum class PictureFormat { Svg, Png };

struct RenderOptions {
  std::string base;
  std::optional<std::string> mt;
  std::optional<ControlId> operation;
  bool autoDetect = true;
  double angle = 0.0;       // radians, handed to every projection
  bool pairByMesh = false;  // pairing by the mesh right after "Open Base"
  std::string output;
  PictureFormat format = PictureFormat::Svg;
};

// The options of the words read for "render"; nothing, with `problem` set, without a BASE or
// -o FILE, or for a FILE that is neither .svg nor .png.
std::optional<RenderOptions> renderOptions(const ParsedArguments& arguments, std::string& problem);

// Exit status as runCli documents it: 0 when every printed status text begins "OK", 1
// otherwise or when the picture cannot be made or written, 2 for a PNG without PngTools.
int render(const RenderOptions& options, const CliStreams& streams);

}  // namespace calveth
