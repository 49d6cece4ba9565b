// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// INI files in the layout Qt's QSettings reads and writes (IniFormat), read and written in
// one piece. A file is read into one buffer and its keys found through one hash; a value
// keeps the escaped text it has in the file and is turned into a QVariant the way QSettings
// does it: every file gives the keys and values QSettings gives once it has read all of it
// (its value() alone reads only the section a key falls in, and so may answer otherwise in
// files that give a key in two sections). Writing gives the text QSettings writes for the
// same keys, every value written again as QSettings writes back what it read, but for a
// UTF-8 byte order mark, which is kept where the file had one (QSettings drops it and still
// writes UTF-8, so that it reads its own text back as Latin-1). The file is replaced
// atomically: the text goes to a temporary file beside it (<name>.~XXXXX) that is then
// renamed over it.

#include <QByteArray>
#include <QColor>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <vector>

class IniFile {
public:
    IniFile() = default;
    // Reads the file; a missing or unreadable file reads as empty.
    explicit IniFile(const QString &path);

    // Whether the file read existed.
    bool existed() const { return m_existed; }
    // The file is there but could not be read (no permission, a read error): what it holds is
    // not known, so it must not be rewritten from what was read.
    bool unreadable() const { return m_unreadable; }
    // Replaces the content with the keys of INI text.
    void parse(const QByteArray &text);

    // Keys are full paths, "Group/key"; a key without a group is in [General].
    bool contains(const QString &key) const;
    // What QSettings::value gives for the key. Serialised values of types other than
    // numbers, strings and colours read as no value, and damaged colours (a model QColor does
    // not have, cut short) as an invalid colour; such values are written back as they stand.
    QVariant value(const QString &key, const QVariant &def = QVariant()) const;
    // value(key, def).toLongLong(), quicker for plain decimal numbers.
    long long number(const QString &key, long long def = 0) const;
    // The key's colour, or an invalid colour when its value is no colour or a damaged one.
    QColor colour(const QString &key) const;
    // Whether any key lies below the group.
    bool hasGroup(const QString &group) const;
    // The keys directly below the group, as QSettings::childKeys in that group.
    QStringList childKeys(const QString &group) const;
    // Every key, as QSettings::allKeys.
    QStringList allKeys() const;

    // Values are numbers, strings and colours, written as QSettings writes them.
    void setValue(const QString &key, const QVariant &value);
    // setValue(key, number), quicker.
    void setNumber(const QString &key, long long number);
    // Removes the key and every key below it.
    void remove(const QString &key);

    // The whole file as QSettings would write these keys.
    QByteArray text() const;
    // Writes the text to path atomically (its folder is made where missing); false when it
    // could not be written, and the file is then as it was.
    bool save(const QString &path) const;

private:
    friend bool updateIniFile(const QString &path, const std::function<void(IniFile &)> &change);
    struct Entry {
        QString key;
        uint hash = 0;  // keyHash(key)
        int slash = -1; // the end of the group name in the key, or -1 for [General]
        int start = 0;  // the escaped value in m_data, or in m_written once set
        int length = 0;
        bool written = false;
        bool removed = false;
        int section = 0; // while reading: the section the value was read in
        QStringRef name() const { return key.midRef(slash + 1); }
        QStringRef group() const { return slash < 0 ? QStringRef() : key.leftRef(slash); }
    };
    QByteArray rawValue(const Entry &e) const;
    QVariant decode(const QByteArray &raw) const;
    // The entry's value as QSettings writes it.
    void appendValue(const Entry &e, QByteArray &out) const;
    // Where the key is or would go in m_slots.
    int slotOf(const QString &key, uint hash) const;
    // The key's entry, or -1 when it has none or it was removed.
    int find(const QString &key) const;
    // The key's entry, made where it has none.
    Entry &entryFor(const QString &key, bool &isNew);
    // Sets the key to a value of m_written.
    void addEntry(const QString &key, int start, int length);
    // Puts a group's entries in key order.
    static void sortByName(std::vector<const Entry *> &entries);

    QByteArray m_data;
    std::vector<Entry> m_entries;
    QByteArray m_written; // values set since the file was read, one after another
    // The keys' hash table, open addressing: a key's hash and the index of its entry plus
    // one, 0 where free. An entry stays when its key is removed, marked, so that no slot
    // ever empties.
    struct Slot {
        uint hash = 0;
        int entry = 0;
    };
    std::vector<Slot> m_slots;
    bool m_utf8 = false;    // the file began with a UTF-8 byte order mark
    bool m_changed = false; // a key was set or removed since the file was read
    bool m_existed = false;
    bool m_unreadable = false;
};

// A writer's lock on a file: a lock held on <name>.flock beside it, which the system drops
// when its holder ends, however it ends, so that no kill leaves a lock that stops the next
// writer. The lock file goes with the lock; a killed holder's stays and is simply taken.
// (QSettings' lock files, <name>.lock, stay for up to 30 s once their writer is killed
// at the wrong moment.)
class FileWriteLock {
public:
    // With wait false, an attempt that gives up at once when another writer holds it.
    FileWriteLock(const QString &path, bool wait);
    ~FileWriteLock();
    FileWriteLock(const FileWriteLock &) = delete;
    FileWriteLock &operator=(const FileWriteLock &) = delete;
    bool held() const { return m_fd >= 0; }

private:
    QByteArray m_path;
    int m_fd = -1;
};

// Reads the file, lets change edit it and writes it back atomically, holding a lock on
// <path>.flock meanwhile (one that ends with its holder, and that a signal does not stop a
// writer from waiting for), so that no other writer's change is lost in between. A change
// that sets and removes nothing leaves the file as it is. False when the file could not be
// written, or could not be read (it is then left as it is).
bool updateIniFile(const QString &path, const std::function<void(IniFile &)> &change);

// Replaces the file at path with content atomically, under the same lock, its folder made
// where missing. False when it could not be written, and the file is then as it was.
bool replaceFile(const QString &path, const QByteArray &content);
// A copy of the file at from that replaces what lies at to in one atomic step (to is the old
// file or the new one, never a part). True also when both name the same file.
bool copyFileOver(const QString &from, const QString &to);

// Replaces the file at path with text through a temporary file renamed over it, so that
// whatever happens the file is the old one or the new one; for a caller that holds the file's
// FileWriteLock. False when it could not be written.
bool writeAtomically(const QString &path, const QByteArray &text);

// The file a write to path replaces: path itself, or the file its links lead to (also one not
// made yet); path when the links go round.
QString linkedFile(const QString &path);

// Writes content to a new temporary file beside target ("<target>.~XXXXX") and syncs
// it; the file gets the target's permissions. Its path, or empty on failure.
QString writeTemporary(const QString &target, const QByteArray &content);
// Whether temporary is the name writeTemporary gives a temporary file of target.
bool isTemporaryOf(const QString &temporary, const QString &target);

// Removes temporary files that writers killed before their rename left in folder:
// <name>.<suffix>.~XXXXX for each suffix (such as "prof" or "ini"), but only where no
// writer holds the file's lock. Returns how many were removed.
int removeInterruptedWrites(const QString &folder, const QStringList &suffixes);
