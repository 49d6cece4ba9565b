// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The macro page: a log off below warnings unless enabled, e.g. with
// QT_LOGGING_RULES="mousecfg.macro.debug=true".

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcMacro)
