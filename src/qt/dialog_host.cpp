#include "qt/dialog_host.h"

#include <QAbstractButton>
#include <QFileInfo>
#include <QLineEdit>
#include <QProgressBar>
#include <QtGlobal>
#include <algorithm>

#include "app/dialog_template.h"
#include "qt/file_choice_dialogs.h"
#include "qt/qt_text.h"

namespace calveth {

void DialogHost::beginCommand() {
  warnings_.clear();
  reported_ = false;
}

void DialogHost::endCommand() {
  if (reported_ || !warnings_.isEmpty()) {
    showWarnings_(warnings_);
  }
}

void DialogHost::setStatusText(std::string_view text) {
  reported_ = true;
  if (auto* line = qobject_cast<QLineEdit*>(control(ControlId::StatusLine))) {
    line->setText(qtText(text));
    line->setCursorPosition(0);  // the start of a long text stays in view
  }
}

void DialogHost::setEnabled(ControlId id, bool enabled) {
  if (QWidget* widget = control(id)) {
    widget->setEnabled(enabled);
  }
}

void DialogHost::setChecked(ControlId id, bool checked) {
  if (auto* button = qobject_cast<QAbstractButton*>(control(id))) {
    button->setChecked(checked);
  }
}

void DialogHost::setProgressRange(int low, int high) {
  if (auto* bar = qobject_cast<QProgressBar*>(control(ControlId::Progress))) {
    bar->setRange(std::clamp(low, 0, kProgressMaximum), std::clamp(high, 0, kProgressMaximum));
  }
}

// A duplicate point counts two hits, so the analysis can report more hits than vertices; a
// progress bar keeps its old position when given one outside its range, so the position is
// held to the range and the bar shows full.
void DialogHost::setProgressPosition(int position) {
  if (auto* bar = qobject_cast<QProgressBar*>(control(ControlId::Progress))) {
    bar->setValue(std::clamp(position, bar->minimum(), bar->maximum()));
  }
}

void DialogHost::repaintNow() { dialog_.repaint(); }

std::optional<std::string> DialogHost::remembered(std::optional<std::string> path) {
  if (path) {
    fileFolder_ = QFileInfo(QString::fromStdString(*path)).absolutePath();
  }
  return path;
}

std::optional<std::string> DialogHost::chooseOpenFile(const FileChoice& choice) {
  return remembered(calveth::chooseOpenFile(dialog_, choice, fileFolder_));
}

std::optional<std::string> DialogHost::chooseSaveFile(const FileChoice& choice) {
  return remembered(calveth::chooseSaveFile(dialog_, choice, fileFolder_));
}

bool DialogHost::askYesNo(std::string_view question) {
  return calveth::askYesNo(dialog_, question);
}

// Remarks about skipped input lines have no place in the one-line status: they are shown
// beside it when the command ends, and go to the program's error stream as well, where a user
// who started it from a terminal sees them.
void DialogHost::warn(std::string_view text) {
  qWarning("%.*s", static_cast<int>(text.size()), text.data());
  warnings_ << qtText(text);
}

}  // namespace calveth
