// The main dialog as a user meets it: its layout, the typical run driven by clicks with the
// file dialogs and the question answered, cancels, and the keyboard.
#include <QCheckBox>
#include <QCursor>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <memory>
#include <set>

#include "app/calveth_version.h"
#include "app/dialog_units.h"
#include "gui/gui_support.h"
#include "gui/gui_tests.h"
#include "qt/dialog_font.h"
#include "qt/main_dialog.h"
#include "qt/qt_text.h"
#include "qt/viewer_window.h"
#include "support/run_program.h"

namespace calveth::testing {
namespace {

// Answers a file dialog with `path` after checking what it offers.
void chooseFile(QWidget* modal, const QString& filter, const QString& initialName,
                const QString& path) {
  auto* files = qobject_cast<QFileDialog*>(modal);
  QVERIFY(files != nullptr);
  QCOMPARE(files->nameFilters(), QStringList{filter});
  QCOMPARE(files->defaultSuffix(), QStringLiteral("obj"));
  QVERIFY2(files->selectedFiles().value(0).endsWith(initialName),
           qPrintable(files->selectedFiles().value(0)));
  acceptFile(files, path);
}

void cancel(QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); }

using Enabled = std::set<ControlId>;

const Enabled kAtStart{ControlId::OpenBase, ControlId::OpenMt,     ControlId::Exit,
                       ControlId::Viewer,   ControlId::StatusLine, ControlId::ViewAngleSlider,
                       ControlId::Progress};

// Notes each text the status line showed in a paint.
class PaintedTexts final : public QObject {
 public:
  explicit PaintedTexts(QLineEdit& line) : line_(line) { line.installEventFilter(this); }
  QStringList texts;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      texts << line_.text();
    }
    return false;
  }

 private:
  QLineEdit& line_;
};

Enabled plus(Enabled set, std::initializer_list<ControlId> more) {
  set.insert(more);
  return set;
}

}  // namespace

class MainDialogTest : public QObject {
  Q_OBJECT

  RecordingTone tone_;
  ShownDialog shown_;
  std::unique_ptr<MeshStore>& store_ = shown_.store;
  std::unique_ptr<MainDialog>& dialog_ = shown_.dialog;

  QString status() const {
    return qobject_cast<QLineEdit*>(dialog_->control(ControlId::StatusLine))->text();
  }

  void compareEnabled(const Enabled& expected) {
    for (const ControlTemplate& entry : kDialogTemplate) {
      if (entry.id == 0) {
        continue;
      }
      const auto id = static_cast<ControlId>(entry.id);
      QVERIFY2(dialog_->control(id)->isEnabled() == (expected.count(id) == 1),
               qPrintable(QStringLiteral("control %1").arg(entry.id)));
      QVERIFY2(dialog_->router().isEnabled(id) == (expected.count(id) == 1) ||
                   id == ControlId::StatusLine || id == ControlId::ViewAngleSlider ||
                   id == ControlId::Progress,
               qPrintable(QStringLiteral("router state of %1").arg(entry.id)));
    }
  }

