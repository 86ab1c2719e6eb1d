// Character classes shared by the OBJ line parsers.
#pragma once

namespace calveth {

// White space between the fields of a "v" or "f" line; a line's own CR or LF counts too.
inline bool isObjSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace calveth
