#include "AppVersion.h"

QString appVersion() {
    return QStringLiteral(MOUSECFG_VERSION);
}
