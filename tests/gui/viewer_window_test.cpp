// The "Wire Flame Viewer" window: where it opens, how it closes, and what it shows.
#include <QElapsedTimer>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <map>
#include <memory>

#include "gui/gui_support.h"
#include "gui/gui_tests.h"
#include "meshgen/body_part.h"
#include "qt/main_dialog.h"
#include "qt/viewer_window.h"
#include "viewer/pixel_position.h"

namespace calveth::testing {
namespace {

QRgb rgb(int red, int green, int blue) { return qRgb(red, green, blue); }

// The colour most pixels of the rectangle have.
QRgb dominantColour(const QImage& image, const QRect& area) {
  std::map<QRgb, int> counts;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      ++counts[image.pixel(x, y) | 0xff000000u];
    }
  }
  auto best = counts.begin();
  for (auto it = counts.begin(); it != counts.end(); ++it) {
    if (it->second > best->second) {
      best = it;
    }
  }
  return best->first;
}

}  // namespace

class ViewerWindowTest : public QObject {
  Q_OBJECT

  RecordingTone tone_;
  ShownDialog shown_;
  std::unique_ptr<MeshStore>& store_ = shown_.store;
  std::unique_ptr<MainDialog>& dialog_ = shown_.dialog;

  QPushButton* gButton() const {
    return qobject_cast<QPushButton*>(dialog_->control(ControlId::Viewer));
  }

  void openBase(const QString& path, std::optional<bool> question) {
    chooseFileThenAnswer(dialog_.get(), path, question);
    click(dialog_->control(ControlId::OpenBase));
  }

 private slots:
  void init() { QVERIFY(shown_.show(tone_)); }

  void cleanup() { dialog_.reset(); }

  void opensAtTheRememberedPlace() {
    QCOMPARE(dialog_->viewerWindow(), nullptr);
    click(gButton());
    ViewerWindow* viewer = dialog_->viewerWindow();
    QVERIFY(viewer != nullptr);
    QVERIFY(gButton()->isChecked());
    QVERIFY(QTest::qWaitForWindowExposed(viewer));
    QCOMPARE(viewer->windowTitle(), QStringLiteral("Wire Flame Viewer"));
    QCOMPARE(viewer->frameGeometry(), QRect(10, 10, 420, 420));
    const Qt::WindowFlags flags = viewer->windowFlags();
    QVERIFY(flags & Qt::WindowStaysOnTopHint);
    QVERIFY(flags & Qt::WindowTitleHint);
    QVERIFY(!(flags & (Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint |
                       Qt::WindowMaximizeButtonHint | Qt::WindowSystemMenuHint)));
    QCOMPARE(viewer->parentWidget(), nullptr);

    viewer->move(300, 200);
    click(gButton());
    QCOMPARE(dialog_->viewerWindow(), nullptr);
    QVERIFY(!gButton()->isChecked());
    QCOMPARE(dialog_->viewerPlace(), QPoint(300, 200));
    click(gButton());
    QVERIFY(dialog_->viewerWindow() != nullptr);
    QCOMPARE(dialog_->viewerWindow()->frameGeometry().topLeft(), QPoint(300, 200));
  }

  void aCloseByTheWindowSystemCountsAsG() {
    click(gButton());
    dialog_->viewerWindow()->move(50, 60);
    dialog_->viewerWindow()->close();
    QCOMPARE(dialog_->viewerWindow(), nullptr);
    QVERIFY(!gButton()->isChecked());
    QCOMPARE(dialog_->viewerPlace(), QPoint(50, 60));
    QApplication::processEvents();  // the closed window goes
    click(gButton());
    QVERIFY(gButton()->isChecked());
    QVERIFY(dialog_->viewerWindow() != nullptr);
    QCOMPARE(dialog_->viewerWindow()->frameGeometry().topLeft(), QPoint(50, 60));
  }

