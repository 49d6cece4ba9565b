// SPDX-License-Identifier: GPL-3.0-or-later
// IniFile beside QSettings on generated INI files, hand-edited and damaged ones among them:
// every file reads the same through both, and a file changed by one key is written byte for
// byte as QSettings writes it. Also: a writer waiting for a lock outlasts signals, and a file
// is replaced as QSaveFile replaces it.
#include "FileSet.h"
#include "IniFile.h"

#include <QColor>
#include <QDataStream>
#include <QDir>
#include <QDirIterator>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QScopeGuard>
#include <QSemaphore>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <atomic>
#include <cctype>
#include <csignal>
#include <cstring>
#include <sys/syscall.h>
#include <thread>
#include <unistd.h>

namespace {
constexpr int kFiles = 3000;
const QByteArray kByteOrderMark = "\xef\xbb\xbf";
// Values of types IniFile does not read, which keep their text when it writes.
const char *const kOpaque[] = {"@Rect(", "@Size(", "@Point(", "@DateTime("};

// INI text as people and damaged disks leave it; the same start number gives the same files.
class IniText {
public:
    explicit IniText(quint32 start) : m_rng(start) {}
    QByteArray file();
    // A value the program might set: a number, a string or a colour.
    QVariant setting();
    int below(int n) { return int(m_rng.bounded(n)); }
    bool chance(int percent) { return below(100) < percent; }
    // One of the choices, which are separated by '|'.
    QByteArray pick(const QByteArray &choices) {
        const QList<QByteArray> items = choices.split('|');
        return items.at(below(items.size()));
    }

private:
    QByteArray word();
    QByteArray value();
    QByteArray listItem();
    QByteArray serialised(const QVariant &v, bool cut);
    QRandomGenerator m_rng;
};

QByteArray IniText::word() {
    static const char letters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_-.";
    QByteArray w;
    for (int n = 1 + below(10); n > 0; --n)
        w += letters[below(int(sizeof letters) - 1)];
    return w;
}

QByteArray IniText::serialised(const QVariant &v, bool cut) {
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_4_0);
    out << v;
    if (cut) // the type stays whole: Qt reads unknown types unchecked
        bytes.truncate(4 + below(bytes.size() - 4));
    QByteArray text = "@Variant(";
    for (const char c : bytes) {
        const uchar u = uchar(c);
        const bool plain = u > ' ' && u < 0x7f && !isxdigit(u) && !strchr("\\\";,=", u);
        text += plain ? QByteArray(1, c) : "\\x" + QByteArray::number(u, 16);
    }
    return text + ')';
}

QByteArray IniText::listItem() {
    if (chance(5))
        return serialised(chance(50) ? QVariant(below(1000)) : QVariant(QColor(Qt::red)), false);
    return chance(60) ? word() : pick("a|\"b, c\"| @@at |@x|\"\"||\\n|@Rect(1 2 3 4)|9|\" q \"");
}

