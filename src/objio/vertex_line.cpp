#include "objio/vertex_line.h"

#include "objio/decimal_number.h"
#include "objio/obj_text.h"

namespace calveth {
VertexLine parseVertexLine(std::string_view line) {
  VertexLine result;
  double* const targets[3] = {&result.x, &result.y, &result.z};
  const char* p = line.data() + 1;  // after the "v"
  const char* const end = line.data() + line.size();
  for (double* target : targets) {
    while (p != end && isObjSpace(*p)) {
      ++p;
    }
    double value = 0.0;
    const char* const after = scanDecimalNumber(p, end, value);
    // The number must be the whole token: "1.5abc" or "0,5" is not a coordinate.
    if (after == nullptr || (after != end && !isObjSpace(*after))) {
      return result;
    }
    *target = value;
    p = after;
    ++result.converted;
  }
  result.ok = true;
  return result;
}

}  // namespace calveth
