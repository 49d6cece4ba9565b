// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The DPI, report-rate and sensor pages: a log off below warnings unless enabled, e.g. with
// QT_LOGGING_RULES="mousecfg.performance.debug=true".

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcPerformance)
