// The tolerances of the auto detection of mirror partners.
//
// The constants are single-precision numbers widened to double, and the tolerance of each
// pass is the previous one plus the step, added in double precision: the pass tolerances
// are exactly 4.999999873689376e-06, then +9.999999747378752e-06 each pass, up to
// 0.0014949999622331234 (150 passes). They are not first + k * step.
#pragma once

namespace calveth {

inline constexpr double kFirstTolerance = static_cast<double>(0.000005f);
inline constexpr double kToleranceStep = static_cast<double>(0.00001f);
// Detection stops once the tolerance grows beyond this (model units).
inline constexpr double kToleranceLimit = 0.0015;

}  // namespace calveth
