// SPDX-License-Identifier: GPL-3.0-or-later
#include "Resources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE declares the registration function of the library's resources; it must be
// used outside any namespace.
void initMousecfgResources() {
    Q_INIT_RESOURCE(mousecfg_resources);
}
