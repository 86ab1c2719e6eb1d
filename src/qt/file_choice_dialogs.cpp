#include "qt/file_choice_dialogs.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QTimer>

#include "qt/qt_text.h"

namespace calveth {
namespace {

// The viewer beside the dialog stays on top of other windows, and a window manager keeps such
// a window above every window without the hint, its owner's modal windows included. A file
// dialog or the question box must never open hidden under it (the program would look hung),
// so each is on top too and raised once it is shown: among windows on top, the newest is
// above.
void keepAboveTheViewer(QDialog& modal) {
  modal.setWindowFlag(Qt::WindowStaysOnTopHint);
  QTimer::singleShot(0, &modal, [&modal] {
    modal.raise();
    modal.activateWindow();
  });
}

std::optional<std::string> runFileDialog(QWidget& parent, const FileChoice& choice,
                                         QFileDialog::AcceptMode mode, const QString& folder) {
  QFileDialog dialog(&parent);
  if (!folder.isEmpty()) {
    dialog.setDirectory(folder);
  }
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(mode);
  dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                     : QFileDialog::AnyFile);
  dialog.setNameFilters(qtNameFilters(choice.filter));
  dialog.setDefaultSuffix(qtText(choice.defaultExtension));
  dialog.selectFile(qtText(choice.initialName));
  keepAboveTheViewer(dialog);
  // A failure of the dialog itself counts as a cancel, as does an empty choice.
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
    return std::nullopt;
  }
  return dialog.selectedFiles().front().toStdString();
}

}  // namespace

QStringList qtNameFilters(std::string_view filter) {
  QStringList filters;
  while (!filter.empty()) {
    const auto nameEnd = filter.find('|');
    if (nameEnd == std::string_view::npos || nameEnd == 0) {
      break;  // the closing "||"
    }
    const auto patternEnd = filter.find('|', nameEnd + 1);
    const std::string_view pattern =
        filter.substr(nameEnd + 1, patternEnd == std::string_view::npos ? std::string_view::npos
                                                                        : patternEnd - nameEnd - 1);
    QString name = qtText(filter.substr(0, nameEnd));
    const QString patterns = qtText(pattern).replace(u';', u' ');
    if (!name.endsWith(u'(' + patterns + u')')) {
      name += QStringLiteral(" (") + patterns + u')';
    }
    filters << name;
    if (patternEnd == std::string_view::npos) {
      break;
    }
    filter.remove_prefix(patternEnd + 1);
  }
  return filters;
}

std::optional<std::string> chooseOpenFile(QWidget& parent, const FileChoice& choice,
                                          const QString& folder) {
  return runFileDialog(parent, choice, QFileDialog::AcceptOpen, folder);
}

std::optional<std::string> chooseSaveFile(QWidget& parent, const FileChoice& choice,
                                          const QString& folder) {
  return runFileDialog(parent, choice, QFileDialog::AcceptSave, folder);
}

bool askYesNo(QWidget& parent, std::string_view question) {
  QMessageBox box(QMessageBox::Information, QString(), qtText(question),
                  QMessageBox::Yes | QMessageBox::No, &parent);
  box.setDefaultButton(QMessageBox::Yes);
  // An empty title would make the window system show the program's name instead; a blank
  // shows nothing.
  box.setWindowTitle(QStringLiteral(" "));
  keepAboveTheViewer(box);
  return box.exec() == QMessageBox::Yes;
}

}  // namespace calveth
