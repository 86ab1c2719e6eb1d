// The scenario table (tests/scenarios/dialog_runs.txt) run against the real Qt dialog: its
// buttons clicked, its file dialogs and question answered, its keys typed, its viewer window
// moved and closed.
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <optional>

#include "gui/gui_support.h"
#include "gui/gui_tests.h"
#include "qt/main_dialog.h"
#include "qt/viewer_window.h"
#include "support/run_program.h"
#include "support/scenario_table.h"
#include "support/temp_dir.h"

namespace calveth::testing {

class ScenarioTest : public QObject {
  Q_OBJECT

  RecordingTone tone_;
  ShownDialog shown_;
  QTemporaryDir folder_;
  std::optional<bool> answer_;
  QString base_;
  QString mt_;
  QString saved_;

  MainDialog& dialog() { return *shown_.dialog; }

  static QString fileOf(const std::string& name) {
    const QString scenario = QStringLiteral(CALVETH_SCENARIO_DIR "/files/") + name.c_str();
    return QFile::exists(scenario) ? scenario : sample(name.c_str());
  }

  // One step; false with `why` set when it cannot be taken.
  bool step(const ScenarioStep& step, QString& why) {
    const std::string& verb = step.action;
    const auto named = step.words.empty() ? std::nullopt : scenarioControl(step.words[0]);
    if (!named && (verb == "open" || verb == "cancel" || verb == "press")) {
      why = QStringLiteral("no control named in the step");
      return false;
    }
    const ControlId control = named.value_or(ControlId::OpenBase);
    if (verb == "open") {
      const QString path = fileOf(step.words.at(1));
      chooseFileThenAnswer(&dialog(), path, answer_);
      answer_.reset();
      click(dialog().control(control));
      const SessionState& state = dialog().router().session();
      if (control == ControlId::OpenBase && state.base != BaseState::Refused) {
        base_ = path;
      }
      if (control == ControlId::OpenMt &&
          (state.mt == MtState::Full || state.mt == MtState::Half)) {
        mt_ = path;
      }
    } else if (verb == "cancel") {
      answerNextModal(&dialog(), [](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
      click(dialog().control(control));
    } else if (verb == "press") {
      click(dialog().control(control));
    } else if (verb == "answer") {
      answer_ = step.words.at(0) == "yes";
    } else if (verb == "save") {
      saved_ = folder_.filePath(QString::fromStdString(step.words.at(0)));
      answerNextModal(&dialog(), [path = saved_](QWidget* modal) { acceptFile(modal, path); });
      click(dialog().control(ControlId::SaveMt));
    } else if (verb == "key") {
      const std::string& name = step.words.at(0);
      QWidget* focused = dialog().control(ControlId::OpenBase);
      focused->setFocus();
      if (name == "Enter" || name == "Esc" || name == "F3") {
        QTest::keyClick(focused, name == "Enter" ? Qt::Key_Return
                                 : name == "Esc" ? Qt::Key_Escape
                                                 : Qt::Key_F3);
      } else if (name.starts_with("Alt+")) {
        QTest::keyClick(focused, static_cast<Qt::Key>(Qt::Key_A + (name[4] | 0x20) - 'a'),
                        Qt::AltModifier);
      } else {
        QTest::keyClick(focused, static_cast<Qt::Key>(Qt::Key_A + name[0] - 'a'));
      }
      QApplication::processEvents();
    } else if (verb == "viewer-move") {
      dialog().viewerWindow()->move(std::stoi(step.words.at(0)), std::stoi(step.words.at(1)));
    } else if (verb == "viewer-close") {
      dialog().viewerWindow()->close();
      QApplication::processEvents();
    } else {
      why = QStringLiteral("unknown step ") + verb.c_str();
      return false;
    }
    return true;
  }

  QString status() {
    return qobject_cast<QLineEdit*>(dialog().control(ControlId::StatusLine))->text();
  }

  // What the dialog shows for the check, to compare with the table's value.
  QString shown(const ScenarioCheck& check) {
    const std::string& what = check.what;
    if (what == "status") {
      return status();
    }
    if (what == "enabled") {
      return QString::fromStdString(
          controlNames([&](ControlId c) { return dialog().control(c)->isEnabled(); }));
    }
    if (what == "checked") {
      return QString::fromStdString(controlNames(
          [&](ControlId c) {
            auto* button = qobject_cast<QAbstractButton*>(dialog().control(c));
            return button != nullptr && button->isChecked();
          },
          true));
    }
    if (what == "warnings") {
      const int count = static_cast<int>(dialog().warnings().size());
      return dialog().warningMark()->isVisible() == (count > 0) ? QString::number(count)
                                                                : QStringLiteral("mark?");
    }
    if (what == "viewer") {
      ViewerWindow* viewer = dialog().viewerWindow();
      return viewer == nullptr ? QStringLiteral("closed")
                               : QStringLiteral("open %1 %2")
                                     .arg(viewer->frameGeometry().x())
                                     .arg(viewer->frameGeometry().y());
    }
    if (what == "ended") {
      const bool ended = QTest::qWaitFor([this] { return !dialog().isVisible(); }, 5000);
      return ended ? QString() : QStringLiteral("the dialog still open after 5 s");
    }
    if (what == "saved") {
      const std::vector<std::string> words = wordsOf(check.value);
      const std::string expected = folder_.filePath(QStringLiteral("cli.obj")).toStdString();
      std::vector<std::string> arguments{
          words.at(0), "--base", base_.toStdString(), "--mt", mt_.toStdString(), "-o", expected};
      if (words.size() > 1 && words[1] == "faces") {
        arguments.push_back("--with-faces");
      }
      runCliProgram(arguments);
      const bool same =
          withoutPathLine(readFile(saved_.toStdString())) == withoutPathLine(readFile(expected));
      return same ? QString::fromStdString(check.value) : QStringLiteral("a different file");
    }
    if (what == "picture") {
      return QString::number(differingPixels(check.value)) + QStringLiteral(" pixels differ");
    }
    return QString::fromStdString(check.value);  // "not": nothing to compare
  }

  // The viewer's pixels against calveth-cli render's PNG, away from the text rows.
  int differingPixels(const std::string& what) {
    const std::string png = folder_.filePath(QStringLiteral("render.png")).toStdString();
    std::vector<std::string> arguments{"render", base_.toStdString(), "-o", png};
    if (what != "base") {
      arguments.insert(arguments.end(), {"--mt", mt_.toStdString(), "--op", what});
    }
    runCliProgram(arguments);
    const QImage rendered(QString::fromStdString(png));
    if (dialog().viewerWindow() == nullptr || rendered.isNull()) {
      return -1;
    }
    const QImage& picture = dialog().viewerWindow()->picture();
    int differing = 0;
    for (int y = 14; y < 380; ++y) {
      for (int x = 0; x < rendered.width(); ++x) {
        differing +=
            (picture.pixel(x, y) | 0xff000000u) == (rendered.pixel(x, y) | 0xff000000u) ? 0 : 1;
      }
    }
    return differing;
  }

  static QString expected(const ScenarioCheck& check) {
    if (check.what == "enabled" || check.what == "checked") {
      return QString::fromStdString(orderedNames(check.value));
    }
    if (check.what == "picture") {
      return QStringLiteral("0 pixels differ");
    }
    if (check.what == "ended") {
      return QString();
    }
    return QString::fromStdString(check.value);
  }

 private slots:
  void everyScenarioOfTheTable() {
    const std::vector<Scenario> scenarios = readScenarios(CALVETH_SCENARIO_DIR "/dialog_runs.txt");
    QVERIFY(scenarios.size() >= 8);
    for (const Scenario& scenario : scenarios) {
      QVERIFY(shown_.show(tone_));
      answer_.reset();
      for (const ScenarioStep& step : scenario.steps) {
        const QString where =
            QStringLiteral("%1, line %2").arg(scenario.name.c_str()).arg(step.line);
        if (step.skippedOn("qt")) {
          continue;
        }
        QString why;
        QVERIFY2(this->step(step, why), qPrintable(where + QStringLiteral(": ") + why));
        for (const ScenarioCheck& check : step.checks) {
          const QString got = shown(check);
          const QString want = expected(check);
          QVERIFY2(
              got == want,
              qPrintable(QStringLiteral("%1, check at line %2 (%3): shown \"%4\", expected \"%5\"")
                             .arg(where)
                             .arg(check.line)
                             .arg(check.what.c_str(), got, want)));
        }
      }
      shown_.dialog.reset();
    }
  }
};

int runScenarioTests(int argc, char** argv) {
  ScenarioTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace calveth::testing

#include "scenario_test.moc"
