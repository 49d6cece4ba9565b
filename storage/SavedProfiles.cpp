#include "SavedProfiles.h"

#include "AppConfig.h"
#include "ProfileData.h"
#include "ProfileFiles.h"
#include "ProfileLibrary.h"

#include <QSettings>

void loadSavedProfiles(ProfileSet &set) {
    if (isSafeFileName(currentProductName())) {
        QSettings ini(configIniPath(), QSettings::IniFormat);
        QString names[kProfileCount];
        bool changed = false;
        for (int i = 0; i < kProfileCount; ++i) {
            names[i] = ini.value(QStringLiteral("Config/Profile%1").arg(i + 1)).toString();
            if (!isSafeFileName(names[i])) {
                names[i] = QStringLiteral("Profile %1").arg(i + 1);
                changed = true;
            }
        }
        if (changed) {
            ini.setValue(QStringLiteral("Config/ProfileID"),
                         ini.value(QStringLiteral("Config/ProfileID"), 0).toInt());
            for (int i = 0; i < kProfileCount; ++i)
                ini.setValue(QStringLiteral("Config/Profile%1").arg(i + 1), names[i]);
        }
        ini.sync();
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
