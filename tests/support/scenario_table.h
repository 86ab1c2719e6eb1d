// The scenario table (tests/scenarios/dialog_runs.txt) as data: every front end's driver reads
// it through this one parser and runs the same steps against its own dialog.
#pragma once

#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "ports/control_id.h"

namespace calveth::testing {

struct ScenarioCheck {
  std::string what;   // "status", "enabled", "checked", "warnings", "saved", "viewer", ...
  std::string value;  // the rest of the line, as written
  int line = 0;
};

struct ScenarioStep {
  std::string action;  // "press", "open", "cancel", "answer", "save", "key", ...
  std::vector<std::string> words;
  std::vector<ScenarioCheck> checks;
  int line = 0;
  // The front ends that cannot run the step, from its "not FRONT REASON" checks.
  bool skippedOn(const std::string& front) const {
    for (const ScenarioCheck& check : checks) {
      if (check.what == "not" && check.value.starts_with(front + " ")) {
        return true;
      }
    }
    return false;
  }
};

struct Scenario {
  std::string name;
  std::vector<ScenarioStep> steps;
};

inline std::vector<std::string> wordsOf(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> words;
  for (std::string word; in >> word;) {
    words.push_back(word);
  }
  return words;
}

// Steps are indented by two blanks, their checks by four.
inline std::vector<Scenario> readScenarios(const std::string& path) {
  std::vector<Scenario> scenarios;
  std::ifstream in(path);
  int number = 0;
  for (std::string line; std::getline(in, line);) {
    ++number;
    if (line.empty() || line[0] == '#') {
      continue;
    }
    if (line.starts_with("scenario ")) {
      scenarios.push_back({line.substr(9), {}});
    } else if (line.starts_with("    ") && !scenarios.empty() && !scenarios.back().steps.empty()) {
      const std::string text = line.substr(4);
      const auto blank = text.find(' ');
      scenarios.back().steps.back().checks.push_back(
          {text.substr(0, blank), blank == std::string::npos ? "" : text.substr(blank + 1),
           number});
    } else if (line.starts_with("  ") && !scenarios.empty()) {
      std::vector<std::string> words = wordsOf(line);
      ScenarioStep step;
      step.action = words.empty() ? "" : words.front();
      step.words.assign(words.begin() + (words.empty() ? 0 : 1), words.end());
      step.line = number;
      scenarios.back().steps.push_back(std::move(step));
    }
  }
  return scenarios;
}

struct NamedControl {
  const char* name;
  ControlId id;
};

inline constexpr NamedControl kScenarioControls[] = {
    {"OpenBase", ControlId::OpenBase},
    {"OpenMt", ControlId::OpenMt},
    {"MirrorRL", ControlId::MirrorRightToLeft},
    {"MirrorLR", ControlId::MirrorLeftToRight},
    {"Swap", ControlId::Swap},
    {"ResetL", ControlId::ResetLeft},
    {"ResetR", ControlId::ResetRight},
    {"Minus", ControlId::MinusDelta},
    {"Plus", ControlId::PlusDelta},
    {"Melt", ControlId::Melt},
    {"SaveMt", ControlId::SaveMt},
    {"Exit", ControlId::Exit},
    {"VertexOnly", ControlId::VertexOnly},
    {"Viewer", ControlId::Viewer},
};

inline std::optional<ControlId> scenarioControl(const std::string& name) {
  for (const NamedControl& control : kScenarioControls) {
    if (name == control.name) {
      return control.id;
    }
  }
  return std::nullopt;
}

// The names of the controls for which `on` holds, in the table's order; "-" for none.
template <typename Predicate>
std::string controlNames(Predicate on, bool switchesOnly = false) {
  std::string names;
  for (const NamedControl& control : kScenarioControls) {
    const bool isSwitch = control.id == ControlId::VertexOnly || control.id == ControlId::Viewer;
    if ((!switchesOnly || isSwitch) && on(control.id)) {
      names += (names.empty() ? "" : " ") + std::string(control.name);
    }
  }
  return names.empty() ? "-" : names;
}

// The same names in the table's order, for comparing a check's list with controlNames().
inline std::string orderedNames(const std::string& listed) {
  const std::vector<std::string> words = wordsOf(listed);
  std::string names;
  for (const NamedControl& control : kScenarioControls) {
    for (const std::string& word : words) {
      if (word == control.name) {
        names += (names.empty() ? "" : " ") + std::string(control.name);
      }
    }
  }
  return names.empty() ? "-" : names;
}

// A saved MT's lines but its third, which holds the path it was saved under.
inline std::string withoutPathLine(const std::string& bytes) {
  std::string kept;
  std::size_t start = 0;
  for (int line = 1; start < bytes.size(); ++line) {
    const auto end = bytes.find('\n', start);
    const std::size_t next = end == std::string::npos ? bytes.size() : end + 1;
    if (line != 3) {
      kept += bytes.substr(start, next - start);
    }
    start = next;
  }
  return kept;
}

}  // namespace calveth::testing