  // The near-symmetric base asks its question, which is answered and checked here.
  void openBase(const QString& path, bool answerYes) {
    answerNextModal(dialog_.get(), [path, answerYes, this](QWidget* modal) {
      answerNextModal(dialog_.get(), [answerYes](QWidget* question) {
        auto* box = qobject_cast<QMessageBox*>(question);
        QVERIFY(box != nullptr);
        QCOMPARE(box->text(),
                 QStringLiteral("Some Points are not symmetrical. Shall I try Auto detection?"));
        // No title text (a blank, so that the window system shows no program name either),
        // and above the always-on-top viewer.
        QVERIFY2(box->windowTitle().trimmed().isEmpty(), qPrintable(box->windowTitle()));
        QVERIFY(box->windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(box->icon(), QMessageBox::Information);
        QCOMPARE(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
        box->button(answerYes ? QMessageBox::Yes : QMessageBox::No)->click();
      });
      chooseFile(modal, QStringLiteral("Base Body Parts(*.obj)"), QStringLiteral("*.obj"), path);
    });
    click(dialog_->control(ControlId::OpenBase));
  }

  void openMt(const QString& path) {
    answerNextModal(dialog_.get(), [path](QWidget* modal) {
      chooseFile(modal, QStringLiteral("Original Body Parts(*.obj)"), QStringLiteral("*.obj"),
                 path);
    });
    click(dialog_->control(ControlId::OpenMt));
  }

 private slots:
  void init() {
    tone_.calls.clear();
    QVERIFY(shown_.show(tone_));
  }

  void cleanup() { dialog_.reset(); }

  void layoutFollowsTheTemplate() {
    QCOMPARE(dialog_->windowTitle(),
             QStringLiteral("CALVETH II                       ver. " CALVETH_VERSION));
    const QString family = QFontInfo(dialog_->font()).family();
    QVERIFY2(family == QStringLiteral("Arial") || family == QStringLiteral("Liberation Sans"),
             qPrintable(family));
    const DialogBaseUnits units = baseUnitsOf(dialog_->font());
    const PixelRect size = toPixels({0, 0, 151, 189}, units);
    QCOMPARE(dialog_->size(), QSize(size.width, size.height));
    QCOMPARE(dialog_->minimumSize(), dialog_->maximumSize());
    const Qt::WindowFlags flags = dialog_->windowFlags();
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint) && !(flags & Qt::WindowMaximizeButtonHint));
    QVERIFY(flags & Qt::WindowCloseButtonHint);

    std::vector<QWidget*> tabOrder;
    for (const ControlTemplate& entry : kDialogTemplate) {
      if (entry.id == 0) {
        continue;
      }
      QWidget* widget = dialog_->control(static_cast<ControlId>(entry.id));
      QVERIFY(widget != nullptr);
      const PixelRect place = toPixels(entry.rect, units);
      QCOMPARE(widget->geometry(), QRect(place.x, place.y, place.width, place.height));
      QCOMPARE(widget->isVisibleTo(dialog_.get()), entry.visible);
      if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        QCOMPARE(button->text(), qtText(entry.caption));
      }
      if (entry.tabStop && entry.visible) {
        tabOrder.push_back(widget);
      }
    }
    compareEnabled(kAtStart);
    // The banner, at its place and its own size, and the icon in both sizes.
    const PixelRect bannerPlace = toPixels({62, 146, 85, 14}, units);
    const auto* banner = dialog_->childAt(bannerPlace.x + 2, bannerPlace.y + 2);
    const auto* label = qobject_cast<const QLabel*>(banner);
    QVERIFY(label != nullptr);
    QCOMPARE(label->pixmap().size(), QSize(128, 24));
    QCOMPARE(label->geometry(), QRect(bannerPlace.x, bannerPlace.y, 128, 24));
    QCOMPARE(dialog_->windowIcon().availableSizes(), (QList<QSize>{{16, 16}, {32, 32}}));
    QVERIFY(qobject_cast<QCheckBox*>(dialog_->control(ControlId::VertexOnly))->isChecked());
    QVERIFY(qobject_cast<QPushButton*>(dialog_->control(ControlId::ReflectedBase))->isFlat());
    auto* slider = qobject_cast<QSlider*>(dialog_->control(ControlId::ViewAngleSlider));
    QCOMPARE(slider->minimum(), 0);
    QCOMPARE(slider->maximum(), 63);
    QCOMPARE(slider->value(), 31);
    QCOMPARE(store_->viewAngle, 0.0);
    QVERIFY(qobject_cast<QLineEdit*>(dialog_->control(ControlId::StatusLine))->isReadOnly());
    QCOMPARE(status(), QString());

