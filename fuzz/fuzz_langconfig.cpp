// SPDX-License-Identifier: GPL-3.0-or-later
// LangConfig.ini: the language chosen, and the translation file and font it leads to.
#include "FuzzInstallation.h"
#include "LanguageConfig.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    Fuzz::setUp();
    Fuzz::writeInput(langConfigPath(), data, size);
    LanguageList languages;
    readLanguageList(languages);
    const int language = readLanguageId();
    translationPath(languages, language);
    fontFor(language);
    return 0;
}
