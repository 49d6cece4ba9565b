// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The button page and its dialogs: a log off below warnings unless enabled, e.g. with
// QT_LOGGING_RULES="mousecfg.buttons.debug=true".

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcButtons)
