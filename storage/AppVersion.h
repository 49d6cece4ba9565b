// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's version, one for the window, the command line, the on-screen display, the
// man page and the software centre's release list: the build's project version.

#include <QString>

QString appVersion();
