// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The font of the user's language: family and size from Config.ini "FONT_LIST" for the
// current language number, the size taken as pixels times the display scale factor.
// Lookups are cheap: the INI file is read again only when it or the language changed.

#include "LanguageConfig.h"

#include <QFont>

// Family and unscaled size configured for the current language.
FontChoice currentLanguageFontChoice();

// The language's family at its configured size times the scale factor. A missing size
// leaves the pixel size of a default QFont.
QFont languageFont();
// The language's family at designPixels times the scale factor.
QFont languageFont(int designPixels, bool bold = false);
