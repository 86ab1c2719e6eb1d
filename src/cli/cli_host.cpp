#include "cli/cli_host.h"

#include <filesystem>
#include <system_error>
#include <utility>

#include "objio/line_reader.h"

namespace calveth {

std::string dialogPath(const std::string& utf8Path) {
  std::error_code ignored;
  const std::filesystem::path absolute = std::filesystem::absolute(pathFromUtf8(utf8Path), ignored);
  return utf8FromPath(absolute.lexically_normal());
}

void CliHost::setStatusText(std::string_view text) {
  lastStatus_ = text;
  pending_ = lastStatus_;
  if (echoStatus_) {
    out_ << text << '\n';
  }
}

std::optional<std::string> CliHost::chooseOpenFile(const FileChoice&) {
  return std::exchange(openFile_, std::nullopt);
}

std::optional<std::string> CliHost::chooseSaveFile(const FileChoice& choice) {
  std::optional<std::string> path = std::exchange(saveFile_, std::nullopt);
  if (saveFolder_) {
    path = dialogPath(*saveFolder_ + "/" + std::string(choice.initialName));
  }
  if (path) {
    lastSavePath_ = *path;
  }
  return path;
}

bool CliHost::askYesNo(std::string_view) { return answer_; }

void CliHost::warn(std::string_view text) { err_ << "warning: " << text << '\n'; }

}  // namespace calveth
