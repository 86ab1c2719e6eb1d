// The file dialogs and the question box of the desktop front end, modal to the main dialog.
//
// Qt's own file dialog is used on every platform, never the system's: the program keeps
// nothing between runs, and system dialogs keep lists of recent files and folders.
#pragma once

#include <QStringList>
#include <optional>
#include <string>
#include <string_view>

#include "ports/host.h"

class QWidget;

namespace calveth {

// "Name(*.obj)|*.obj||" as Qt name filters: each display name, with its pattern in
// parentheses added when the name does not already end with it.
QStringList qtNameFilters(std::string_view filter);

// Each starts in `folder` (the working folder when it is empty).
std::optional<std::string> chooseOpenFile(QWidget& parent, const FileChoice& choice,
                                          const QString& folder);
// Asks before an existing file is replaced; a name typed without extension gets the default.
std::optional<std::string> chooseSaveFile(QWidget& parent, const FileChoice& choice,
                                          const QString& folder);
// An information box with an empty title and the buttons Yes and No; true for Yes.
bool askYesNo(QWidget& parent, std::string_view question);

}  // namespace calveth
