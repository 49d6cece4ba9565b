// SPDX-License-Identifier: GPL-3.0-or-later
#include "LanguageFont.h"

#include "AppConfig.h"
#include "FileStamp.h"
#include "KeyTable.h"
#include "Scale.h"

#include <QMutex>
#include <QMutexLocker>

namespace {

QMutex g_mutex;
FileStamp g_stamp;
bool g_valid = false;
int g_language = 0;
FontChoice g_choice;

QFont fontOf(const QString &family, int pixels) {
    QFont font;
    if (!family.isEmpty())
        font.setFamily(family);
    if (pixels > 0)
        font.setPixelSize(pixels);
    return font;
}

} // namespace

FontChoice currentLanguageFontChoice() {
    const int language = currentLanguage();
    QMutexLocker lock(&g_mutex);
    const FileStamp now = FileStamp::of(configIniPath());
    if (!g_valid || language != g_language || now != g_stamp) {
        g_choice = fontFor(language);
        g_language = language;
        g_stamp = now;
        g_valid = true;
    }
    return g_choice;
}

QFont languageFont() {
    const FontChoice choice = currentLanguageFontChoice();
    const double pixels = static_cast<double>(choice.size);
    return fontOf(choice.family, choice.size > 0 ? scaled(pixels, scaleFactor()) : 0);
}

QFont languageFont(int designPixels, bool bold) {
    QFont font = fontOf(currentLanguageFontChoice().family, scaled(designPixels));
    font.setBold(bold);
    return font;
}
