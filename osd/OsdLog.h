// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The OSD program: a log off below warnings unless enabled, e.g. with --verbose or
// QT_LOGGING_RULES="mousecfg.osd.debug=true".

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcOsd)