QByteArray IniText::value() {
    auto channel = [&] { return int(m_rng.bounded(256)); };
    switch (below(20)) {
    case 0:
        return word() + ' ' + word() + pick("| |\t");
    case 1:
        return pick(
            "\"a; b, c = d\"|\" lead\"|\"trail \"|\"\"|x\"y\"z|\"a\" , \"b\"|\"two\nlines\"|"
            "\"q\" tail |\"a\\\"b\"");
    case 2: {
        QByteArray v;
        for (int n = 1 + below(4); n > 0; --n)
            v += (chance(50) ? word() : QByteArray()) +
                 pick("\\n|\\t|\\\\|\\\"|\\x4e2d|\\x41|\\101|\\0|\\?|\\'|\\a|\\q|\\9|\\ |\\xZZ|\\x|"
                      "\\08|\\x0g|\\\r\n|\\\n");
        return v;
    }
    case 3: {
        QByteArray v = listItem();
        for (int n = 1 + below(3); n > 0; --n)
            v += pick("|  |\t") + ',' + pick("| |\t ") + listItem();
        return v;
    }
    case 4:
        return pick("@Invalid()|@ByteArray(raw bytes)|@ByteArray(\\x4e2d\\xff)|@ByteArray()|"
                    "@String(a\\0b)|@String(plain)|@String(|@@x|@@|@x|@|@Rect(1 2 3 4)|@Size(5 6)|"
                    "@Point(7 -8)|@Size(1)|@Rect(1 2)|@Point(1 2 3)|@Size(1)2)|@Invalid|"
                    "@Variant()|@Variant(\\0\\0)|@DateTime()");
    case 5: {
        const QVariant numbers[] = {int(m_rng.generate()),
                                    uint(m_rng.generate()),
                                    qlonglong(m_rng.generate64()),
                                    qulonglong(m_rng.generate64()),
                                    m_rng.generateDouble() * 1e6 - 5e5,
                                    chance(50),
                                    QString::fromUtf8("\xe4\xb8\xad a\0b", 8) + word(),
                                    QByteArray("\0\x01 raw", 6) + word()};
        return serialised(numbers[below(8)], chance(20));
    }
    case 6: {
        const QColor colours[] = {QColor(channel(), channel(), channel(), channel()),
                                  QColor::fromHsv(channel(), channel(), channel()),
                                  QColor::fromCmyk(channel(), channel(), channel(), channel()),
                                  QColor::fromHsl(channel(), channel(), channel()),
                                  QColor::fromRgbF(1.5, 0.25, -0.5),
                                  QColor()};
        const QByteArray text = serialised(colours[below(6)], false);
        return chance(10) ? text.left(text.size() - 1) : text; // without its ')': a string
    }
    case 7: // damaged: a trailing backslash, an unclosed quote, bad escapes
        return (chance(50) ? word() : QByteArray()) + pick("\\|\"|\\x|\\xZZ|\\9|\\\\\\");
    case 8: {
        QByteArray v;
        while (v.size() < 3000)
            v += word() + (chance(20) ? " " : "");
        return v;
    }
    case 9:
        return word() +
               pick("\xe4\xb8\xad\xe6\x96\x87|\xfc\xe9|\xff\xfe|\xc3|\x01\x7f|" + kByteOrderMark) +
               (chance(50) ? word() : QByteArray());
    case 10:
        return word() + (chance(50) ? "=" : ";") + word();
    case 11:
        return QByteArray();
    default:
        return chance(50) ? pick("0|42|-7|+5|007|99999999999999999999|1e3|0x1f|3.5|-|4294967295|"
                                 "-9223372036854775808|123456789012345678|1234567890123456789")
                          : word();
    }
}

QByteArray IniText::file() {
    const char *const ends = "\n|\r\n|\r|\n\r";
    const QByteArray lineEnd = chance(60) ? "\n" : pick(ends);
    QByteArray text = chance(5) ? kByteOrderMark : QByteArray();
    for (int lines = below(14); lines > 0; --lines) {
        text += chance(20) ? pick(" |  |\t| \t |\t\t") : QByteArray();
        const int kind = below(12);
        if (kind == 0) {
            text += pick("[General]|[general]|[%General]|[%general]|[A]|[B]|[A\\b]|[A%2Fb]|[a]|"
                         "[Sec tion]|[ sp ]|[PROFILE]|[x%U4E2D]|[]|[A|[A]junk|[A] ; x|[A=1]|"
                         "[\"q]|[A\\]|[PROFILE\\LedMode]");
        } else if (kind == 1) {
            text += pick(";|; note|;k=v|# hash|#k=v|; \"q|;;|; a\\");
        } else if (kind == 2) {
            text += pick("no equals|\"q = no\"|\\|=|==| |\t");
        } else if (kind == 3) { // one key given in two sections, either first
            const QList<QByteArray> pair =
                pick("[A\\b]\nc= [A]\nb\\c=|[%General]\nx= [General]\nGeneral\\x=|"
                     "[A]\nb= [General]\nA\\b=")
                    .split(' ');
            const int first = below(2);
            text += pair[first] + word() + lineEnd + pair[1 - first] + word();
        } else {
            const QByteArray key =
                chance(30) ? word()
                           : pick("k|key|Key2|dup|dup|b|c|x|a\\b|a\\b\\c|b\\c|%41|%U4E2D|%zz|%4|"
                                  "%+1|% 1|%U-001|%U0x41|sp ace|tab\tkey|#hash|[notsec|x]|\\lead|"
                                  "trail\\|a\\\\b|K%2Fx|\"q\"|\xfcml|\xe4\xb8\xad||General\\x|"
                                  "%General|dpi|LedMode\\LED_MODE_0_RGB");
            text += key + pick("| |\t|  ") + '=' + pick("| | \t ") + value();
        }
        text += chance(5) ? pick(ends) : lineEnd;
    }
    if (chance(15))
        text.chop(1);
    return text;
}

