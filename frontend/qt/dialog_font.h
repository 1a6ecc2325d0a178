// The dialog font: the template's face and size, with the Japanese faces
// installed on Linux (IPA fonts, found through fontconfig) as fallbacks.
#pragma once

#include <QFont>
#include <QStringList>

#include "frontend/dialog_template.h"

namespace kelvane::frontend::qt {

// The families asked for, in order: the template's face, its Latin name, then
// the proportional and fixed IPA Gothic faces.
QStringList DialogFontFamilies();

QFont DialogFont();

// The dialog base units of `font` on the screen it is used on.
DialogBaseUnits BaseUnitsOf(const QFont& font);

}  // namespace kelvane::frontend::qt
