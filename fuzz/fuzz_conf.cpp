// SPDX-License-Identifier: GPL-3.0-or-later
// A configuration file (.conf) loaded into the working set, as LOAD does, and sent to the
// mouse.
#include "AppDir.h"
#include "FuzzInstallation.h"
#include "ProfileData.h"
#include "ProfileLibrary.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    Fuzz::setUp();
    const QString path = AppDir::path() + QStringLiteral("/input.conf");
    Fuzz::writeInput(path, data, size);
    ProfileSet set;
    resetProfileSet(set);
    QStringList library;
    int refused = 0;
    if (loadConfigFile(library, set, path, &refused) == LibraryDone)
        Fuzz::sendSet(set);
    return 0;
}
