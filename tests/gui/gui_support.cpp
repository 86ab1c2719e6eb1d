#include "gui/gui_support.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace calveth::testing {

void chooseFileThenAnswer(QWidget* below, QString path, std::optional<bool> question) {
  answerNextModal(below, [below, path, question](QWidget* modal) {
    if (question) {
      answerNextModal(below, [yes = *question](QWidget* box) {
        qobject_cast<QMessageBox*>(box)->button(yes ? QMessageBox::Yes : QMessageBox::No)->click();
      });
    }
    auto* files = qobject_cast<QFileDialog*>(modal);
    files->selectFile(path);
    static_cast<QDialog*>(files)->accept();
  });
}

}  // namespace calveth::testing
