// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window's log: off below warnings unless enabled, e.g. with
// QT_LOGGING_RULES="mousecfg.app.debug=true".

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcApp)
