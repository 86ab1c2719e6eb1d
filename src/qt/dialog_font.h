// The main dialog's font and the dialog units it gives.
#pragma once

#include <QFont>

#include "app/dialog_units.h"

namespace calveth {

// "Arial" at the dialog's point size; where Arial is missing, the system's font matching
// takes a font with the same metrics (Liberation Sans on Debian with fonts-liberation2).
QFont dialogFont();

// The average character width and the character height of the font, as dialog units are
// measured.
DialogBaseUnits baseUnitsOf(const QFont& font);

}  // namespace calveth
