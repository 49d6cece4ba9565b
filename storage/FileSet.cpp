// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileSet.h"

#include "IniFile.h"
#include "StorageLog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <set>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// Each target's lock, taken in the order given.
class FileLocks {
public:
    bool take(const QString &path) {
        m_locks.push_back(std::make_unique<FileWriteLock>(path, true));
        return m_locks.back()->held();
    }

private:
    std::vector<std::unique_ptr<FileWriteLock>> m_locks;
};

// The file's bytes; false when there is no file. unreadable tells a file that is there but
// could not be read.
bool readWhole(const QString &path, QByteArray &bytes, bool *unreadable = nullptr) {
    QFile file(path);
    const bool opened = file.open(QIODevice::ReadOnly);
    if (opened)
        bytes = file.readAll();
    if (unreadable)
        *unreadable = file.error() != QFileDevice::NoError &&
                      (opened || file.error() != QFileDevice::OpenError || QFileInfo::exists(path));
    return opened;
}

// Makes the names made or renamed in the folder last through a power cut.
void syncFolder(const QString &folder) {
    const int fd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

void syncFoldersOf(const QStringList &paths) {
    std::set<QString> folders;
    for (const QString &path : paths)
        folders.insert(QFileInfo(path).absolutePath());
    for (const QString &folder : folders)
        syncFolder(folder);
}

// One file of the set: its temporary file and its target.
struct Rename {
    QString from;
    QString to;
};

// The journal: {"renames":[[temporary, target], ...]}, the paths relative to its folder, or
// absolute for a file a link leads to outside it.
QByteArray journalText(const QString &journal, const std::vector<Rename> &renames) {
    const QDir folder = QFileInfo(journal).absoluteDir();
    const auto named = [&folder](const QString &path) {
        const QString relative = folder.relativeFilePath(path);
        return relative.startsWith(QLatin1String("../")) ? QFileInfo(path).absoluteFilePath()
                                                         : relative;
    };
    QJsonArray list;
    for (const Rename &r : renames)
        list.append(QJsonArray{named(r.from), named(r.to)});
    return QJsonDocument(QJsonObject{{QStringLiteral("renames"), list}}).toJson();
}

// The renames of a journal; false for a damaged one. Only a temporary file's rename onto its
// own target is taken: inside the journal's folder, or named by its whole path.
bool readJournal(const QString &journal, const QByteArray &text, std::vector<Rename> &renames) {
    const QDir folder = QFileInfo(journal).absoluteDir();
    const QJsonValue list = QJsonDocument::fromJson(text).object().value(QStringLiteral("renames"));
    if (!list.isArray())
        return false;
    for (const QJsonValue &entry : list.toArray()) {
        const QString from = entry.toArray().at(0).toString();
        const QString to = entry.toArray().at(1).toString();
        const QString clean = QDir::cleanPath(to);
        if (to.isEmpty() || clean != to || clean.startsWith(QLatin1String("../")) ||
            clean == QLatin1String("..") || !isTemporaryOf(from, to))
            return false;
        renames.push_back(Rename{folder.filePath(from), folder.filePath(to)});
    }
    return true;
}

// Renames each temporary file over its target (one renamed already is gone), then removes the
// journal. The count of files renamed goes to renamed. False when a rename failed: the journal
// then stays for the next start.
bool finishRenames(const QString &journal, const std::vector<Rename> &renames, int *renamed) {
    bool ok = true;
    QStringList targets;
    for (const Rename &r : renames) {
        targets << r.to;
        if (::rename(QFile::encodeName(r.from).constData(), QFile::encodeName(r.to).constData()) ==
            0) {
            if (renamed)
                ++*renamed;
        } else if (errno != ENOENT) {
            qCWarning(lcStorage, "Could not replace %s", qPrintable(r.to));
            ok = false;
        }
    }
    syncFoldersOf(targets);
    if (ok)
        QFile::remove(journal);
    return ok;
}

bool writeJournalled(const QString &journal, std::vector<Rename> &renames,
                     const std::vector<QByteArray> &contents) {
    QStringList paths;
    bool ok = true;
    for (size_t i = 0; i < renames.size() && ok; ++i) {
        renames[i].from = writeTemporary(renames[i].to, contents[i]);
        ok = !renames[i].from.isEmpty();
        paths << renames[i].from;
    }
    if (ok) {
        // The temporary files' names last before the journal that names them appears.
        syncFoldersOf(paths);
        ok = writeAtomically(journal, journalText(journal, renames));
    }
    if (!ok) {
        for (const Rename &r : renames) {
            if (!r.from.isEmpty())
                QFile::remove(r.from);
        }
        return false;
    }
    // The set counts as written from here: a kill from now on is finished by the next start.
    syncFolder(QFileInfo(journal).absolutePath());
    return finishRenames(journal, renames, nullptr);
}
} // namespace