QVariant IniText::setting() {
    switch (below(10)) {
    case 0:
        return int(m_rng.generate());
    case 1:
        return uint(m_rng.generate());
    case 2:
        return qlonglong(m_rng.generate64());
    case 3:
        return QColor::fromRgba(m_rng.generate());
    case 4:
        return QString::fromUtf8("nul\0inside", 10);
    default:
        return QString::fromUtf8(pick("|plain| lead|trail |a;b|a,b|x=y|q\"q|b\\s|@at|@@at|l\nb|"
                                      "tab\t|\x01|\xe4\xb8\xad"));
    }
}

// What IniFile reads for a value QSettings reads: the same, but no value for serialised types
// other than numbers, strings and colours.
QVariant readable(const QVariant &v) {
    switch (v.userType()) {
    case QMetaType::UnknownType:
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::QString:
    case QMetaType::QByteArray:
    case QMetaType::QStringList:
    case QMetaType::QColor:
        return v;
    case QMetaType::QVariantList: {
        QVariantList items;
        for (const QVariant &item : v.toList())
            items << readable(item);
        return items;
    }
    default:
        return QVariant();
    }
}

// Values equal in type and in every bit (QVariant's == converts: 5 equals "5").
bool same(const QVariant &a, const QVariant &b) {
    auto bytes = [](const QVariant &v) {
        QByteArray b;
        QDataStream out(&b, QIODevice::WriteOnly);
        out << v;
        return b;
    };
    return a.userType() == b.userType() && bytes(a) == bytes(b);
}

QString shown(const QVariant &v) {
    QString s;
    QDebug(&s) << v;
    return v.isNull() && v.isValid() ? s + QStringLiteral("(null)") : s;
}

// Text with unprintable bytes spelled out, one line per line, long lines cut short.
QString visible(const QByteArray &text) {
    QString s;
    int column = 0;
    for (const char c : text) {
        const uchar u = uchar(c);
        column = c == '\n' ? 0 : column + 1;
        if (column == 101)
            s += QStringLiteral("[...]");
        else if (column > 101)
            continue;
        else if (c == '\n')
            s += QStringLiteral("\\n\n");
        else if (u < ' ' || u >= 0x7f)
            s += QStringLiteral("\\x%1").arg(u, 2, 16, QLatin1Char('0'));
        else
            s += QLatin1Char(c);
    }
    return s;
}

QByteArray readFile(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &text) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(text) == text.size();
}

// Whether QSettings reads the same keys and values from both texts.
bool sameReadBack(const QByteArray &a, const QByteArray &b, const QString &stem) {
    writeFile(stem + QStringLiteral("a.ini"), a);
    writeFile(stem + QStringLiteral("b.ini"), b);
    QSettings first(stem + QStringLiteral("a.ini"), QSettings::IniFormat);
    QSettings second(stem + QStringLiteral("b.ini"), QSettings::IniFormat);
    const QStringList keys = first.allKeys();
    return keys == second.allKeys() && std::all_of(keys.begin(), keys.end(), [&](const QString &k) {
               return k.split(QLatin1Char('/'), Qt::SkipEmptyParts).isEmpty() ||
                      same(first.value(k), second.value(k));
           });
}

std::atomic<int> g_signals{0};
} // namespace

