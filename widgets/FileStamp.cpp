// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileStamp.h"

#include <QFile>
#include <sys/stat.h>

FileStamp FileStamp::of(const QString &path) {
    FileStamp s;
    s.path = path;
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return s;
    s.exists = true;
    s.inode = static_cast<unsigned long long>(st.st_ino);
    s.size = static_cast<long long>(st.st_size);
    s.mtimeSec = static_cast<long long>(st.st_mtim.tv_sec);
    s.mtimeNsec = static_cast<long long>(st.st_mtim.tv_nsec);
    s.ctimeSec = static_cast<long long>(st.st_ctim.tv_sec);
    s.ctimeNsec = static_cast<long long>(st.st_ctim.tv_nsec);
    return s;
}

bool FileStamp::operator==(const FileStamp &o) const {
    return path == o.path && exists == o.exists && inode == o.inode && size == o.size &&
           mtimeSec == o.mtimeSec && mtimeNsec == o.mtimeNsec && ctimeSec == o.ctimeSec &&
           ctimeNsec == o.ctimeNsec;
}
