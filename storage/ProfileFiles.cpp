// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProfileFiles.h"

#include "AppConfig.h"
#include "FileSet.h"
#include "IniFile.h"
#include "ModelDescriptor.h"
#include "ProfileData.h"
#include "StorageLog.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>

namespace {
// One walk over the keys of a profile group, in file order. The visitor decides whether
// a field is read or written, so reading and writing can never disagree on a key.
template <class Visitor, class Record>
void visitProfile(Visitor &v, Record &r, const QString &group, bool withLocalKeys) {
    const QString g = group + QLatin1Char('/');
    v.byte(g + QLatin1String("pollrate"), r.pollrate);
    v.byte(g + QLatin1String("dpi"), r.dpi);
    for (int n = 0; n < kDpiStageCount; ++n) {
        const QString p = g + QStringLiteral("DPI_INFO_%1_").arg(n);
        auto &s = r.dpiInfo[n];
        v.byte(p + QLatin1String("used"), s.used);
        v.byte(p + QLatin1String("link"), s.link);
        v.word(p + QLatin1String("xy"), s.xy);
        v.word(p + QLatin1String("x"), s.x);
        v.word(p + QLatin1String("y"), s.y);
    }
    v.byte(g + QLatin1String("mousespeed"), r.mousespeed);
    v.byte(g + QLatin1String("dbclickspeed"), r.dbclickspeed);
    v.byte(g + QLatin1String("scrollispage"), r.scrollispage);
    v.byte(g + QLatin1String("scrollspeed"), r.scrollspeed);
    v.byte(g + QLatin1String("accelenable"), r.accelenable);
    v.byte(g + QLatin1String("acee"), r.acee);
    for (int n = 0; n < kButtonSlotCount; ++n) {
        const QString p = g + QStringLiteral("BUTTON_INFO_%1_").arg(n);
        auto &b = r.buttons[n];
        v.int32(p + QLatin1String("ID"), b.ID);
        v.int32(p + QLatin1String("Fun"), b.Fun);
        v.int32(p + QLatin1String("LoopNumber"), b.LoopNumber);
        v.int32(p + QLatin1String("KeyNumber"), b.KeyNumber);
        v.byte(p + QLatin1String("Res1"), b.Res1);
        v.byte(p + QLatin1String("Res2"), b.Res2);
        v.byte(p + QLatin1String("Res3"), b.Res3);
        v.byte(p + QLatin1String("Res4"), b.Res4);
        v.string(p + QLatin1String("macroname"), b.macroname);
        for (int k = 0; k < kKeyStepCount; ++k) {
            const QString q = p + QStringLiteral("KeyInfo_%1_").arg(k);
            v.byte(q + QLatin1String("map"), b.keyInfo[k].map);
            v.byte(q, b.keyInfo[k].L);
            v.byte(q + QLatin1String("H"), b.keyInfo[k].H);
        }
    }
    v.string(g + QLatin1String("ProfileName"), r.ProfileName);
    v.string(g + QLatin1String("ProfilePath"), r.ProfilePath);
    v.byte(g + QLatin1String("LedMode"), r.LedMode);
    if (withLocalKeys) {
        v.local(g + QLatin1String("LedMoveOFF"), r.LedMoveOFF);
        v.local(g + QLatin1String("LedSleepTime"), r.LedSleepTime);
    }
    for (int n = 0; n < kLedModeCount; ++n) {
        // The effect keys follow the group directly: "PROFILE/LedMode/LED_MODE_3_RGB".
        const QString p = group + QStringLiteral("/LedMode/LED_MODE_%1_").arg(n);
        auto &m = r.ledModes[n];
        v.colour(p + QLatin1String("RGB"), m.RGB);
        v.word(p + QLatin1String("h"), m.h);
        v.word(p + QLatin1String("s"), m.s);
        v.word(p + QLatin1String("v"), m.v);
        v.word(p + QLatin1String("bright"), m.bright);
        v.word(p + QLatin1String("breath"), m.breath);
    }
}

struct Reader {
    const IniFile &ini;
    // Numbers keep the low bits of whatever integer the file holds.
    void byte(const QString &key, uint8_t &f) { f = uint8_t(ini.number(key)); }
    void local(const QString &key, uint8_t &f) { byte(key, f); }
    void word(const QString &key, uint32_t &f) { f = uint32_t(ini.number(key)); }
    void int32(const QString &key, int32_t &f) { f = int32_t(uint32_t(ini.number(key))); }
    void string(const QString &key, QString &f) { f = ini.value(key).toString(); }
    // A damaged colour reads as no colour.
    void colour(const QString &key, QColor &f) { f = ini.colour(key); }
};

struct Writer {
    IniFile &ini;
    void byte(const QString &key, const uint8_t &f) { ini.setNumber(key, f); }
    void local(const QString &key, const uint8_t &f) { byte(key, f); }
    void word(const QString &key, const uint32_t &f) { ini.setNumber(key, f); }
    void int32(const QString &key, const int32_t &f) { ini.setNumber(key, f); }
    void string(const QString &key, const QString &f) { ini.setValue(key, f); }
    void colour(const QString &key, const QColor &f) { ini.setValue(key, f); }
};

// Reads the keys of a file offered for import, counting those of them that every file of its
// kind has; the lighting keys that only profile files carry are read but not counted.
struct CheckedReader {
    Reader reader;
    RequiredKeys &count;
    void add(const QString &key) {
        ++count.required;
        if (reader.ini.contains(key))
            ++count.present;
        else if (count.firstMissing.isEmpty())
            count.firstMissing = key;
    }
    template <class Field>
    void read(const QString &k, Field &f, void (Reader::*get)(const QString &, Field &)) {
        add(k);
        (reader.*get)(k, f);
    }
    void byte(const QString &k, uint8_t &f) { read(k, f, &Reader::byte); }
    void local(const QString &k, uint8_t &f) { reader.byte(k, f); }
    void word(const QString &k, uint32_t &f) { read(k, f, &Reader::word); }
    void int32(const QString &k, int32_t &f) { read(k, f, &Reader::int32); }
    void string(const QString &k, QString &f) { read(k, f, &Reader::string); }
    void colour(const QString &k, QColor &f) { read(k, f, &Reader::colour); }
};

struct KeyLister {
    QStringList keys;
    template <class T> void add(const QString &key, const T &) { keys << key; }
    void byte(const QString &k, const uint8_t &f) { add(k, f); }
    void local(const QString &k, const uint8_t &f) { add(k, f); }
    void word(const QString &k, const uint32_t &f) { add(k, f); }
    void int32(const QString &k, const int32_t &f) { add(k, f); }
    void string(const QString &k, const QString &f) { add(k, f); }
    void colour(const QString &k, const QColor &f) { add(k, f); }
};

// What this process last read from or wrote to each profile file, with the file's
// stamp at that moment. The apply step saves all five slots twice per apply; a slot whose
// record and file are both unchanged since then needs no rewrite.
struct KnownFile {
    ProfileData record;
    QDateTime modified;
    qint64 size = -1;
};
QMutex g_knownMutex;
QHash<QString, KnownFile> g_known;

void remember(const QString &path, const ProfileData &record) {
    const QFileInfo info(path);
    QMutexLocker lock(&g_knownMutex);
    if (!info.exists()) {
        g_known.remove(path);
        return;
    }
    g_known.insert(path, KnownFile{record, info.lastModified(), info.size()});
}

void forget(const QString &path) {
    QMutexLocker lock(&g_knownMutex);
    g_known.remove(path);
}

bool unchangedOnDisk(const QString &path, const ProfileData &record) {
    const QFileInfo info(path);
    QMutexLocker lock(&g_knownMutex);
    const auto it = g_known.constFind(path);
    return it != g_known.constEnd() && info.exists() && it->modified == info.lastModified() &&
           it->size == info.size() && it->record == record;
}

QString slotGroup(int index) {
    return QStringLiteral("PROFILE_%1").arg(index);
}

const QString kProfileGroup = QStringLiteral("PROFILE");

// Changes the file in one atomic write; a failure is logged and leaves the file as it was.
bool update(const QString &path, const std::function<void(IniFile &)> &change) {
    if (updateIniFile(path, change))
        return true;
    qCWarning(lcStorage, "Could not write %s", qPrintable(path));
    return false;
}

void read(int index, ProfileData &record, const QString &path, bool groupForm) {
    const bool inConfig = path.isEmpty();
    const IniFile ini(inConfig ? configIniPath() : path);
    const QString group = (inConfig || groupForm) ? slotGroup(index) : kProfileGroup;
    Reader r{ini};
    visitProfile(r, record, group, !groupForm);
}

void write(int index, const ProfileData &record, const QString &path, bool groupForm) {
    const bool inConfig = path.isEmpty();
    if (!inConfig)
        forget(path);
    const QString group = (inConfig || groupForm) ? slotGroup(index) : kProfileGroup;
    update(inConfig ? configIniPath() : path, [&](IniFile &ini) {
        Writer w{ini};
        visitProfile(w, record, group, !groupForm);
    });
}

// The slot names of Config.ini and of configuration files.
QString slotNameKey(int index) {
    return QStringLiteral("Config/Profile%1").arg(index + 1);
}

// The set-wide keys of Config.ini and of configuration files, with every slot's name (an
// edit made while slot 2..5 is active must survive a restart, and a configuration file's
// round trip keeps the names).
void writeSetKeys(IniFile &ini, const ProfileSet &set) {
    ini.setValue(QStringLiteral("Config/ProfileID"), int(set.ProfileID));
    ini.setValue(QStringLiteral("Config/AngleValue"), int(set.AngleValue));
    ini.setValue(QStringLiteral("Config/LiftHigh"), int(set.LiftHigh));
    ini.setValue(QStringLiteral("Config/Sync"), int(set.Sync));
    ini.setValue(QStringLiteral("Config/Jitter"), int(set.Jitter));
    ini.setValue(QStringLiteral("Config/Debounce"), int(set.Debounce));
    ini.setValue(QStringLiteral("Config/Wake"), int(set.Wake));
    ini.setValue(QStringLiteral("Config/SensorMode"), int(set.SensorMode));
    ini.setValue(QStringLiteral("Config/Count"), int(set.Count));
    for (int i = 0; i < kProfileCount; ++i)
        ini.setValue(slotNameKey(i), set.profileNames[i]);
}

// The set-wide keys and the five profile groups of a configuration file.
void fillConfigFile(IniFile &ini, const ProfileSet &set) {
    writeSetKeys(ini, set);
    Writer w{ini};
    for (int i = 0; i < kProfileCount; ++i)
        visitProfile(w, set.profiles[i], slotGroup(i), false);
}

const char *const kSensorKeys[] = {"Config/AngleValue", "Config/LiftHigh", "Config/Sync",
                                   "Config/Jitter",     "Config/Debounce", "Config/Wake",
                                   "Config/SensorMode"};

uint8_t *sensorField(ProfileSet &set, int i) {
    uint8_t *fields[] = {&set.AngleValue, &set.LiftHigh, &set.Sync,      &set.Jitter,
                         &set.Debounce,   &set.Wake,     &set.SensorMode};
    return fields[i];
}

// The set-wide keys, the slot names the file has and the five profile groups of a
// configuration file, the groups' keys through the visitor.
template <class Visitor> void readConfigKeys(const IniFile &ini, ProfileSet &set, Visitor &v) {
    auto byte = [&](const char *key) { return uint8_t(ini.value(QLatin1String(key), 0).toInt()); };
    set.ProfileID = byte("Config/ProfileID");
    set.AngleValue = byte("Config/AngleValue");
    set.LiftHigh = byte("Config/LiftHigh");
    set.Sync = byte("Config/Sync");
    set.Count = byte("Config/Count");
    set.Jitter = byte("Config/Jitter");
    set.Debounce = byte("Config/Debounce");
    set.Wake = byte("Config/Wake");
    set.SensorMode = byte("Config/SensorMode");
    for (int i = 0; i < kProfileCount; ++i) {
        // Files written without names keep the slot's current name.
        if (ini.contains(slotNameKey(i)))
            set.profileNames[i] = ini.value(slotNameKey(i)).toString();
        visitProfile(v, set.profiles[i], slotGroup(i), false);
    }
}
} // namespace

