// SPDX-License-Identifier: GPL-3.0-or-later
// A profile file (.prof) of the library, read as a slot's profile and sent to the mouse.
#include "FuzzInstallation.h"
#include "ProfileData.h"
#include "ProfileFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    Fuzz::setUp();
    const QString name = QStringLiteral("Fuzz");
    Fuzz::writeInput(profileFilePath(name), data, size);
    ProfileSet set;
    resetProfileSet(set);
    loadProfileByName(set.profiles[2], name);
    set.profileNames[2] = name;
    set.ProfileID = 2;
    const ProfileSet applied;
    diffProfileSets(set, applied);
    Fuzz::sendSet(set);
    return 0;
}
