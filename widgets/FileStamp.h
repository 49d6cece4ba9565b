// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Identity of a file's current content as far as the file system tells it: path, inode,
// size and change times. Used to keep values read from Config.ini until the file changes,
// so widgets can look them up on every paint without parsing the INI text each time.

#include <QString>

struct FileStamp {
    QString path;
    bool exists = false;
    unsigned long long inode = 0;
    long long size = 0;
    long long mtimeSec = 0;
    long long mtimeNsec = 0;
    long long ctimeSec = 0;
    long long ctimeNsec = 0;

    static FileStamp of(const QString &path);
    bool operator==(const FileStamp &o) const;
    bool operator!=(const FileStamp &o) const { return !(*this == o); }
};