QStringList profileKeyNames(const QString &group, bool withLocalKeys) {
    KeyLister l;
    const ProfileData record;
    visitProfile(l, record, group, withLocalKeys);
    return l.keys;
}

QString profileDir() {
    // Without a model there is no library: nothing is read or written.
    const QString product = currentProductName();
    if (!isSafeFileName(product))
        return QString();
    return configDir() + QLatin1Char('/') + product + QStringLiteral("/Profile");
}

QString profileFilePath(const QString &name) {
    const QString dir = profileDir();
    if (!isSafeFileName(name) || dir.isEmpty())
        return QString();
    return dir + QLatin1Char('/') + name + QStringLiteral(".prof");
}

QString sharedProfileFilePath(const QString &name) {
    if (!isSafeFileName(name))
        return QString();
    return configDir() + QStringLiteral("/Profile/") + name + QStringLiteral(".prof");
}

bool adoptSharedProfile(const QString &name) {
    const QString path = profileFilePath(name);
    const QString shared = sharedProfileFilePath(name);
    if (path.isEmpty() || QFileInfo::exists(path) || !QFileInfo::exists(shared))
        return false;
    // Copied whole or not at all (synced, under the file's lock): a cut copy would read as a
    // profile of zeros.
    if (!copyFileOver(shared, path))
        return false;
    qCDebug(lcStorage, "Profile \"%s\" taken from the shared profile folder", qPrintable(name));
    return true;
}