class TestIniFileParity : public QObject {
    Q_OBJECT

private slots:
    void matchesQSettings();
    void lockWaitOutlastsSignals();
    void replacesAsQSaveFileDoes();

private:
    void compareReads(QSettings &theirs, const QString &path);
    void compareRewrite(QSettings &theirs, const QString &ourPath, const QString &stem);
    void differs(const QString &what);

    IniText m_gen{20240607};
    QByteArray m_text; // the file being compared
    int m_differences = 0;
    QString m_report; // the first few differences, each with its file
};

void TestIniFileParity::differs(const QString &what) {
    if (++m_differences <= 3)
        m_report += what + QStringLiteral("\n--- in this file ---\n") + visible(m_text) +
                    QStringLiteral("\n---\n");
}

// Each generated file is read by both, then changed by one key through each.
void TestIniFileParity::matchesQSettings() {
    // Each write is synced to the disk; in memory that costs nothing.
    const bool shm = QFileInfo(QStringLiteral("/dev/shm")).isWritable();
    QTemporaryDir dir((shm ? QStringLiteral("/dev/shm") : QDir::tempPath()) +
                      QStringLiteral("/tst_inifile_parity-XXXXXX"));
    for (int n = 0; n < kFiles; ++n) {
        m_text = m_gen.file();
        const QString theirPath = dir.filePath(QStringLiteral("q%1.ini").arg(n));
        const QString ourPath = dir.filePath(QStringLiteral("i%1.ini").arg(n));
        QVERIFY(writeFile(theirPath, m_text) && writeFile(ourPath, m_text));
        QSettings theirs(theirPath, QSettings::IniFormat);
        compareReads(theirs, ourPath);
        compareRewrite(theirs, ourPath, dir.filePath(QString::number(n)));
    }
    if (m_differences > 0) // QFAIL, as QVERIFY2 would cut the report short
        QFAIL(qPrintable(
            QStringLiteral("%1 differences in %2 files\n").arg(m_differences).arg(kFiles) +
            m_report));
}

// Keys, child keys of every group, values and numbers, against QSettings after allKeys (which
// parses every section; a lone value() parses only the section its key falls in, so that in
// odd files its answer depends on what was asked before).
void TestIniFileParity::compareReads(QSettings &theirs, const QString &path) {
    const QStringList keys = theirs.allKeys();
    const IniFile ours(path);
    if (ours.allKeys() != keys)
        return differs(
            QStringLiteral("keys: ours %1, QSettings %2")
                .arg(ours.allKeys().join(QLatin1Char('|')), keys.join(QLatin1Char('|'))));
    QSet<QString> groups{QString()};
    for (const QString &key : keys) {
        const QStringList parts = key.split(QLatin1Char('/'), Qt::SkipEmptyParts);
        if (parts.isEmpty())
            continue; // "" or "/": QSettings looks no such key up
        if (ours.contains(key) != theirs.contains(key) ||
            !same(ours.value(key), readable(theirs.value(key))) ||
            ours.number(key) != theirs.value(key).toLongLong()) {
            differs(QStringLiteral("%1: ours %2 (number %3), QSettings %4")
                        .arg(key, shown(ours.value(key)))
                        .arg(ours.number(key))
                        .arg(shown(theirs.value(key))));
        }
        for (int i = 1; i < parts.size() && parts.join(QLatin1Char('/')) == key; ++i)
            groups << QStringList(parts.mid(0, i)).join(QLatin1Char('/'));
    }
    for (const QString &group : groups) {
        theirs.beginGroup(group);
        const QStringList children = theirs.childKeys();
        theirs.endGroup();
        if (ours.childKeys(group) != children || (!group.isEmpty() && !ours.hasGroup(group)))
            differs(QStringLiteral("child keys of %1: ours %2, QSettings %3")
                        .arg(group, ours.childKeys(group).join(QLatin1Char('|')),
                             children.join(QLatin1Char('|'))));
    }
}

