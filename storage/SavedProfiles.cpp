// SPDX-License-Identifier: GPL-3.0-or-later
#include "SavedProfiles.h"

#include "AppConfig.h"
#include "IniFile.h"
#include "ProfileData.h"
#include "ProfileFiles.h"
#include "ProfileLibrary.h"

void loadSavedProfiles(ProfileSet &set) {
    if (isSafeFileName(currentProductName())) {
        QString names[kProfileCount];
        bool changed = false;
        const IniFile config(configIniPath());
        for (int i = 0; i < kProfileCount; ++i) {
            names[i] = config.value(QStringLiteral("Config/Profile%1").arg(i + 1)).toString();
            if (!isSafeFileName(names[i])) {
                names[i] = QStringLiteral("Profile %1").arg(i + 1);
                changed = true;
            }
        }
        // Config.ini is written only when a name had to be given.
        if (changed) {
            updateIniFile(configIniPath(), [&](IniFile &ini) {
                ini.setValue(QStringLiteral("Config/ProfileID"),
                             ini.value(QStringLiteral("Config/ProfileID"), 0).toInt());
                for (int i = 0; i < kProfileCount; ++i)
                    ini.setValue(QStringLiteral("Config/Profile%1").arg(i + 1), names[i]);
            });
        }
        ProfileData fallback;
        makeDefaultProfile(fallback);
        for (const QString &name : names) {
            fallback.ProfileName = name;
            ensureProfileFile(name, fallback);
        }
    }
    loadProfileSet(set);
    for (int i = 0; i < kProfileCount; ++i)
        set.profiles[i].ProfileName = set.profileNames[i];
}
