// The generated bases of the benchmarks: limbs of 4000 (40 x 100) and 40000 (200 x 200)
// vertices, perfectly symmetric, with 5% of the left side's vertices moved so that 1 to 20
// tolerance passes pair them, or with 1% moved far so that they never pair (150 passes).
#pragma once

#include <optional>
#include <string>

#include "meshgen/body_part.h"
#include "ports/host.h"

namespace calveth::bench {

enum class Symmetry { Perfect, FewPasses, NeverPairs };

meshgen::Mesh benchBase(int vertices, Symmetry symmetry);

// The base as an OBJ file (v, vt, vn, g, s, usemtl, f v/vt) in the temporary folder; written
// once per run and reused.
std::string benchBaseFile(int vertices, Symmetry symmetry);

// An MT of the perfectly symmetric base: its left side moved, with the base's vt, vn and f
// lines. Written once per run.
std::string benchMtFile(int vertices);

// A host that answers every file choice with `path`, every question with yes, and keeps only
// the last status text.
class QuietHost final : public Host {
 public:
  std::string path;
  std::string status;
  void setStatusText(std::string_view text) override { status = text; }
  void setEnabled(ControlId, bool) override {}
  void setChecked(ControlId, bool) override {}
  void setProgressRange(int, int) override {}
  void setProgressPosition(int) override {}
  void repaintNow() override {}
  std::optional<std::string> chooseOpenFile(const FileChoice&) override { return path; }
  std::optional<std::string> chooseSaveFile(const FileChoice&) override { return path; }
  bool askYesNo(std::string_view) override { return true; }
  void warn(std::string_view) override {}
};

}  // namespace calveth::bench