  void showsTheAxisTheCrossesAndTheLegend() {
    click(gButton());
    ViewerWindow* viewer = dialog_->viewerWindow();
    const QImage empty = viewer->picture();
    QCOMPARE(dominantColour(empty, QRect(0, 0, 100, 100)), rgb(0, 0, 0));

    // Without the tolerance passes twelve vertices stay unpaired: red crosses, no all-green banner.
    openBase(sample("head_base_near.obj"), false);
    const QImage picture = viewer->picture();
    QVERIFY(picture != empty);
    // Legend boxes along the bottom: duplicates, unpaired, found by tolerance.
    QCOMPARE(dominantColour(picture, QRect(0, 381, 118, 6)), rgb(255, 255, 0));
    QCOMPARE(dominantColour(picture, QRect(121, 381, 136, 6)), rgb(255, 0, 0));
    QCOMPARE(dominantColour(picture, QRect(261, 381, 140, 6)), rgb(0, 255, 0));

    // The dotted axis line in yellow down the middle of the mesh.
    const ScreenData& screen = dialog_->wireViewer().screen();
    int yellow = 0;
    for (int y = 20; y < 370; ++y) {
      yellow += (picture.pixel(screen.axisX, y) | 0xff000000u) == rgb(255, 255, 0) ? 1 : 0;
    }
    QVERIFY2(yellow > 150, qPrintable(QString::number(yellow)));

    // A red cross at the vertices without a partner.
    int unpaired = 0;
    int crosses = 0;
    for (int i = 0; i < static_cast<int>(store_->baseVertexCount); ++i) {
      if (store_->MirrorMap[i] != -1) {
        continue;
      }
      ++unpaired;
      const int x = pixelOf(screen.ViewX[i]);
      const int y = pixelOf(screen.ViewY[i]);
      const bool arms = (picture.pixel(x - 2, y) | 0xff000000u) == rgb(255, 0, 0) &&
                        (picture.pixel(x, y + 2) | 0xff000000u) == rgb(255, 0, 0);
      crosses += arms ? 1 : 0;
    }
    QCOMPARE(unpaired, 12);  // the six moved vertices and the six they should mirror
    QVERIFY2(crosses > 0, qPrintable(QStringLiteral("%1 of %2").arg(crosses).arg(unpaired)));
  }

  // Shift+F10 in the viewer opens its menu; "Left" turns the view, and a drag turns it on.
  void menuAndDragTurnTheView() {
    click(gButton());
    ViewerWindow* viewer = dialog_->viewerWindow();
    QVERIFY(QTest::qWaitForWindowExposed(viewer));
    QStringList captions;
    QTimer::singleShot(0, [&captions] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      if (menu == nullptr) {
        return;
      }
      for (QAction* action : menu->actions()) {
        captions << action->text() + (action->isEnabled() ? QString() : QStringLiteral(" (off)"));
      }
      menu->setActiveAction(menu->actions().at(2));
      QTest::keyClick(menu, Qt::Key_Return);
    });
    QTest::keyClick(viewer, Qt::Key_F10, Qt::ShiftModifier);
    QCOMPARE(captions, (QStringList{QStringLiteral("Pair the rest by the mesh (off)"),
                                    QStringLiteral("Front"), QStringLiteral("Left"),
                                    QStringLiteral("Right"), QStringLiteral("Back")}));
    QCOMPARE(store_->viewAngle, -M_PI / 2);
    QTest::mousePress(viewer, Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mouseMove(viewer, QPoint(190, 100));
    QTest::mouseRelease(viewer, Qt::LeftButton, {}, QPoint(190, 100));
    QVERIFY(std::abs(store_->viewAngle) < 1e-12);  // 90 pixels: a quarter turn back
  }

  void repaintsItsLastPictureWhenAsked() {
    openBase(sample("head_base.obj"), std::nullopt);
    click(gButton());
    ViewerWindow* viewer = dialog_->viewerWindow();
    QVERIFY(QTest::qWaitForWindowExposed(viewer));
    viewer->hide();
    viewer->show();  // uncovered or restored: the window system asks for a repaint
    const QImage shown = viewer->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shown.size(), viewer->picture().size());
    QCOMPARE(shown, viewer->picture());
  }
};

int runViewerWindowTests(int argc, char** argv) {
  ViewerWindowTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace calveth::testing

#include "viewer_window_test.moc"
