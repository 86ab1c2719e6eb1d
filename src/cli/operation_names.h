// The generating commands by their command-line names: the one list that selects them, names
// them in --help and in the usage errors, and that tests walk.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "ports/control_id.h"

namespace calveth {

struct OperationName {
  std::string_view name;
  ControlId control;
  std::string_view help;  // one line of --help
  std::string_view tag;   // what the command appends to the MT's title in the proposed name
};

inline constexpr OperationName kOperationNames[] = {
    {"mirror-l2r", ControlId::MirrorLeftToRight, "the left side (X > 0) mirrored onto the right",
     "MirR"},
    {"mirror-r2l", ControlId::MirrorRightToLeft, "the right side mirrored onto the left", "MirL"},
    {"swap", ControlId::Swap, "the two sides exchanged (also for a half MT)", "Swap"},
    {"minus", ControlId::MinusDelta, "the base minus the MT", "Minus"},
    {"plus", ControlId::PlusDelta, "the base plus the MT turned by -78 degrees", "Plus"},
    {"reset-l", ControlId::ResetLeft, "the left side and the middle back to the base", "ResL"},
    {"reset-r", ControlId::ResetRight, "the right side back to the base", "ResR"},
    {"melt", ControlId::Melt, "spread 2.5 times and turned upside down", "Melt"},
};

inline std::optional<ControlId> operationByName(std::string_view name) {
  for (const OperationName& operation : kOperationNames) {
    if (operation.name == name) {
      return operation.control;
    }
  }
  return std::nullopt;
}

// "mirror-l2r, mirror-r2l, ..., melt": the names as a usage error lists them.
inline std::string operationNameList() {
  std::string list;
  for (const OperationName& operation : kOperationNames) {
    list += list.empty() ? "" : ", ";
    list += operation.name;
  }
  return list;
}

}  // namespace calveth
