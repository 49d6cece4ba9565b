// SPDX-License-Identifier: GPL-3.0-or-later
#include "SavedProfiles.h"

#include "AppConfig.h"
#include "IniFile.h"
#include "ProfileData.h"
#include "ProfileFiles.h"
#include "ProfileLibrary.h"

#include <QFileInfo>

#include <algorithm>

void loadSavedProfiles(ProfileSet &set) {
    QString names[kProfileCount];
    const bool ownFolder = isSafeFileName(currentProductName());
    if (ownFolder) {
        bool changed = false;
        const IniFile config(configIniPath());
        for (int i = 0; i < kProfileCount; ++i)
            names[i] = config.value(QStringLiteral("Config/Profile%1").arg(i + 1)).toString();
        for (int i = 0; i < kProfileCount; ++i) {
            if (isSafeFileName(names[i]))
                continue;
            // The slot's default name, or another no slot holds: two slots on one file
            // would save only one of them.
            const auto held = [&names](const QString &name) {
                return std::find(std::begin(names), std::end(names), name) != std::end(names);
            };
            QString name = QStringLiteral("Profile %1").arg(i + 1);
            for (int n = 1; held(name); ++n)
                name = QStringLiteral("Profile %1").arg(n);
            names[i] = name;
            changed = true;
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
    for (int i = 0; i < kProfileCount; ++i) {
        // A disk that took none of the above (full, read-only) still gives each slot its
        // name and the model's defaults, never a profile of zeros that Apply would send.
        if (ownFolder && set.profileNames[i] != names[i]) {
            set.profileNames[i] = names[i];
            loadProfileByName(set.profiles[i], names[i]);
        }
        if (ownFolder && !QFileInfo(profileFilePath(names[i])).isFile())
            makeDefaultProfile(set.profiles[i]);
        set.profiles[i].ProfileName = set.profileNames[i];
    }
}
