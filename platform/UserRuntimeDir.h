// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The user's own runtime folder (XDG_RUNTIME_DIR): what must not be shared with the other
// users of the machine lives there, such as the one-copy lock and the OSD's socket.

#include <QString>

// The folder; empty when the user has none that is theirs alone. Without XDG_RUNTIME_DIR, or
// with one that names no folder of the user's (left from another user's session by su), the
// login session's folder when there is one, as Qt's own fallback would differ from the
// session's.
QString userRuntimeDir();
// ROOT/UID when it is a folder (not a link) of this user with no access for others; empty
// otherwise. ROOT is where the login manager makes the users' runtime folders.
QString loginRuntimeDir(const QString &root);
// Without a login session either, Qt's own fallback, TEMP/runtime-USER, made and checked as Qt
// does (a folder of the user's, not a link, mode 0700), without the warning Qt prints at each
// look: a command line run from cron or a service prints nothing. Empty when it cannot be had.
QString tempRuntimeDir(const QString &tempRoot);
// Without a usable XDG_RUNTIME_DIR, sets it to that folder, before a Qt application exists:
// Qt's own parts then use the same folder as the program, and print nothing about its
// absence. The programs this one starts inherit it.
void exportUserRuntimeDir();
// A file of that folder named by free text: a '/' or '\' in the name is replaced, so that
// no name makes a path of its own. Empty without a runtime folder: nothing is then locked or
// listened on.
QString userRuntimeFile(const QString &name);
// True when the other end of a connected local socket runs as this user.
bool peerIsThisUser(qintptr socketDescriptor);
