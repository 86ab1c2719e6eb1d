#include "qt/run_only_settings.h"

#include <QSettings>

namespace calveth {

RunOnlySettings::RunOnlySettings() {
  // Both formats: on Linux and the BSDs the native one is a settings file too, and it is the
  // one the file dialog writes. (Where the native format is a system database, Windows and
  // macOS, its place cannot be moved.)
  for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat}) {
    for (QSettings::Scope scope : {QSettings::UserScope, QSettings::SystemScope}) {
      QSettings::setPath(format, scope, folder_.path());
    }
  }
}

}  // namespace calveth
