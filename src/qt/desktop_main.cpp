// The desktop program: one application object, the main dialog run until it ends, and the
// program ends with it (the viewer window closes with the dialog).
#include <QApplication>
#include <memory>

#include "qt/main_dialog.h"
#include "qt/run_only_settings.h"
#include "qt/system_tone.h"
#include "store/mesh_store.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("calveth"));
  const calveth::RunOnlySettings runOnly;
  // Several megabytes of fixed arrays: on the heap, not the stack.
  const auto store = std::make_unique<calveth::MeshStore>();
  const auto tone = calveth::makeSystemTone();
  {
    calveth::MainDialog dialog(*store, *tone);
    dialog.exec();
  }
  return 0;
}
