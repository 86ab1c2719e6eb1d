// Helpers of the desktop front end's tests: a tone port that records, and answers to the
// modal dialogs a command opens.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "ports/tone_port.h"
#include "qt/main_dialog.h"

namespace calveth::testing {

struct ToneCall {
  int frequencyHz;
  int durationMs;
  friend bool operator==(const ToneCall&, const ToneCall&) = default;
};

class RecordingTone final : public TonePort {
 public:
  std::vector<ToneCall> calls;
  void sound(int frequencyHz, int durationMs) override {
    calls.push_back({frequencyHz, durationMs});
  }
};

// Answers the next modal window that opens on top of `below` (a file dialog or the question
// box) by calling `answer` with it, once. The answer must close it. A window that does not
// come within kModalWaitMs ends the test program at once with what was awaited: the command
// that would open it may be stuck in the window's own loop, which only ctest's time limit
// would otherwise end, and an answer left armed would answer the next test's window.
inline constexpr qint64 kModalWaitMs = 10000;

inline void answerNextModal(QWidget* below, std::function<void(QWidget*)> answer) {
  auto* timer = new QTimer(qApp);
  auto* waited = new QElapsedTimer;
  waited->start();
  timer->setInterval(5);
  const QString awaited = below != nullptr ? below->windowTitle() : QString();
  QObject::connect(timer, &QTimer::timeout,
                   [timer, waited, awaited, watched = below != nullptr,
                    below = QPointer<QWidget>(below), answer = std::move(answer)] {
                     QWidget* modal = QApplication::activeModalWidget();
                     const bool found = modal != nullptr && modal != below;
                     const bool belowGone = watched && below.isNull();
                     if (!found && waited->elapsed() <= kModalWaitMs && !belowGone) {
                       return;
                     }
                     timer->stop();
                     timer->deleteLater();
                     delete waited;
                     if (!found) {
                       qFatal("answerNextModal: no modal window opened above \"%s\" %s",
                              qPrintable(awaited),
                              belowGone ? "before that window was closed" : "within 10 s");
                     }
                     answer(modal);
                   });
  timer->start();
}

// Accepts the file dialog `modal` with `path`. QFileDialog::selectFile leaves the name field
// alone while the field has the keyboard focus, which it gets once the dialog is raised and
// activated; an answer that came after that would accept the old name, and the dialog would
// then wait on its own "File not found" box. So the field is set directly as well.
void acceptFile(QWidget* modal, const QString& path);

// Answers the file dialog that a click opens with `path`, and then, when `question` holds,
// the question box with Yes (true) or No.
void chooseFileThenAnswer(QWidget* below, QString path, std::optional<bool> question = {});

// The path of a bundled sample file.
inline QString sample(const char* name) {
  return QStringLiteral(CALVETH_SAMPLES_DIR "/") + QString::fromLatin1(name);
}

// Writes `bytes` as the file at `path`; false when it cannot.
bool writeFile(const QString& path, const QByteArray& bytes);

// The main dialog over a fresh store, shown as the program shows it.
struct ShownDialog {
  std::unique_ptr<MeshStore> store;
  std::unique_ptr<MainDialog> dialog;

  // True once the dialog is on the screen.
  bool show(TonePort& tone);
};

// Clicks a button of a control that is known to be one.
inline void click(QWidget* control) { qobject_cast<QAbstractButton*>(control)->click(); }

}  // namespace calveth::testing
