// The generating commands by their command-line names.
#pragma once

#include <optional>
#include <string_view>

#include "ports/control_id.h"

namespace calveth {

struct OperationName {
  std::string_view name;
  ControlId control;
};

inline constexpr OperationName kOperationNames[] = {
    {"mirror-l2r", ControlId::MirrorLeftToRight},
    {"mirror-r2l", ControlId::MirrorRightToLeft},
    {"swap", ControlId::Swap},
    {"minus", ControlId::MinusDelta},
    {"plus", ControlId::PlusDelta},
    {"reset-l", ControlId::ResetLeft},
    {"reset-r", ControlId::ResetRight},
    {"melt", ControlId::Melt},
};

inline std::optional<ControlId> operationByName(std::string_view name) {
  for (const OperationName& operation : kOperationNames) {
    if (operation.name == name) {
      return operation.control;
    }
  }
  return std::nullopt;
}

}  // namespace calveth
