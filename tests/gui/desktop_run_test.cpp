// The desktop program over a whole run: nothing kept after it, and how long a large base
// keeps the dialog busy.
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>
#include <memory>

#include "gui/gui_support.h"
#include "gui/gui_tests.h"
#include "meshgen/body_part.h"
#include "qt/main_dialog.h"
#include "qt/viewer_window.h"

namespace calveth::testing {

class DesktopRunTest : public QObject {
  Q_OBJECT

  RecordingTone tone_;

 private slots:
  // The test program points the user's settings folder at an empty folder of its own before
  // anything starts (see the test program's main).
  void fileDialogsKeepNothing() {
    ShownDialog shown;
    QVERIFY(shown.show(tone_));
    MainDialog& dialog = *shown.dialog;
    answerNextModal(&dialog, [](QWidget* modal) {
      auto* files = qobject_cast<QFileDialog*>(modal);
      acceptFile(files, sample("head_base.obj"));
    });
    click(dialog.control(ControlId::OpenBase));
    answerNextModal(&dialog, [](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
    click(dialog.control(ControlId::OpenMt));
    QDirIterator left(qEnvironmentVariable("XDG_CONFIG_HOME"), QDir::Files | QDir::Hidden,
                      QDirIterator::Subdirectories);
    QVERIFY2(!left.hasNext(), qPrintable(left.hasNext() ? left.next() : QString()));
  }

  // Not a timed assertion: the figure goes to the test log.
  void largeBaseWithTheViewerOpen() {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("limb40000.obj"));
    std::ofstream(path.toStdString(), std::ios::binary)
        << meshgen::toObj(meshgen::limbMesh(200, 200), {});
    ShownDialog shown;
    QVERIFY(shown.show(tone_));
    MainDialog& dialog = *shown.dialog;
    click(dialog.control(ControlId::Viewer));
    QVERIFY(QTest::qWaitForWindowExposed(dialog.viewerWindow()));
    QElapsedTimer sinceChoice;
    answerNextModal(&dialog, [&](QWidget* modal) {
      auto* files = qobject_cast<QFileDialog*>(modal);
      sinceChoice.start();
      acceptFile(files, path);
    });
    click(dialog.control(ControlId::OpenBase));
    QApplication::processEvents();  // the viewer shows its new picture
    const qint64 busy = sinceChoice.elapsed();
    const QString status = qobject_cast<QLineEdit*>(dialog.control(ControlId::StatusLine))->text();
    QCOMPARE(status, QStringLiteral("OK: Perfect symmetry V=40000 F=39800"));
    qInfo("Open Base, 40000 vertices, viewer open: responsive again %lld ms after the choice",
          static_cast<long long>(busy));
  }
};

int runDesktopRunTests(int argc, char** argv) {
  DesktopRunTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace calveth::testing

#include "desktop_run_test.moc"
