// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The application directory: where the installation's read-only files lie (model
// descriptor, skin, translations, the shipped Configs), and where the program keeps its
// writable Configs.
//
// Two layouts are known. In the build tree (or any folder that holds the program with its
// data beside it) everything lies in the executable's directory, Configs included, as long
// as that directory is writable. An installed program (bin/mousecfg with its data under
// share/mousecfg of the same prefix) reads its data there and keeps Configs in the user's
// configuration folder, filled from the shipped copy (seedConfigDir in AppConfig.h).

#include <QString>

namespace AppDir {
// The directory of the installation's data, looked up once per process from the
// executable's place; or the directory given to setPath.
QString path();
// Points the process at a directory of data (tests use a temporary one). installed: the
// directory is an installation's read-only data folder, so Configs lives in the user's
// configuration folder whatever the directory's permissions.
void setPath(const QString &dir, bool installed = false);
// True when the data was found in an installation's share folder.
bool isInstalled();
// The folder of the writable state: <path>/Configs, or the user's configuration folder
// ($XDG_CONFIG_HOME/mousecfg) for an installed program or a read-only directory.
QString configPath();
// A helper program such as the OSD: beside the executable, or in the installation's
// folder of helper programs.
QString programPath(const QString &name);
// The udev rule that gives the logged-in user access to the mouse: the installed one, or
// the one the build left in the application directory.
QString udevRulePath();
} // namespace AppDir
