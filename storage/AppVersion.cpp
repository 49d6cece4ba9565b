// SPDX-License-Identifier: GPL-3.0-or-later
#include "AppVersion.h"

QString appVersion() {
    return QStringLiteral(MOUSECFG_VERSION);
}
