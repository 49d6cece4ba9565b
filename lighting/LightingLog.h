// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The lighting page: a log off below warnings unless enabled, e.g. with
// QT_LOGGING_RULES="mousecfg.lighting.debug=true".

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcLighting)
