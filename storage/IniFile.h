#pragma once
// INI files in the layout Qt's QSettings reads and writes (IniFormat), read and written in
// one piece. A file is read into one buffer and its keys found through one hash; a value
// keeps the escaped text it has in the file and is turned into a QVariant the way QSettings
// does it, so that what either of them writes reads the same through the other. Writing
// puts sections and keys in QSettings' sorted order and replaces the file atomically: the
// text goes to a temporary file beside it (<name>.XXXXXX) that is then renamed over it.

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
    // Replaces the content with the keys of INI text.
    void parse(const QByteArray &text);

    // Keys are full paths, "Group/key"; a key without a group is in [General].
    bool contains(const QString &key) const;
    // What QSettings::value gives for the key. Serialised values of types other than
    // numbers, strings and colours, and damaged colours, read as no value.
    QVariant value(const QString &key, const QVariant &def = QVariant()) const;
    // value(key, def).toLongLong(), quicker for plain decimal numbers.
    long long number(const QString &key, long long def = 0) const;
    // The key's colour, or an invalid colour when its value is no colour or a damaged one.
    QColor colour(const QString &key) const;
    // Whether any key lies below the group.
    bool hasGroup(const QString &group) const;
    // The keys directly below the group, as QSettings::childKeys in that group.
    QStringList childKeys(const QString &group) const;

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
        QStringRef name() const { return key.midRef(slash + 1); }
        QStringRef group() const { return slash < 0 ? QStringRef() : key.leftRef(slash); }
    };
    QByteArray rawValue(const Entry &e) const;
    QVariant decode(const QByteArray &raw) const;
    // Where the key is or would go in m_slots.
    int slotOf(const QString &key, uint hash) const;
    // The key's entry, or -1 when it has none or it was removed.
    int find(const QString &key) const;
    void addEntry(const QString &key, int start, int length, bool written);
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
    bool m_utf8 = false; // the file began with a UTF-8 byte order mark
    bool m_existed = false;
};

// Reads the file, lets change edit it and writes it back atomically, holding a lock on
// <path>.flock meanwhile (one that ends with its holder), so that no other writer's change is
// lost in between. False when the file could not be written.
bool updateIniFile(const QString &path, const std::function<void(IniFile &)> &change);

// Replaces the file at path with content atomically, under the same lock, its folder made
// where missing. False when it could not be written, and the file is then as it was.
bool replaceFile(const QString &path, const QByteArray &content);

// Removes temporary files that writers killed before their rename left in folder:
// <name>.<suffix>.XXXXXX for each suffix (such as "prof" or "ini"), but only where no
// writer holds the file's lock. Returns how many were removed.
int removeInterruptedWrites(const QString &folder, const QStringList &suffixes);