    // Tab visits the visible controls in template order, starting from "Open Base".
    QCOMPARE(QApplication::focusWidget(), tabOrder.front());
    std::vector<QWidget*> visited{tabOrder.front()};
    for (std::size_t i = 1; i < tabOrder.size(); ++i) {
      QWidget* next = visited.back()->nextInFocusChain();
      while (next->focusPolicy() == Qt::NoFocus || !next->isVisibleTo(dialog_.get())) {
        next = next->nextInFocusChain();
      }
      visited.push_back(next);
    }
    QVERIFY(visited == tabOrder);
  }

  void typicalRunSavesWhatTheCommandLineSaves() {
    QTemporaryDir folder;
    openBase(sample("head_base_near.obj"), true);
    QVERIFY2(status().startsWith(QStringLiteral("OK:")), qPrintable(status()));
    compareEnabled(kAtStart);
    auto* progress = qobject_cast<QProgressBar*>(dialog_->control(ControlId::Progress));
    QVERIFY(progress->maximum() > 0 && progress->value() > 0);

    openMt(sample("head_smile.obj"));
    QCOMPARE(status(), QStringLiteral("OK: Choose Function (v=3010/3010)"));
    const Enabled matched =
        plus(kAtStart, {ControlId::MirrorRightToLeft, ControlId::MirrorLeftToRight, ControlId::Swap,
                        ControlId::ResetLeft, ControlId::ResetRight, ControlId::MinusDelta,
                        ControlId::PlusDelta, ControlId::Melt, ControlId::VertexOnly});
    compareEnabled(matched);

    click(dialog_->control(ControlId::MirrorLeftToRight));
    QVERIFY2(status().startsWith(QStringLiteral("OK:")), qPrintable(status()));
    compareEnabled(plus(matched, {ControlId::SaveMt}));

    // A name typed without extension gets ".obj".
    const QString typed = folder.filePath(QStringLiteral("smile mirrored"));
    answerNextModal(dialog_.get(), [typed](QWidget* modal) {
      chooseFile(modal, QStringLiteral("New MT file (*.obj)"), QStringLiteral("head_smileMirR.obj"),
                 typed);
    });
    click(dialog_->control(ControlId::SaveMt));
    QCOMPARE(status(), QStringLiteral("OK:New MT save"));
    compareEnabled(plus(matched, {ControlId::SaveMt}));

    const QString saved = typed + QStringLiteral(".obj");
    QFile file(saved);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray guiBytes = file.readAll();
    file.close();
    QVERIFY(QFile::remove(saved));
    const ProgramResult cli = runCliProgram(
        {"mirror-l2r", "--base", sample("head_base_near.obj").toStdString(), "--mt",
         sample("head_smile.obj").toStdString(), "--auto", "yes", "-o", saved.toStdString()});
    QCOMPARE(cli.exitCode, 0);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(guiBytes.startsWith("#"));
    QCOMPARE(guiBytes, file.readAll());
  }

  // A base that asks no question, so no nested event loop paints for the command: the text
  // must be painted while the command runs.
  void processingIsPaintedAtOnce() {
    PaintedTexts painted(*qobject_cast<QLineEdit*>(dialog_->control(ControlId::StatusLine)));
    chooseFileThenAnswer(dialog_.get(), sample("head_base.obj"));
    click(dialog_->control(ControlId::OpenBase));
    QCOMPARE(status(), QStringLiteral("OK: Perfect symmetry V=3010 F=3072"));
    QVERIFY2(painted.texts.contains(QStringLiteral("Processing...")),
             qPrintable(painted.texts.join(u'|')));
  }

  // The last vertex has two exact partners and counts two hits, from 3 to 5 of 4: the bar
  // still ends full, not at 3, where the last position inside its range left it.
  void progressEndsFullWhenHitsExceedTheVertices() {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("duplicates.obj"));
    QVERIFY(writeFile(path, "v -1 0 0\nv -1 0 0\nv 0 1 0\nv 1 0 0\n"));
    chooseFileThenAnswer(dialog_.get(), path, true);
    click(dialog_->control(ControlId::OpenBase));
    QCOMPARE(status(), QStringLiteral("CRITICAL ERR:Same Point HIT"));
    auto* progress = qobject_cast<QProgressBar*>(dialog_->control(ControlId::Progress));
    QCOMPARE(progress->maximum(), 4);
    QCOMPARE(progress->value(), 4);
  }

  void cancelledChoicesChangeNothing() {
    chooseFileThenAnswer(dialog_.get(), sample("head_base.obj"));
    click(dialog_->control(ControlId::OpenBase));
    openMt(sample("head_smile.obj"));
    click(dialog_->control(ControlId::Swap));
    const QString before = status();
    const std::vector<double> work(store_->WorkX.begin(), store_->WorkX.begin() + 3010);
    for (ControlId command : {ControlId::OpenBase, ControlId::OpenMt, ControlId::SaveMt}) {
      std::map<ControlId, bool> enabled;
      for (const auto& entry : kDialogTemplate) {
        if (entry.id != 0) {
          enabled[static_cast<ControlId>(entry.id)] =
              dialog_->control(static_cast<ControlId>(entry.id))->isEnabled();
        }
      }
      answerNextModal(dialog_.get(), cancel);
      click(dialog_->control(command));
      QCOMPARE(status(), before);
      for (const auto& [id, state] : enabled) {
        QCOMPARE(dialog_->control(id)->isEnabled(), state);
      }
      QVERIFY(std::equal(work.begin(), work.end(), store_->WorkX.begin()));
    }
  }

  void replacingAFileIsConfirmed() {
    QTemporaryDir folder;
    const QString target = folder.filePath(QStringLiteral("kept.obj"));
    QVERIFY(writeFile(target, "keep me\n"));
    chooseFileThenAnswer(dialog_.get(), sample("head_base.obj"));
    click(dialog_->control(ControlId::OpenBase));
    openMt(sample("head_smile.obj"));
    click(dialog_->control(ControlId::MirrorRightToLeft));
    bool asked = false;
    answerNextModal(dialog_.get(), [&](QWidget* modal) {
      auto* files = qobject_cast<QFileDialog*>(modal);
      answerNextModal(files, [&](QWidget* question) {
        auto* box = qobject_cast<QMessageBox*>(question);
        QVERIFY(box != nullptr);
        asked = true;
        box->button(QMessageBox::No)->click();
        files->reject();
      });
      acceptFile(files, target);
    });
    const QString before = status();
    click(dialog_->control(ControlId::SaveMt));
    QVERIFY(asked);
    QCOMPARE(status(), before);
    QFile existing(target);
    QVERIFY(existing.open(QIODevice::ReadOnly));
    QCOMPARE(existing.readAll(), QByteArray("keep me\n"));
  }

  void enterAndEscOnlySoundTheTone_data() {
    QTest::addColumn<int>("focused");
    QTest::addColumn<int>("key");
    for (ControlId id : {ControlId::OpenBase, ControlId::OpenMt, ControlId::Exit, ControlId::Viewer,
                         ControlId::StatusLine}) {
      for (int key : {int(Qt::Key_Return), int(Qt::Key_Enter), int(Qt::Key_Escape)}) {
        QTest::addRow("control %d key %x", int(id), key) << int(id) << key;
      }
    }
  }

  void enterAndEscOnlySoundTheTone() {
    QFETCH(int, focused);
    QFETCH(int, key);
    QWidget* control = dialog_->control(static_cast<ControlId>(focused));
    control->setFocus();
    bool opened = false;
    QTest::keyClick(control, static_cast<Qt::Key>(key));
    QApplication::processEvents();
    opened = QApplication::activeModalWidget() != nullptr &&
             QApplication::activeModalWidget() != dialog_.get();
    QVERIFY(!opened);
    QVERIFY(dialog_->isVisible());
    QCOMPARE(dialog_->viewerWindow(), nullptr);
    QCOMPARE(status(), QString());
    QCOMPARE(tone_.calls, (std::vector<ToneCall>{{570, 500}}));
  }

  void opensCentredOnThePointer() {
    QCursor::setPos(QPoint(500, 400));
    MainDialog placed(*store_, tone_);
    placed.show();
    QVERIFY(QTest::qWaitForWindowExposed(&placed));
    const QPoint centre = placed.frameGeometry().center();
    QVERIFY2((centre - QPoint(500, 400)).manhattanLength() <= 2,
             qPrintable(QStringLiteral("%1,%2").arg(centre.x()).arg(centre.y())));
  }

  void mnemonicsPressTheirButtons() {
    bool asked = false;
    answerNextModal(dialog_.get(), [&asked](QWidget* modal) {
      asked = qobject_cast<QFileDialog*>(modal) != nullptr;
      cancel(modal);
    });
    QTest::keyClick(dialog_.get(), Qt::Key_O, Qt::AltModifier);
    QTRY_VERIFY(asked);
    dialog_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(dialog_.get()));
    QTest::keyClick(dialog_.get(), Qt::Key_G, Qt::AltModifier);
    QTRY_VERIFY(dialog_->viewerWindow() != nullptr);
  }

  void closingWays_data() {
    QTest::addColumn<QString>("way");
    QTest::addColumn<int>("result");
    QTest::newRow("F3") << QStringLiteral("F3") << int(QDialog::Accepted);
    QTest::newRow("Alt+X") << QStringLiteral("Alt+X") << int(QDialog::Accepted);
    QTest::newRow("eXit button") << QStringLiteral("exit") << int(QDialog::Accepted);
    QTest::newRow("close box") << QStringLiteral("close") << int(QDialog::Rejected);
  }

  void closingWays() {
    QFETCH(QString, way);
    QFETCH(int, result);
    click(dialog_->control(ControlId::Viewer));
    QVERIFY(dialog_->viewerWindow() != nullptr);
    QSignalSpy finished(dialog_.get(), &QDialog::finished);
    QWidget* focused = dialog_->control(ControlId::OpenMt);
    focused->setFocus();
    if (way == QStringLiteral("F3")) {
      QTest::keyClick(focused, Qt::Key_F3);
    } else if (way == QStringLiteral("Alt+X")) {
      QTest::keyClick(focused, Qt::Key_X, Qt::AltModifier);
    } else if (way == QStringLiteral("exit")) {
      click(dialog_->control(ControlId::Exit));
    } else {
      dialog_->close();
    }
    QTRY_COMPARE(finished.count(), 1);
    QCOMPARE(dialog_->result(), result);
    QVERIFY(!dialog_->isVisible());
    QCOMPARE(dialog_->viewerWindow(), nullptr);  // the viewer goes with the dialog
    QVERIFY(tone_.calls.empty());
  }

  // Warnings go to the mark beside the status line and into the viewer's title; the status
  // line keeps the command's text. A command that did something replaces them, a cancelled
  // one leaves them.
  void warningsShowBesideTheStatusLine() {
    QTemporaryDir folder;
    const QString symmetric = QStringLiteral(
        "v 1 0 0\nv -1 0 0\nv 1 1 0\nv -1 1 0\nv 0 2 0\nv 0 -1 0\nf 1 2 4 3\nf 3 4 5\n");
    const QString warned = folder.filePath(QStringLiteral("warned.obj"));
    const QString clean = folder.filePath(QStringLiteral("clean.obj"));
    QVERIFY(writeFile(warned, (symmetric + QStringLiteral("f 1 2\nf 2 3\n")).toLatin1()));
    QVERIFY(writeFile(clean, symmetric.toLatin1()));
    click(dialog_->control(ControlId::Viewer));
    const QString viewerTitle = QStringLiteral("Wire Flame Viewer");
    struct Step {
      const char* what;
      QString path;  // empty: the file dialog is cancelled
      QString status;
      QStringList warnings;
    };
    const QStringList minErr{QStringLiteral("line 9: F MinERR FNum=2 FType=1 D=f 1 2"),
                             QStringLiteral("line 10: F MinERR FNum=2 FType=1 D=f 2 3"),
                             QStringLiteral("2 face lines were not stored")};
    const Step steps[] = {
        {"warned", warned, QStringLiteral("OK: Perfect symmetry V=6 F=2"), minErr},
        {"cancelled", QString(), QStringLiteral("OK: Perfect symmetry V=6 F=2"), minErr},
        {"clean", clean, QStringLiteral("OK: Perfect symmetry V=6 F=2"), {}},
    };
    for (const Step& step : steps) {
      answerNextModal(dialog_.get(), [path = step.path](QWidget* modal) {
        auto* files = qobject_cast<QFileDialog*>(modal);
        if (path.isEmpty()) {
          files->reject();
        } else {
          acceptFile(files, path);
        }
      });
      click(dialog_->control(ControlId::OpenBase));
      QCOMPARE(status(), step.status);
      QCOMPARE(dialog_->warnings(), step.warnings);
      QCOMPARE(dialog_->warningMark()->isVisible(), !step.warnings.isEmpty());
      QCOMPARE(dialog_->warningMark()->toolTip(), step.warnings.join(u'\n'));
      const QString title = dialog_->viewerWindow()->windowTitle();
      if (step.warnings.isEmpty()) {
        QCOMPARE(title, viewerTitle);
      } else {
        QVERIFY2(title.startsWith(viewerTitle + QStringLiteral(" - warning: line 9: F MinERR")) &&
                     title.endsWith(QStringLiteral("(2 more)")),
                 qPrintable(title));
      }
    }
    // A viewer opened later shows them too.
    click(dialog_->control(ControlId::Viewer));
    answerNextModal(dialog_.get(), [warned](QWidget* modal) { acceptFile(modal, warned); });
    click(dialog_->control(ControlId::OpenBase));
    click(dialog_->control(ControlId::Viewer));
    QVERIFY(dialog_->viewerWindow()->windowTitle().contains(
        QStringLiteral("warning: line 9: F MinERR")));
  }

  // Each file dialog starts in the folder of the file last chosen in any of them; the save
  // keeps its proposed name.
  void fileDialogsStartInTheLastChosenFolder() {
    QTemporaryDir other;
    const QString samples = QFileInfo(sample("head_base.obj")).absolutePath();
    QStringList folders;
    QString proposed;
    const auto noteFolder = [&folders, &proposed](QWidget* modal) {
      auto* files = qobject_cast<QFileDialog*>(modal);
      folders << files->directory().absolutePath();
      proposed = QFileInfo(files->selectedFiles().value(0)).fileName();
    };
    answerNextModal(dialog_.get(), [&](QWidget* modal) {
      noteFolder(modal);
      acceptFile(modal, sample("head_base.obj"));
    });
    click(dialog_->control(ControlId::OpenBase));
    answerNextModal(dialog_.get(), [&](QWidget* modal) {
      noteFolder(modal);
      acceptFile(modal, sample("head_smile.obj"));
    });
    click(dialog_->control(ControlId::OpenMt));
    click(dialog_->control(ControlId::MirrorLeftToRight));
    const QString saved = QDir(other.path()).filePath(QStringLiteral("saved.obj"));
    answerNextModal(dialog_.get(), [&](QWidget* modal) {
      noteFolder(modal);
      QCOMPARE(proposed, QStringLiteral("head_smileMirR.obj"));
      acceptFile(modal, saved);
    });
    click(dialog_->control(ControlId::SaveMt));
    QCOMPARE(status(), QStringLiteral("OK:New MT save"));
    answerNextModal(dialog_.get(), [&](QWidget* modal) {
      noteFolder(modal);
      cancel(modal);
    });
    click(dialog_->control(ControlId::OpenMt));
    QCOMPARE(folders.size(), 4);
    QCOMPARE(folders.mid(1),
             (QStringList{samples, samples, QFileInfo(other.path()).absoluteFilePath()}));
  }
};

int runMainDialogTests(int argc, char** argv) {
  MainDialogTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace calveth::testing

#include "main_dialog_test.moc"
