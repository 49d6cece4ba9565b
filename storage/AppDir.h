#pragma once
// The application directory: every file the program reads or writes lies under it.

#include <QString>

namespace AppDir {
// The directory of the executable, looked up once per process; or the directory given
// to setPath (tests point it at a temporary directory).
QString path();
void setPath(const QString &dir);
} // namespace AppDir