FileSet::FileSet(const QString &journalPath) : m_journal(journalPath) {}

void FileSet::replace(const QString &path, const QByteArray &content) {
    Change &c = m_changes[QFileInfo(path).absoluteFilePath()];
    c.replaced = true;
    c.content = content;
    c.edits.clear();
}

void FileSet::update(const QString &path, const std::function<void(IniFile &)> &change) {
    m_changes[QFileInfo(path).absoluteFilePath()].edits.push_back(change);
}

void FileSet::afterCommit(const std::function<void()> &done) {
    m_done.push_back(done);
}

bool FileSet::contains(const QString &path) const {
    return m_changes.count(QFileInfo(path).absoluteFilePath()) > 0;
}

bool FileSet::commit() {
    if (!QDir().mkpath(QFileInfo(m_journal).absolutePath()))
        return false;
    for (const auto &c : m_changes) {
        if (!QDir().mkpath(QFileInfo(c.first).absolutePath()))
            return false;
    }
    const FileWriteLock journalLock(m_journal, true);
    if (!journalLock.held())
        return false;
    FileLocks locks;
    std::vector<Rename> renames;
    std::vector<QByteArray> contents;
    for (const auto &c : m_changes) {
        const QString &path = c.first;
        const Change &change = c.second;
        if (!locks.take(path))
            return false;
        QByteArray old;
        bool unreadable = false;
        const bool existed = readWhole(path, old, &unreadable);
        // Keys set in a file that could not be read would replace all it holds.
        if (unreadable && !change.replaced) {
            qCWarning(lcStorage, "Not written: %s could not be read", qPrintable(path));
            return false;
        }
        QByteArray text = change.replaced ? change.content : old;
        if (!change.edits.empty()) {
            IniFile ini;
            ini.parse(text);
            for (const auto &edit : change.edits)
                edit(ini);
            text = ini.text();
        }
        // A file that comes out as it was is left alone, and nothing waits for the disk.
        if (text == old && (existed || !change.replaced))
            continue;
        // A link (a dotfile kept elsewhere) stays a link: the file it leads to is replaced.
        renames.push_back(Rename{QString(), linkedFile(path)});
        contents.push_back(text);
    }
    bool written = true;
    if (renames.size() == 1)
        written = writeAtomically(renames[0].to, contents[0]);
    else if (renames.size() > 1)
        written = writeJournalled(m_journal, renames, contents);
    if (!written) {
        qCWarning(lcStorage, "Could not write %d files", int(renames.size()));
        return false;
    }
    for (const auto &done : m_done)
        done();
    return true;
}

int recoverInterruptedWrites(const QString &journalPath, const QStringList &folders,
                             const QStringList &suffixes) {
    int count = 0;
    bool finished = true;
    {
        const FileWriteLock journalLock(journalPath, true);
        QByteArray text;
        if (readWhole(journalPath, text)) {
            std::vector<Rename> renames;
            if (readJournal(journalPath, text, renames)) {
                std::sort(renames.begin(), renames.end(),
                          [](const Rename &a, const Rename &b) { return a.to < b.to; });
                FileLocks locks;
                for (const Rename &r : renames)
                    locks.take(r.to);
                finished = finishRenames(journalPath, renames, &count);
                qCDebug(lcStorage, "Finished a set of writes: %d files", count);
            } else {
                // A journal that cannot be read names nothing: the targets keep their old
                // contents and the temporary files go with the other leftovers.
                qCWarning(lcStorage, "Removed a damaged journal %s", qPrintable(journalPath));
                QFile::remove(journalPath);
            }
        }
    }
    // A journal kept for the next start (a rename failed) still needs the temporary files it
    // names: they are not taken for leftovers now.
    if (!finished)
        return count;
    // The journal's lock is let go first: the sweep takes it to remove the journal's own
    // temporary file, which a writer killed while writing the journal left.
    for (const QString &folder : folders)
        count += removeInterruptedWrites(folder, suffixes);
    return count;
}
