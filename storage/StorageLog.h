// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The storage layer's log: files that could not be written, sets of writes finished at start.
// Debug messages are off unless the logging rules switch them on.

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcStorage)