// One key set (or one removed) by QSettings and by updateIniFile: the files written are the
// same bytes, but that IniFile keeps a byte order mark where the file had one (QSettings drops
// it and still writes UTF-8, so that it reads its own text back as Latin-1).
void TestIniFileParity::compareRewrite(QSettings &theirs, const QString &ourPath,
                                       const QString &stem) {
    QStringList keys = theirs.allKeys();
    keys.erase(
        std::remove_if(
            keys.begin(), keys.end(),
            [](const QString &k) { // QSettings sets no "", "/k", "k/" nor "a//b"
                return k.isEmpty() ||
                       k.split(QLatin1Char('/'), Qt::SkipEmptyParts).join(QLatin1Char('/')) != k;
            }),
        keys.end());
    const QString key =
        !keys.isEmpty() && m_gen.chance(70)
            ? keys.at(m_gen.below(keys.size()))
            : QString::fromUtf8(m_gen.pick("k|New/k|A/new|General/x|A/b/c|PROFILE/dpi|odd key%"));
    const bool remove = m_gen.chance(10);
    const QVariant value = m_gen.setting();
    if (remove)
        theirs.remove(key);
    else
        theirs.setValue(key, value);
    theirs.sync();
    QVERIFY(updateIniFile(ourPath, [&](IniFile &ini) {
        if (remove)
            ini.remove(key);
        else if (value.type() == QVariant::LongLong)
            ini.setNumber(key, value.toLongLong());
        else
            ini.setValue(key, value);
    }));
    QByteArray want = readFile(theirs.fileName()); // the file as it was where nothing changed
    if (m_text.startsWith(kByteOrderMark) && !want.startsWith(kByteOrderMark))
        want.prepend(kByteOrderMark);
    const QByteArray got = readFile(ourPath);
    // Values IniFile does not read keep their text, which QSettings writes in its own way
    // ("@Size(1)2)" as "@Size(1 12)"): such files need only read back the same.
    const bool opaque = std::any_of(std::begin(kOpaque), std::end(kOpaque),
                                    [&](const char *form) { return m_text.contains(form); });
    if (got != want && !(opaque && sameReadBack(got, want, stem)))
        differs(QStringLiteral("%1 %2 = %3\n--- IniFile wrote ---\n%4\n--- QSettings wrote ---\n%5")
                    .arg(remove ? QStringLiteral("remove") : QStringLiteral("set"), key,
                         shown(value), visible(got), visible(want)));
}

// A writer waiting for another writer's lock is interrupted by a signal (a child's end, a timer)
// with no restart asked for: it goes back to waiting, and writes once the lock is free.
void TestIniFileParity::lockWaitOutlastsSignals() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("shared.ini"));
    struct sigaction counting = {}, saved = {};
    counting.sa_handler = [](int) { ++g_signals; };
    sigemptyset(&counting.sa_mask);
    g_signals = 0;
    QCOMPARE(sigaction(SIGUSR1, &counting, &saved), 0);
    QSemaphore holding, release;
    std::atomic<pid_t> waiterThread{0};
    std::atomic<bool> written{false};
    bool observable = false;
    {
        std::thread holder([&] {
            updateIniFile(path, [&](IniFile &ini) {
                ini.setNumber(QStringLiteral("first"), 1);
                holding.release();
                release.acquire();
            });
        });
        holding.acquire();
        std::thread waiter([&] {
            waiterThread = pid_t(syscall(SYS_gettid));
            written = updateIniFile(
                path, [](IniFile &ini) { ini.setNumber(QStringLiteral("second"), 2); });
        });
        const auto done = qScopeGuard([&] {
            release.release();
            holder.join();
            waiter.join();
            sigaction(SIGUSR1, &saved, nullptr);
        });
        // The system tells which call a thread waits in.
        auto call = [&] {
            return readFile(QStringLiteral("/proc/self/task/%1/syscall").arg(waiterThread));
        };
        const QByteArray flock = QByteArray::number(SYS_flock) + ' ';
        QTRY_VERIFY(waiterThread != 0);
        QTRY_VERIFY_WITH_TIMEOUT(call().startsWith(flock) || call().isEmpty(), 20000);
        observable = call().startsWith(flock);
        if (observable) {
            pthread_kill(waiter.native_handle(), SIGUSR1);
            QTRY_COMPARE(g_signals.load(), 1);
        }
    }
    if (!observable)
        QSKIP("the system does not show which call a thread waits in");
    QVERIFY(written);
    const IniFile ini(path);
    QCOMPARE(ini.number(QStringLiteral("first")), 1);
    QCOMPARE(ini.number(QStringLiteral("second")), 2);
}