void readProfile(int index, ProfileData &record, const QString &path) {
    read(index, record, path, false);
}

void writeProfile(int index, const ProfileData &record, const QString &path) {
    write(index, record, path, false);
}

void readProfileGroup(int index, ProfileData &record, const QString &path) {
    read(index, record, path, true);
}

void writeProfileGroup(int index, const ProfileData &record, const QString &path) {
    write(index, record, path, true);
}

void loadProfileByName(ProfileData &record, const QString &name) {
    const QString path = profileFilePath(name);
    if (path.isEmpty()) {
        // A name that is no file name reads as a missing file.
        record = ProfileData();
        return;
    }
    adoptSharedProfile(name);
    readProfile(0, record, path);
    remember(path, record);
}

void saveProfileByName(const ProfileData &record, const QString &name) {
    const QString path = profileFilePath(name);
    if (path.isEmpty()) {
        qCWarning(lcStorage, "Profile not saved: \"%s\" is not a file name", qPrintable(name));
        return;
    }
    writeProfile(0, record, path);
    remember(path, record);
}

namespace {
void readSensorOptions(const IniFile &ini, ProfileSet &set) {
    // An option never saved (a first start) takes the model's factory value from the
    // descriptor rather than 0, which would switch the inverted options on and the key
    // response off.
    uint8_t defaults[SensorDefaultCount] = {};
    readSensorDefaults(defaults);
    const int defaultOf[7] = {SensorAngle,    SensorLift, SensorSync, SensorJitter,
                              SensorDebounce, SensorWake, SensorMode_};
    for (int i = 0; i < 7; ++i)
        *sensorField(set, i) =
            uint8_t(ini.value(QLatin1String(kSensorKeys[i]), defaults[defaultOf[i]]).toInt());
}
} // namespace

