// The Host of the desktop front end: the commands' reports shown on the main dialog's
// controls, their file choices and question asked in Qt's dialogs.
#pragma once

#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <utility>

#include "ports/host.h"

class QWidget;

namespace calveth {

using ControlWidgets = std::map<ControlId, QPointer<QWidget>>;

// The control with the id, or nullptr.
inline QWidget* controlOf(const ControlWidgets& controls, ControlId id) {
  const auto found = controls.find(id);
  return found == controls.end() ? nullptr : found->second.data();
}

// The file dialogs start in the folder of the file last chosen in any of them during the run
// (nothing of it is kept when the program ends). The warnings of a command are handed on
// when it ends, for a place of their own: the status line keeps the command's text.
class DialogHost final : public Host {
 public:
  using WarningsShown = std::function<void(const QStringList& warnings)>;

  // `controls` must hold the status line, the progress bar and every button a command sets.
  // `showWarnings` receives the warnings of each command that did something (an empty list
  // when it had none); a command that changed nothing, such as a cancelled file choice,
  // leaves the warnings shown before.
  DialogHost(QWidget& dialog, const ControlWidgets& controls, WarningsShown showWarnings)
      : dialog_(dialog), controls_(controls), showWarnings_(std::move(showWarnings)) {}

  void beginCommand();
  void endCommand();
  const QString& fileFolder() const { return fileFolder_; }

  void setStatusText(std::string_view text) override;
  void setEnabled(ControlId control, bool enabled) override;
  void setChecked(ControlId control, bool checked) override;
  void setProgressRange(int low, int high) override;
  void setProgressPosition(int position) override;
  void repaintNow() override;
  std::optional<std::string> chooseOpenFile(const FileChoice& choice) override;
  std::optional<std::string> chooseSaveFile(const FileChoice& choice) override;
  bool askYesNo(std::string_view question) override;
  void warn(std::string_view text) override;

 private:
  QWidget* control(ControlId id) const { return controlOf(controls_, id); }

  std::optional<std::string> remembered(std::optional<std::string> path);

  QWidget& dialog_;
  const ControlWidgets& controls_;
  WarningsShown showWarnings_;
  QString fileFolder_;
  QStringList warnings_;
  bool reported_ = false;
};

}  // namespace calveth
