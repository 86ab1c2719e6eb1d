// The generated bases of the benchmarks: limbs of 4000 (40 x 100) and 40000 (200 x 200)
// vertices, perfectly symmetric, with 5% of the left side's vertices moved so that 1 to 20
// tolerance passes pair them, or with 1% moved far so that they never pair (150 passes).
#pragma once

#include <string>

#include "meshgen/body_part.h"

namespace calveth::bench {

enum class Symmetry { Perfect, FewPasses, NeverPairs };

meshgen::Mesh benchBase(int vertices, Symmetry symmetry);

// The base as an OBJ file (v, vt, vn, g, s, usemtl, f v/vt) in the temporary folder; written
// once per run and reused.
std::string benchBaseFile(int vertices, Symmetry symmetry);

}  // namespace calveth::bench
