// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Several files written as one: whatever moment the writer is killed at, the files are found
// either all with their new contents or all with their old ones (an import writes the profile
// library, Config.ini and five profile files). Each new content goes to a temporary file
// beside its target (<target>.~XXXXX) and is synced; then a journal appears in one rename,
// listing each target with its temporary file: from that moment the set counts as written.
// The temporary files are then renamed over their targets and the journal is removed. The
// next start finishes the renames of a journal it finds; temporary files without a journal are
// removed, which leaves the old contents. A set of one changed file is written as any single
// file is, without a journal.
//
// While the set is prepared and written, the writer holds the journal's lock and then each
// target's <target>.flock lock (the lock updateIniFile takes), in path order, so that no other
// writer changes a file between its reading and its replacement.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <vector>

class IniFile;

class FileSet {
public:
    // The set keeps its journal at journalPath, which must lie in a folder that holds every
    // target or one of the folders above them.
    explicit FileSet(const QString &journalPath);

    // The file at path gets content, whatever it held.
    void replace(const QString &path, const QByteArray &content);
    // The INI file at path gets what change makes of it: it is read under its lock when the
    // set is written, or taken from replace's content. Changes of one file apply in the order
    // they were given. A file whose text comes out as it was is not rewritten (a missing one is
    // not made).
    void update(const QString &path, const std::function<void(IniFile &)> &change);
    // Runs once the set is written (or found written already).
    void afterCommit(const std::function<void()> &done);
    // Whether the set writes the file.
    bool contains(const QString &path) const;

    // Writes the set: true when every file holds its new content; false when nothing changed
    // (or, should a rename fail after the journal was written, when the next start finishes it).
    bool commit();

private:
    struct Change {
        bool replaced = false;
        QByteArray content;
        std::vector<std::function<void(IniFile &)>> edits;
    };
    QString m_journal;
    std::map<QString, Change> m_changes; // in path order: the order the locks are taken in
    std::vector<std::function<void()>> m_done;
};

// Finishes the set whose writer was killed after its journal appeared, then removes in each of
// the folders the temporary files of writes killed before they could finish
// (removeInterruptedWrites with the suffixes), all under the journal's lock so that no set
// written meanwhile loses its temporary files. Returns how many files were finished or removed.
int recoverInterruptedWrites(const QString &journalPath, const QStringList &folders,
                             const QStringList &suffixes);
