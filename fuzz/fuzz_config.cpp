// SPDX-License-Identifier: GPL-3.0-or-later
// Config.ini as start-up reads it: the profile set, the slots' profile files, the model,
// battery, colour, sensor and macro-list keys and the language list; then the set is sent.
#include "AppConfig.h"
#include "FuzzInstallation.h"
#include "LanguageConfig.h"
#include "ProfileData.h"
#include "ProfileFiles.h"
#include "ProfileLibrary.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    Fuzz::setUp();
    Fuzz::writeInput(configIniPath(), data, size);
    ProfileSet set;
    loadProfileSet(set);
    readProfileLibrary();
    readDiffFlag();
    modelText();
    batteryLevel();
    batteryFullValue();
    accentColourId();
    ledCodeVariant();
    modelListName();
    for (int i = 0; i < kMacroListSize; ++i)
        macroListEntry(i);
    macroCount();
    LanguageList languages;
    readLanguageList(languages);
    for (int i = -1; i <= kMaxLanguages; ++i) {
        translationPath(languages, i);
        fontFor(i);
    }
    Fuzz::sendSet(set);
    return 0;
}
