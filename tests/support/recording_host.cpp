#include "support/recording_host.h"

namespace calveth::testing {

std::string RecordingHost::lastStatus() const {
  const auto all = statuses();
  return all.empty() ? std::string() : all.back();
}

std::vector<std::string> RecordingHost::statuses() const {
  std::vector<std::string> texts;
  for (const std::string& event : events) {
    if (event.starts_with("status ")) {
      texts.push_back(event.substr(7));
    }
  }
  return texts;
}

std::optional<bool> RecordingHost::enabled(ControlId control) const {
  const std::string prefix = "enable " + std::to_string(static_cast<int>(control)) + " ";
  std::optional<bool> state;
  for (const std::string& event : events) {
    if (event.starts_with(prefix)) {
      state = event.back() == '1';
    }
  }
  return state;
}

void RecordingHost::setStatusText(std::string_view text) {
  events.push_back("status " + std::string(text));
}

void RecordingHost::setEnabled(ControlId control, bool enabled) {
  events.push_back("enable " + std::to_string(static_cast<int>(control)) + (enabled ? " 1" : " 0"));
}

void RecordingHost::setChecked(ControlId control, bool checked) {
  events.push_back("check " + std::to_string(static_cast<int>(control)) + (checked ? " 1" : " 0"));
}

void RecordingHost::setProgressRange(int low, int high) {
  events.push_back("range " + std::to_string(low) + " " + std::to_string(high));
}

void RecordingHost::setProgressPosition(int position) { progressMoves.push_back(position); }

void RecordingHost::repaintNow() { events.push_back("repaint"); }

std::optional<std::string> RecordingHost::chooseOpenFile(const FileChoice& choice) {
  events.push_back("open " + std::string(choice.filter) + " " + std::string(choice.initialName) +
                   " " + std::string(choice.defaultExtension));
  return openFileAnswer;
}

std::optional<std::string> RecordingHost::chooseSaveFile(const FileChoice& choice) {
  events.push_back("save " + std::string(choice.filter) + " " + std::string(choice.initialName) +
                   " " + std::string(choice.defaultExtension));
  return saveFileAnswer;
}

bool RecordingHost::askYesNo(std::string_view question) {
  ++questions;
  events.push_back("ask " + std::string(question));
  return yesNoAnswer;
}

void RecordingHost::warn(std::string_view text) { events.push_back("warn " + std::string(text)); }

}  // namespace calveth::testing
