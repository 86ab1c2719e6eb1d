// The Host of the desktop front end: the commands' reports shown on the main dialog's
// controls, their file choices and question asked in Qt's dialogs.
#pragma once

#include <QPointer>
#include <map>

#include "ports/host.h"

class QWidget;

namespace calveth {

using ControlWidgets = std::map<ControlId, QPointer<QWidget>>;

// The control with the id, or nullptr.
inline QWidget* controlOf(const ControlWidgets& controls, ControlId id) {
  const auto found = controls.find(id);
  return found == controls.end() ? nullptr : found->second.data();
}

class DialogHost final : public Host {
 public:
  // `controls` must hold the status line, the progress bar and every button a command sets.
  DialogHost(QWidget& dialog, const ControlWidgets& controls)
      : dialog_(dialog), controls_(controls) {}

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

  QWidget& dialog_;
  const ControlWidgets& controls_;
};

}  // namespace calveth
