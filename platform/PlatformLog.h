// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The platform layer's logging category, "mousecfg.platform" (defined in OsdChannel.cpp).

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcPlatform)
