// The exit statuses of calveth-cli, as its --help and the README state them.
#pragma once

namespace calveth {

inline constexpr int kExitOk = 0;      // every printed status text began "OK"
inline constexpr int kExitFailed = 1;  // a status text did not, or an output file was not written
inline constexpr int kExitUsage = 2;   // the arguments do not form a command; nothing was run

inline constexpr int exitStatus(bool allOk) { return allOk ? kExitOk : kExitFailed; }

}  // namespace calveth
