#include "gui/gui_support.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

namespace calveth::testing {

void chooseFileThenAnswer(QWidget* below, QString path, std::optional<bool> question) {
  answerNextModal(below, [below, path, question](QWidget* modal) {
    if (question) {
      answerNextModal(below, [yes = *question](QWidget* modal) {
        // Whatever else opened instead of the question is closed, and the test's own checks
        // tell what went wrong.
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
          box->button(yes ? QMessageBox::Yes : QMessageBox::No)->click();
        } else {
          modal->close();
        }
      });
    }
    acceptFile(modal, path);
  });
}

void acceptFile(QWidget* modal, const QString& path) {
  auto* files = qobject_cast<QFileDialog*>(modal);
  files->selectFile(path);
  if (auto* name = files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
    name->setText(QFileInfo(path).absoluteFilePath());
  }
  static_cast<QDialog*>(files)->accept();
}

bool writeFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

bool ShownDialog::show(TonePort& tone) {
  dialog.reset();
  store = std::make_unique<MeshStore>();
  dialog = std::make_unique<MainDialog>(*store, tone);
  dialog->show();
  return QTest::qWaitForWindowExposed(dialog.get());
}

}  // namespace calveth::testing
