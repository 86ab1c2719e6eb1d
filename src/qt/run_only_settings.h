// The program keeps nothing between runs. Qt's file dialog, though, records its last folder
// and history in the user's settings when it closes; those settings are sent to a folder of
// the run's own, removed when the run ends. Create one before the first file dialog opens
// and keep it for the whole run.
#pragma once

#include <QTemporaryDir>

namespace calveth {

class RunOnlySettings {
 public:
  RunOnlySettings();
  RunOnlySettings(const RunOnlySettings&) = delete;
  RunOnlySettings& operator=(const RunOnlySettings&) = delete;

 private:
  QTemporaryDir folder_;
};

}  // namespace calveth