void loadSensorOptions(ProfileSet &set) {
    readSensorOptions(IniFile(configIniPath()), set);
}

void loadProfileSet(ProfileSet &set) {
    {
        const IniFile ini(configIniPath());
        set.ProfileID = uint8_t(ini.value(QStringLiteral("Config/ProfileID"), 0).toInt());
        readSensorOptions(ini, set);
        set.Count = uint8_t(ini.value(QStringLiteral("Config/Count"), 0).toInt());
        for (int i = 0; i < kProfileCount; ++i)
            set.profileNames[i] =
                ini.value(QStringLiteral("Config/Profile%1").arg(i + 1)).toString();
    }
    for (int i = 0; i < kProfileCount; ++i)
        loadProfileByName(set.profiles[i], set.profileNames[i]);
    int8_t matrix[kDescriptorButtonKeys] = {};
    if (readButtonMatrix(matrix) == 0)
        setButtonMatrix(matrix);
}

bool saveAppliedState(const ProfileSet &set, bool unsent) {
    FileSet files(writeJournalPath());
    addAppliedState(files, set, unsent);
    if (files.commit())
        return true;
    qCWarning(lcStorage, "Could not save the profiles");
    return false;
}

void addAppliedState(FileSet &files, const ProfileSet &set, bool unsent) {
    files.update(configIniPath(), [&set, unsent](IniFile &ini) {
        writeSetKeys(ini, set);
        if (unsent)
            setDiffFlag(ini, 1);
    });
    for (int i = 0; i < kProfileCount; ++i) {
        const QString path = profileFilePath(set.profileNames[i]);
        if (path.isEmpty() || files.contains(path) || unchangedOnDisk(path, set.profiles[i]))
            continue;
        // Two slots that share a name share one file; the first slot's content wins.
        bool earlier = false;
        for (int j = 0; j < i; ++j)
            earlier = earlier || set.profileNames[j] == set.profileNames[i];
        if (earlier)
            continue;
        const ProfileData &record = set.profiles[i];
        files.update(path, [&record](IniFile &ini) {
            Writer w{ini};
            visitProfile(w, record, kProfileGroup, true);
        });
        files.afterCommit([path, &record] { remember(path, record); });
    }
}

