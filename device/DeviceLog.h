// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The device layer's log: off below warnings unless enabled, e.g. with
// QT_LOGGING_RULES="mousecfg.device.debug=true"; the step-by-step trace of each transfer
// has its own category, "mousecfg.device.trace".

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcDevice)
Q_DECLARE_LOGGING_CATEGORY(lcTransferTrace)