// The same files replaced through each, side by side: a file's permissions stay, a new one
// gets what the umask leaves, and a link (also one to a file not made yet) stays a link to the
// file that is replaced, also when written with another file as one set, and when that set is
// finished from its journal.
void TestIniFileParity::replacesAsQSaveFileDoes() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QByteArray text("[A]\nk=1\n");
    const auto replace = [&](const QString &side, bool ours) {
        const auto at = [&](const char *name) { return dir.filePath(side + '/' + name); };
        QDir().mkpath(at("real"));
        QFile kept(at("kept.ini"));
        QVERIFY(kept.open(QIODevice::WriteOnly));
        kept.close();
        QVERIFY(kept.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
        QVERIFY(QFile(at("real/linked.ini")).open(QIODevice::WriteOnly));
        QVERIFY(QFile::link(at("real/linked.ini"), at("linked.ini")));
        QVERIFY(QFile::link(at("real/later.ini"), at("later.ini")));
        for (const char *name : {"kept.ini", "new.ini", "linked.ini", "later.ini"}) {
            if (ours && name[0] == 'l')
                continue;
            QSaveFile file(at(name));
            QVERIFY(ours ? writeAtomically(at(name), text)
                         : file.open(QIODevice::WriteOnly) && file.write(text) && file.commit());
        }
        // Ours writes the two linked files as one set, through a journal in another folder.
        if (ours) {
            FileSet set(dir.filePath(QStringLiteral("journal/Writes.journal")));
            set.replace(at("linked.ini"), text);
            set.replace(at("later.ini"), text);
            QVERIFY(set.commit());
        }
    };
    replace(QStringLiteral("qt"), false);
    replace(QStringLiteral("ours"), true);
    QDirIterator it(dir.filePath(QStringLiteral("qt")), QDir::Files | QDir::System,
                    QDirIterator::Subdirectories);
    int compared = 0;
    while (it.hasNext()) {
        const QFileInfo theirs(it.next());
        const QFileInfo ours(
            QString(theirs.filePath()).replace(QStringLiteral("/qt/"), QStringLiteral("/ours/")));
        QVERIFY2(ours.exists(), qPrintable(ours.filePath()));
        QCOMPARE(ours.isSymLink(), theirs.isSymLink());
        QCOMPARE(ours.permissions(), theirs.permissions());
        QCOMPARE(readFile(ours.filePath()), readFile(theirs.filePath()));
        ++compared;
    }
    QCOMPARE(compared, 6);
    QCOMPARE(
        QDir(dir.filePath(QStringLiteral("ours"))).entryList(QDir::Files | QDir::System).size(), 4);

    // Such a set killed after its journal is finished at the next start: a file outside the
    // journal's folder is named by its whole path; a path that climbs out is not taken.
    const QString journal = dir.filePath(QStringLiteral("journal/Writes.journal"));
    const QString linked = dir.filePath(QStringLiteral("ours/real/linked.ini"));
    const auto entry = [](const QString &to) {
        return QStringLiteral("{\"renames\":[[\"%1.~Ab12C\",\"%1\"]]}").arg(to).toUtf8();
    };
    QVERIFY(writeFile(linked + QStringLiteral(".~Ab12C"), "new"));
    QVERIFY(writeFile(journal, entry(QStringLiteral("../ours/real/linked.ini"))));
    recoverInterruptedWrites(journal, {}, {});
    QCOMPARE(readFile(linked), text);
    QVERIFY(writeFile(journal, entry(linked)));
    QCOMPARE(recoverInterruptedWrites(journal, {}, {}), 1);
    QCOMPARE(readFile(linked), QByteArray("new"));
}

QTEST_GUILESS_MAIN(TestIniFileParity)
#include "tst_inifile_parity.moc"