void addImportedProfileFile(FileSet &files, const QString &path, const QByteArray &bytes,
                            const ProfileData &held, const ProfileData &record) {
    files.replace(path, bytes);
    // The file is taken as it is, but for the keys in which the slot's record differs (its
    // name, which the file's name gives).
    if (held != record) {
        files.update(path, [&record](IniFile &ini) {
            Writer w{ini};
            visitProfile(w, record, kProfileGroup, true);
        });
    }
    files.afterCommit([path, &record] { remember(path, record); });
}

unsigned groupsToSend(const ProfileSet &working, const ProfileSet &applied, bool force) {
    // Compared first whatever the outcome: the comparison also clears the write signs of the
    // macro files it took as changed.
    const unsigned changed = diffProfileSets(working, applied);
    return readDiffFlag() == 1 || force ? unsigned(DiffAll) : changed;
}

SendStart beginSend(ProfileSet &working, const ProfileSet &applied, bool force, bool mouseOff) {
    boundForMouse(working);
    SendStart start;
    if (!mouseOff)
        start.groups = groupsToSend(working, applied, force);
    start.saved = saveAppliedState(working, mouseOff || start.groups != 0);
    return start;
}

void recordSend(ProfileSet &applied, const ProfileSet &sent, bool succeeded) {
    applied = sent;
    writeDiffFlag(succeeded ? 0 : 1);
}

void exportProfileSet(const ProfileSet &set, const QString &path) {
    update(path, [&](IniFile &ini) { fillConfigFile(ini, set); });
}

bool writeConfigFile(const ProfileSet &set, const QString &path, const QString &modelName) {
    IniFile ini;
    ini.setValue(QStringLiteral("MouseName/Name"), modelName);
    fillConfigFile(ini, set);
    if (ini.save(path))
        return true;
    qCWarning(lcStorage, "Could not write %s", qPrintable(path));
    return false;
}

bool writeProfileFile(const ProfileData &record, const QString &path, const QString &modelName) {
    IniFile ini;
    ini.setValue(QStringLiteral("MouseName/Name"), modelName);
    Writer w{ini};
    visitProfile(w, record, kProfileGroup, true);
    if (ini.save(path))
        return true;
    qCWarning(lcStorage, "Could not write %s", qPrintable(path));
    return false;
}

int importProfileSet(ProfileSet &set, const QString &path) {
    const IniFile ini(path);
    int groups = 0;
    for (int i = 0; i < kProfileCount; ++i)
        groups += ini.hasGroup(slotGroup(i));
    Reader r{ini};
    readConfigKeys(ini, set, r);
    return groups;
}

RequiredKeys readConfigFileKeys(const IniFile &ini, ProfileSet &set) {
    RequiredKeys count;
    CheckedReader r{Reader{ini}, count};
    // The set-wide keys as an export writes them, but for the slot names: a file without them
    // leaves the slots' names as they were.
    IniFile written;
    writeSetKeys(written, ProfileSet());
    for (const QString &name : written.childKeys(QStringLiteral("Config"))) {
        const QString key = QStringLiteral("Config/") + name;
        bool slotName = false;
        for (int i = 0; i < kProfileCount; ++i)
            slotName = slotName || key == slotNameKey(i);
        if (!slotName)
            r.add(key);
    }
    readConfigKeys(ini, set, r);
    return count;
}

RequiredKeys readProfileFileKeys(const IniFile &ini, ProfileData &record) {
    RequiredKeys count;
    CheckedReader r{Reader{ini}, count};
    visitProfile(r, record, kProfileGroup, true);
    return count;
}

void writeModelName(const QString &path, const QString &name) {
    update(path, [&](IniFile &ini) { ini.setValue(QStringLiteral("MouseName/Name"), name); });
}

QString readModelName(const QString &path) {
    return readModelName(IniFile(path));
}

QString readModelName(const IniFile &ini) {
    return ini.value(QStringLiteral("MouseName/Name")).toString();
}

bool saveProfileDpi(const QString &name, int dpi) {
    return saveProfileValue(name, QStringLiteral("dpi"), dpi);
}

bool saveProfileValue(const QString &name, const QString &key, int value) {
    const QString path = profileFilePath(name);
    if (path.isEmpty())
        return false;
    forget(path);
    return update(
        path, [&](IniFile &ini) { ini.setValue(kProfileGroup + QLatin1Char('/') + key, value); });
}

void writeDefaultProfileFile() {
    const QString dir = profileDir();
    if (dir.isEmpty())
        return;
    ProfileData record;
    makeDefaultProfile(record);
    writeProfile(0, record, dir + QStringLiteral("/DefaultProfile.prof"));
}
