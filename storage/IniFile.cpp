// SPDX-License-Identifier: GPL-3.0-or-later
#include "IniFile.h"

#include "StorageLog.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QRandomGenerator>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
const char kByteOrderMark[] = "\xef\xbb\xbf";
const char kHexDigits[] = "0123456789ABCDEF";

// What each byte is to the line reader, whether a key character needs no escape, and whether
// a value character is written back as it is.
enum CharKind : uchar { LineSpace = 1, LineSpecial = 2, PlainKey = 4, PlainValue = 8 };

struct CharKinds {
    uchar kind[256] = {};
    constexpr CharKinds() {
        for (const char c : {' ', '\t', '\n', '\r'})
            kind[uchar(c)] |= LineSpace;
        for (const char c : {'\n', '\r', '"', ';', '=', '\\'})
            kind[uchar(c)] |= LineSpecial;
        for (int c = 0; c < 128; ++c) {
            if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                c == '_' || c == '-' || c == '.')
                kind[c] |= PlainKey;
            if (c >= ' ' && c < 0x7f && c != '"' && c != '\\' && c != ',' && c != ';' && c != '=')
                kind[c] |= PlainValue;
        }
    }
};
constexpr CharKinds kCharKinds;

bool isLineSpace(char c) {
    return kCharKinds.kind[uchar(c)] & LineSpace;
}

bool isLineSpecial(char c) {
    return kCharKinds.kind[uchar(c)] & LineSpecial;
}

bool isHexDigit(uint c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// One logical line from pos on, as QSettings splits them: blank lines and comments are
// skipped, a ';' outside quotes ends the line, quotes may run over line breaks and a
// backslash joins the next character. False at the end of the text.
bool readLine(const QByteArray &data, int &pos, int &lineStart, int &lineLen, int &equalsPos) {
    const char *d = data.constData();
    const int size = data.size();
    bool inQuotes = false;
    equalsPos = -1;
    lineStart = pos;
    while (lineStart < size && isLineSpace(d[lineStart]))
        ++lineStart;
    int i = lineStart;
    bool done = false;
    while (i < size && !done) {
        while (i < size && !isLineSpecial(d[i]))
            ++i;
        if (i == size)
            break;
        const char ch = d[i++];
        if (ch == '=') {
            if (!inQuotes && equalsPos == -1)
                equalsPos = i - 1;
        } else if (ch == '\n' || ch == '\r') {
            if (i == lineStart + 1) {
                ++lineStart;
            } else if (!inQuotes) {
                --i;
                done = true;
            }
        } else if (ch == '\\') {
            if (i < size) {
                const char next = d[i++];
                if (i < size && ((next == '\n' && d[i] == '\r') || (next == '\r' && d[i] == '\n')))
                    ++i;
            }
        } else if (ch == '"') {
            inQuotes = !inQuotes;
        } else if (i == lineStart + 1) { // a comment: ';' at the start of the line
            while (i < size && d[i] != '\n' && d[i] != '\r')
                ++i;
            while (i < size && isLineSpace(d[i])) // and the blanks that indent the next line
                ++i;
            lineStart = i;
        } else if (!inQuotes) {
            --i;
            done = true;
        }
    }
    pos = i;
    lineLen = i - lineStart;
    return lineLen > 0;
}

// Key text to key: '\' is the group separator '/', %XX and %UXXXX are characters.
void unescapeKey(const QByteArray &key, int from, int to, QString &result) {
    // A key without escapes: its bytes, '\\' read as '/'.
    const char *k = key.constData();
    int plain = from;
    while (plain < to && (kCharKinds.kind[uchar(k[plain])] & PlainKey || k[plain] == '\\'))
        ++plain;
    if (plain == to) {
        const int start = result.size();
        result.resize(start + (to - from));
        ushort *out = reinterpret_cast<ushort *>(result.data()) + start;
        for (int i = from; i < to; ++i)
            *out++ = k[i] == '\\' ? ushort('/') : ushort(uchar(k[i]));
        return;
    }
    result.reserve(result.size() + (to - from));
    int i = from;
    while (i < to) {
        const uchar ch = uchar(key.at(i));
        if (ch == '\\') {
            result += QLatin1Char('/');
            ++i;
            continue;
        }
        if (ch != '%' || i == to - 1) {
            result += QLatin1Char(char(ch));
            ++i;
            continue;
        }
        const int first = key.at(i + 1) == 'U' ? i + 2 : i + 1;
        const int digits = key.at(i + 1) == 'U' ? 4 : 2;
        // The digits are read as QSettings reads them, with toInt: a sign or blanks pass
        // ("%+1" and "% 1" are U+0001, "%-1" is U+FFFF, "%U0x41" is 'A'), so that such a key
        // is the same key to both.
        bool ok = false;
        const int code = first + digits > to ? 0 : key.mid(first, digits).toInt(&ok, 16);
        if (!ok) {
            result += QLatin1Char('%');
            ++i;
            continue;
        }
        result += QChar(code);
        i = first + digits;
    }
}

void escapeKey(const QStringRef &key, QByteArray &result) {
    // Most keys are plain: letters, digits and "_-./", each one byte.
    const int start = result.size();
    result.resize(start + key.size());
    char *out = result.data() + start;
    const ushort *in = reinterpret_cast<const ushort *>(key.unicode());
    const int size = key.size();
    int plain = 0;
    for (; plain < size; ++plain) {
        const ushort ch = in[plain];
        if (ch == '/')
            out[plain] = '\\';
        else if (ch < 128 && kCharKinds.kind[ch] & PlainKey)
            out[plain] = char(ch);
        else
            break;
    }
    if (plain == size)
        return;
    result.truncate(start);
    for (const QChar c : key) {
        uint ch = c.unicode();
        if (ch == '/') {
            result += '\\';
        } else if ((ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') ||
                   (ch >= '0' && ch <= '9') || ch == '_' || ch == '-' || ch == '.') {
            result += char(ch);
        } else if (ch <= 0xFF) {
            result += '%';
            result += kHexDigits[ch / 16];
            result += kHexDigits[ch % 16];
        } else {
            char code[4];
            for (int k = 3; k >= 0; --k, ch >>= 4)
                code[k] = kHexDigits[ch % 16];
            result += "%U";
            result.append(code, 4);
        }
    }
}

void chopTrailingSpaces(QString &s, int limit) {
    int n = s.size() - 1;
    while (n >= limit && (s.at(n) == QLatin1Char(' ') || s.at(n) == QLatin1Char('\t')))
        s.truncate(n--);
}

// Value text to string, or to a list where it has commas outside quotes: QSettings'
// escapes (\n, \x4e2d, \101 ...), quoting, and trimming of unquoted blanks.
bool unescapeValue(const QByteArray &raw, QString &result, QStringList &list, bool utf8) {
    static const char escapes[][2] = {{'a', '\a'}, {'b', '\b'},  {'f', '\f'}, {'n', '\n'},
                                      {'r', '\r'}, {'t', '\t'},  {'v', '\v'}, {'"', '"'},
                                      {'?', '?'},  {'\'', '\''}, {'\\', '\\'}};
    enum State { SkipSpaces, Normal, HexEscape, OctEscape, End };
    const char *d = raw.constData();
    const int to = raw.size();
    bool isList = false;
    bool inQuotes = false;
    bool quoted = false;
    uint code = 0;
    int i = 0;
    int chopLimit = 0;
    State state = SkipSpaces;
    result.reserve(to); // as in Qt, whose values are never null strings (but a list's later items)
    while (state != End) {
        switch (state) {
        case SkipSpaces:
            while (i < to && (d[i] == ' ' || d[i] == '\t'))
                ++i;
            state = Normal;
            break;
        case Normal: {
            chopLimit = result.size();
            State next = End;
            while (i < to && next == End) {
                const char ch = d[i];
                if (ch == '\\') {
                    if (++i >= to)
                        return isList ? (list.append(result), true) : false;
                    const char e = d[i++];
                    bool known = false;
                    for (const auto &pair : escapes) {
                        if (e == pair[0]) {
                            result += QLatin1Char(pair[1]);
                            known = true;
                        }
                    }
                    if (known) {
                        next = Normal;
                    } else if (e == 'x') {
                        code = 0;
                        if (i >= to)
                            return isList ? (list.append(result), true) : false;
                        if (isHexDigit(uchar(d[i])))
                            next = HexEscape;
                    } else if (e >= '0' && e <= '7') {
                        code = uint(e - '0');
                        next = OctEscape;
                    } else if ((e == '\n' || e == '\r') && i < to &&
                               (d[i] == '\n' || d[i] == '\r') && d[i] != e) {
                        ++i; // an escaped line break of two characters
                    }
                    if (next == End)
                        chopLimit = result.size();
                } else if (ch == '"') {
                    ++i;
                    quoted = true;
                    inQuotes = !inQuotes;
                    if (!inQuotes)
                        next = SkipSpaces;
                } else if (ch == ',' && !inQuotes) {
                    if (!quoted)
                        chopTrailingSpaces(result, chopLimit);
                    if (!isList) {
                        isList = true;
                        list.clear();
                    }
                    list.append(result);
                    result.clear();
                    quoted = false;
                    ++i;
                    next = SkipSpaces;
                } else {
                    int j = i + 1;
                    while (j < to && d[j] != '\\' && d[j] != '"' && d[j] != ',')
                        ++j;
                    result +=
                        utf8 ? QString::fromUtf8(d + i, j - i) : QString::fromLatin1(d + i, j - i);
                    i = j;
                }
            }
            if (next == End && !quoted)
                chopTrailingSpaces(result, chopLimit);
            state = next;
            break;
        }
        case HexEscape:
        case OctEscape: {
            const bool hex = state == HexEscape;
            char ch = i < to ? d[i] : 0;
            if (hex && ch >= 'a')
                ch = char(ch - ('a' - 'A'));
            const bool digit = hex ? ((ch >= '0' && ch <= '9') || (ch >= 'A' && ch <= 'F'))
                                   : (ch >= '0' && ch <= '7');
            if (i < to && digit) {
                code = code * (hex ? 16 : 8) + uint(ch <= '9' ? ch - '0' : ch - 'A' + 10);
                ++i;
            } else {
                result += QChar(code);
                state = i < to ? Normal : End;
            }
            break;
        }
        case End:
            break;
        }
    }
    if (isList)
        list.append(result);
    return isList;
}

void escapeValue(const QString &s, QByteArray &result, bool utf8) {
    const bool useCodec = utf8 && !s.startsWith(QLatin1String("@ByteArray(")) &&
                          !s.startsWith(QLatin1String("@Variant("));
    const int start = result.size();
    bool needsQuotes = false;
    bool escapeNextIfDigit = false;
    for (int i = 0; i < s.size(); ++i) {
        const uint ch = s.at(i).unicode();
        if (ch == ';' || ch == ',' || ch == '=')
            needsQuotes = true;
        if (escapeNextIfDigit && isHexDigit(ch)) {
            result += "\\x" + QByteArray::number(ch, 16);
            continue;
        }
        escapeNextIfDigit = false;
        switch (ch) {
        case '\0':
            result += "\\0";
            escapeNextIfDigit = true;
            break;
        case '\a':
            result += "\\a";
            break;
        case '\b':
            result += "\\b";
            break;
        case '\f':
            result += "\\f";
            break;
        case '\n':
            result += "\\n";
            break;
        case '\r':
            result += "\\r";
            break;
        case '\t':
            result += "\\t";
            break;
        case '\v':
            result += "\\v";
            break;
        case '"':
        case '\\':
            result += '\\';
            result += char(ch);
            break;
        default:
            if (ch <= 0x1F || (ch >= 0x7F && !useCodec)) {
                result += "\\x" + QByteArray::number(ch, 16);
                escapeNextIfDigit = true;
            } else if (useCodec) {
                const bool pair = s.at(i).isHighSurrogate() && i + 1 < s.size();
                result += s.mid(i, pair ? 2 : 1).toUtf8();
                i += pair ? 1 : 0;
            } else {
                result += char(ch);
            }
        }
    }
    if (needsQuotes || (start < result.size() &&
                        (result.at(start) == ' ' || result.at(result.size() - 1) == ' '))) {
        result.insert(start, '"');
        result += '"';
    }
}

// The value text QSettings writes for a number, a string or a serialised value.
QString valueText(const QVariant &v) {
    switch (int(v.type())) {
    case QMetaType::UnknownType:
        return QStringLiteral("@Invalid()");
    case QMetaType::QByteArray: {
        const QByteArray bytes = v.toByteArray();
        return QLatin1String("@ByteArray(") + QString::fromLatin1(bytes.constData(), bytes.size()) +
               QLatin1Char(')');
    }
    case QMetaType::QString:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Bool:
    case QMetaType::Float:
    case QMetaType::Double: {
        const QString s = v.toString();
        if (s.contains(QChar::Null))
            return QLatin1String("@String(") + s + QLatin1Char(')');
        return s.startsWith(QLatin1Char('@')) ? QLatin1Char('@') + s : s;
    }
    default: {
        QByteArray bytes;
        QDataStream out(&bytes, QIODevice::WriteOnly);
        out.setVersion(QDataStream::Qt_4_0);
        out << v;
        return QLatin1String("@Variant(") + QString::fromLatin1(bytes.constData(), bytes.size()) +
               QLatin1Char(')');
    }
    }
}

// What follows the type of a serialised colour: the colour model (1 byte) and five 16-bit
// components.
constexpr int kColourBytes = 1 + 5 * 2;

// "@Variant(...)" (offset 9, Qt 4.0 streams) and "@DateTime(...)" (offset 10, Qt 5.6): numbers,
// strings and colours read as QSettings reads them, a type cut short or none as no value.
// Anything else, whose reading Qt does not check, reads as no value and is opaque; so is a
// colour of a model QColor does not have (Qt would copy it into its enum unchecked) or cut
// short (Qt would read past the end and fill it with zeros).
QVariant serialisedValue(const QString &text, int offset, QDataStream::Version version,
                         bool &opaque) {
    // The ')' belongs to the bytes: a value cut short takes it in, as in Qt.
    const QByteArray bytes = text.midRef(offset).toLatin1();
    QDataStream in(bytes);
    in.setVersion(version);
    quint32 type = 0;
    in >> type;
    if (version < QDataStream::Qt_5_0) { // type numbers of Qt 4, as Qt maps them to its own
        if (type == 127)
            type = QMetaType::User;
        else if (type >= 128 && type != QMetaType::User)
            type -= 97;
        else if (type > 75 && type <= 86)
            type -= 1;
    }
    const int header = version >= QDataStream::Qt_4_2 ? 5 : 4; // the type, a null flag
    switch (type) {
    case QMetaType::UnknownType:
        return QVariant();
    case QMetaType::QColor: {
        const int model = bytes.size() < header + kColourBytes ? -1 : qint8(bytes.at(header));
        if (model < QColor::Invalid || model > QColor::ExtendedRgb) {
            opaque = true;
            return QVariant(QColor());
        }
        break;
    }
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::QString:
    case QMetaType::QByteArray:
        break;
    default:
        opaque = true;
        return QVariant();
    }
    QDataStream whole(bytes);
    whole.setVersion(version);
    QVariant v;
    whole >> v;
    return v;
}

// How many arguments QSettings finds in "@Size(1 2)": one for each blank or ')' after the '('.
int argumentCount(const QString &s, int open) {
    int count = 0;
    for (int i = open + 1; i < s.size(); ++i)
        count += s.at(i) == QLatin1Char(' ') || s.at(i) == QLatin1Char(')');
    return count;
}

// What QSettings reads from a value's text. Serialised values it reads as types other than
// numbers, strings and colours, and damaged colours, read as no value and are opaque: their
// text is kept as it is.
QVariant stringValue(const QString &s, bool &opaque) {
    if (!s.startsWith(QLatin1Char('@')))
        return s;
    if (s.endsWith(QLatin1Char(')'))) {
        if (s.startsWith(QLatin1String("@ByteArray(")))
            return s.midRef(11, s.size() - 12).toLatin1();
        if (s.startsWith(QLatin1String("@String(")))
            return s.mid(8, s.size() - 9);
        if (s.startsWith(QLatin1String("@Variant(")))
            return serialisedValue(s, 9, QDataStream::Qt_4_0, opaque);
        if (s.startsWith(QLatin1String("@DateTime(")))
            return serialisedValue(s, 10, QDataStream::Qt_5_6, opaque);
        // A rectangle, size or point with the wrong number of arguments is a string to Qt.
        if ((s.startsWith(QLatin1String("@Rect(")) && argumentCount(s, 5) == 4) ||
            (s.startsWith(QLatin1String("@Size(")) && argumentCount(s, 5) == 2) ||
            (s.startsWith(QLatin1String("@Point(")) && argumentCount(s, 6) == 2)) {
            opaque = true;
            return QVariant();
        }
        if (s == QLatin1String("@Invalid()"))
            return QVariant();
    }
    if (s.startsWith(QLatin1String("@@")))
        return s.mid(1);
    return s;
}

QVariant stringValue(const QString &s) {
    bool opaque = false;
    return stringValue(s, opaque);
}

QVariant listValue(const QStringList &list) {
    QStringList strings = list;
    for (QString &s : strings) {
        if (!s.startsWith(QLatin1Char('@')))
            continue;
        if (s.size() >= 2 && s.at(1) == QLatin1Char('@')) {
            s.remove(0, 1);
            continue;
        }
        QVariantList values;
        for (const QString &item : list)
            values << stringValue(item);
        return values;
    }
    return strings;
}

// The text QSettings writes back for a value it read from s (a number read from "@Variant(...)"
// is written as its digits, "@foo" as "@@foo"); an opaque value keeps its text.
void appendRewritten(const QString &s, QByteArray &out, bool utf8) {
    bool opaque = false;
    const QVariant v = stringValue(s, opaque);
    escapeValue(opaque ? s : valueText(v), out, utf8);
}

// A value's escaped text that writing it back leaves as it is: printable ASCII that needs no
// escape nor quotes, no list, no leading '@' and no blank at either end. Most values are.
bool writtenBackAsItIs(const QByteArray &raw) {
    const int n = raw.size();
    if (n > 0 && (raw[0] == '@' || raw[0] == ' ' || raw[n - 1] == ' '))
        return false;
    for (const char c : raw) {
        if (!(kCharKinds.kind[uchar(c)] & PlainValue))
            return false;
    }
    return true;
}

// A key as QSettings takes it: no slash at either end, none doubled ("MouseLEDMode/" is
// "MouseLEDMode").
QString normalized(const QString &key) {
    const ushort *c = key.utf16();
    const int n = key.size();
    bool clean = n == 0 || (c[0] != '/' && c[n - 1] != '/');
    for (int i = 1; i < n && clean; ++i)
        clean = !(c[i] == '/' && c[i - 1] == '/');
    if (clean)
        return key;
    return key.split(QLatin1Char('/'), Qt::SkipEmptyParts).join(QLatin1Char('/'));
}

} // namespace

FileWriteLock::FileWriteLock(const QString &path, bool wait)
    : m_path(QFile::encodeName(path + ".flock")) {
    for (;;) {
        m_fd = ::open(m_path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (m_fd < 0)
            return;
        int locked = 0;
        do { // a signal that ends the wait early does not end it
            locked = ::flock(m_fd, wait ? LOCK_EX : LOCK_EX | LOCK_NB);
        } while (locked != 0 && errno == EINTR);
        if (locked != 0)
            break;
        // The file locked must still be the one of that name: a holder removes it as it lets
        // go, and a waiter then holds a file no one else sees.
        struct stat held, named;
        if (::fstat(m_fd, &held) == 0 && ::stat(m_path.constData(), &named) == 0 &&
            held.st_ino == named.st_ino && held.st_dev == named.st_dev)
            return;
        ::close(m_fd);
    }
    ::close(m_fd);
    m_fd = -1;
}

FileWriteLock::~FileWriteLock() {
    if (m_fd >= 0) {
        ::unlink(m_path.constData());
        ::close(m_fd);
    }
}

namespace {
// What every temporary file of ours carries between its target's name and its five letters or
// digits, so that no file of the user's (a backup "Config.ini.240601" or "Config.ini.backup",
// say) is taken for one. The ending is as long as the ".XXXXXX" of earlier writes, so that
// every name that fitted a file name before still does.
const QLatin1String kTemporaryMark(".~");
constexpr int kTagSize = 5;

bool isTag(const QStringRef &tag) {
    if (tag.size() != kTagSize)
        return false;
    for (const QChar c : tag) {
        const ushort u = c.unicode();
        if (!((u >= '0' && u <= '9') || (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z')))
            return false;
    }
    return true;
}

QString temporaryName(const QString &target) {
    static const char kTagChars[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QString name = target + kTemporaryMark;
    for (int i = 0; i < kTagSize; ++i)
        name += QLatin1Char(kTagChars[QRandomGenerator::global()->bounded(62)]);
    return name;
}

bool writeFully(int fd, const QByteArray &content) {
    const char *p = content.constData();
    qint64 left = content.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
        left -= n;
    }
    return true;
}

// "<target>.~XXXXX", the name of a temporary file a write makes beside its target.
// Empty when the name is not one.
QString interruptedWriteTarget(const QString &name) {
    const int mark = name.size() - kTagSize - kTemporaryMark.size();
    if (mark < 1 || !name.midRef(mark).startsWith(kTemporaryMark) ||
        !isTag(name.midRef(mark + kTemporaryMark.size())))
        return QString();
    return name.left(mark);
}
} // namespace

bool isTemporaryOf(const QString &temporary, const QString &target) {
    return temporary.startsWith(target) &&
           interruptedWriteTarget(temporary).size() == target.size();
}

QString writeTemporary(const QString &target, const QByteArray &content) {
    struct stat old;
    const bool existed = ::stat(QFile::encodeName(target).constData(), &old) == 0;
    for (int attempt = 0; attempt < 64; ++attempt) {
        const QString temporary = temporaryName(target);
        const QByteArray name = QFile::encodeName(temporary);
        // Unreadable to others until it has the target's permissions; a new file gets the
        // ones the umask leaves.
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                              existed ? 0600 : 0666);
        if (fd < 0 && errno == EEXIST)
            continue;
        if (fd < 0)
            return QString();
        bool written = (!existed || ::fchmod(fd, old.st_mode & 07777) == 0) &&
                       writeFully(fd, content) && ::fdatasync(fd) == 0;
        written = ::close(fd) == 0 && written;
        if (written)
            return temporary;
        ::unlink(name.constData());
        return QString();
    }
    return QString();
}

QString linkedFile(const QString &path) {
    QFileInfo info(path);
    for (int depth = 0; depth < 40 && info.isSymLink(); ++depth)
        info.setFile(info.symLinkTarget());
    return info.isSymLink() ? path : info.filePath();
}

bool writeAtomically(const QString &path, const QByteArray &text) {
    // A link (a dotfile kept elsewhere) stays a link: the file it leads to is replaced, also
    // one not made yet.
    const QString target = linkedFile(path);
    const QString temporary = writeTemporary(target, text);
    if (temporary.isEmpty())
        return false;
    const QByteArray from = QFile::encodeName(temporary);
    if (::rename(from.constData(), QFile::encodeName(target).constData()) == 0)
        return true;
    ::unlink(from.constData());
    return false;
}

IniFile::IniFile(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_unreadable = file.error() != QFileDevice::OpenError || QFileInfo::exists(path);
        return;
    }
    m_existed = true;
    const QByteArray text = file.readAll();
    m_unreadable = file.error() != QFileDevice::NoError;
    parse(text);
}

namespace {
// FNV-1a: Qt's own string hash gives many keys of a profile the same value, as they differ
// only in digits at the same places ("BUTTON_INFO_3_KeyInfo_5_").
uint keyHash(const QString &key) {
    quint64 hash = 0xcbf29ce484222325ull;
    for (const QChar c : key)
        hash = (hash ^ c.unicode()) * 0x100000001b3ull;
    return uint(hash ^ (hash >> 32));
}
} // namespace

int IniFile::slotOf(const QString &key, uint hash) const {
    const size_t mask = m_slots.size() - 1;
    size_t slot = hash & mask;
    while (m_slots[slot].entry != 0) {
        if (m_slots[slot].hash == hash && m_entries[size_t(m_slots[slot].entry - 1)].key == key)
            break;
        slot = (slot + 1) & mask;
    }
    return int(slot);
}

int IniFile::find(const QString &key) const {
    if (m_slots.empty())
        return -1;
    const int entry = m_slots[size_t(slotOf(key, keyHash(key)))].entry - 1;
    return entry >= 0 && !m_entries[size_t(entry)].removed ? entry : -1;
}

IniFile::Entry &IniFile::entryFor(const QString &key, bool &isNew) {
    // The table stays at most half full.
    if (m_entries.size() * 2 >= m_slots.size()) {
        m_slots.assign(std::max<size_t>(64, m_slots.size() * 2), Slot());
        for (size_t i = 0; i < m_entries.size(); ++i) {
            const uint hash = m_entries[i].hash;
            m_slots[size_t(slotOf(m_entries[i].key, hash))] = Slot{hash, int(i + 1)};
        }
    }
    const uint hash = keyHash(key);
    Slot &slot = m_slots[size_t(slotOf(key, hash))];
    isNew = slot.entry == 0;
    if (isNew) {
        m_entries.push_back(Entry{key, hash, key.indexOf(QLatin1Char('/')), 0, 0, false, false, 0});
        slot = Slot{hash, int(m_entries.size())};
    }
    return m_entries[size_t(slot.entry - 1)];
}

void IniFile::addEntry(const QString &key, int start, int length) {
    // A key set again takes the last value; a removed one comes back.
    bool isNew = false;
    Entry &e = entryFor(key, isNew);
    e.start = start;
    e.length = length;
    e.written = true;
    e.removed = false;
    m_changed = true;
}

void IniFile::parse(const QByteArray &text) {
    m_data = text;
    m_entries.clear();
    m_written.clear();
    m_slots.clear();
    m_changed = false;
    m_utf8 = m_data.startsWith(kByteOrderMark);
    int pos = m_utf8 ? 3 : 0;
    m_entries.reserve(size_t(m_data.size() / 24));
    QString section; // "" for [General], otherwise the name and '/'
    // QSettings reads the sections in the order of their names, each with its lines in the
    // order of the file, so that a key given twice keeps the value last in that order:
    // "[A\b] c=" wins over "[A] b\c=" wherever each stands.
    std::vector<QString> sections{QString()};
    bool firstLine = true;
    int lineStart = 0;
    int lineLen = 0;
    int equalsPos = -1;
    while (readLine(m_data, pos, lineStart, lineLen, equalsPos)) {
        const char *d = m_data.constData();
        const int lineEnd = lineStart + lineLen;
        if (d[lineStart] == '[') {
            const int close = m_data.indexOf(']', lineStart);
            const bool closed = close != -1 && close < lineEnd;
            const QByteArray name =
                m_data.mid(lineStart + 1, closed ? close - lineStart - 1 : lineLen - 1).trimmed();
            section.clear();
            if (qstricmp(name.constData(), "%general") == 0) {
                section = QLatin1String(name.constData() + 1) + QLatin1Char('/');
            } else if (qstricmp(name.constData(), "general") != 0) {
                unescapeKey(name, 0, name.size(), section);
                section += QLatin1Char('/');
            }
            sections.push_back(section);
            firstLine = false;
            continue;
        }
        // Qt reads the lines before the first section from the start of the file, byte order
        // mark included: a key on the first line begins with its three bytes, read as Latin-1.
        const bool markInKey = firstLine && m_utf8 && std::all_of(d + 3, d + lineStart, [](char c) {
                                   return c == ' ' || c == '\t';
                               });
        const int keyStart = markInKey ? 0 : lineStart;
        firstLine = false;
        if (equalsPos == -1)
            continue;
        int keyEnd = equalsPos;
        while (keyEnd > keyStart && (d[keyEnd - 1] == ' ' || d[keyEnd - 1] == '\t'))
            --keyEnd;
        QString key = section;
        unescapeKey(m_data, keyStart, keyEnd, key);
        bool isNew = false;
        Entry &e = entryFor(key, isNew);
        const int current = int(sections.size()) - 1;
        if (!isNew && sections.back() < sections[size_t(e.section)])
            continue;
        e.section = current;
        e.start = equalsPos + 1;
        e.length = lineEnd - equalsPos - 1;
    }
}

QByteArray IniFile::rawValue(const Entry &e) const {
    return QByteArray::fromRawData((e.written ? m_written : m_data).constData() + e.start,
                                   e.length);
}

QVariant IniFile::decode(const QByteArray &raw) const {
    QString s;
    QStringList list;
    if (unescapeValue(raw, s, list, m_utf8))
        return listValue(list);
    return stringValue(s);
}

bool IniFile::contains(const QString &key) const {
    return find(normalized(key)) >= 0;
}

QVariant IniFile::value(const QString &key, const QVariant &def) const {
    const int entry = find(normalized(key));
    if (entry < 0)
        return def;
    return decode(rawValue(m_entries[size_t(entry)]));
}

long long IniFile::number(const QString &key, long long def) const {
    const int entry = find(normalized(key));
    if (entry < 0)
        return def;
    const QByteArray raw = rawValue(m_entries[size_t(entry)]);
    const int sign = raw.startsWith('-') ? 1 : 0;
    const int digits = raw.size() - sign;
    long long n = 0;
    for (int i = sign; i < raw.size() && digits <= 18; ++i) {
        if (raw[i] < '0' || raw[i] > '9')
            return decode(raw).toLongLong();
        n = n * 10 + (raw[i] - '0');
    }
    if (digits < 1 || digits > 18)
        return decode(raw).toLongLong();
    return sign ? -n : n;
}

QColor IniFile::colour(const QString &key) const {
    const QVariant v = value(key);
    return v.canConvert<QColor>() ? v.value<QColor>() : QColor();
}

bool IniFile::hasGroup(const QString &group) const {
    const QString prefix = normalized(group) + QLatin1Char('/');
    return std::any_of(m_entries.begin(), m_entries.end(),
                       [&](const Entry &e) { return !e.removed && e.key.startsWith(prefix); });
}

QStringList IniFile::childKeys(const QString &group) const {
    const QString name = normalized(group);
    const QString prefix = name.isEmpty() ? name : name + QLatin1Char('/');
    QStringList keys;
    for (const Entry &e : m_entries) {
        if (!e.removed && e.key.startsWith(prefix) &&
            e.key.indexOf(QLatin1Char('/'), prefix.size()) < 0)
            keys << e.key.mid(prefix.size());
    }
    std::sort(keys.begin(), keys.end());
    return keys;
}

QStringList IniFile::allKeys() const {
    QStringList keys;
    for (const Entry &e : m_entries) {
        if (!e.removed)
            keys << e.key;
    }
    std::sort(keys.begin(), keys.end());
    return keys;
}

void IniFile::setValue(const QString &key, const QVariant &value) {
    const int start = m_written.size();
    escapeValue(valueText(value), m_written, m_utf8);
    addEntry(normalized(key), start, m_written.size() - start);
}

void IniFile::setNumber(const QString &key, long long number) {
    const int start = m_written.size();
    char digits[24];
    char *end = digits + sizeof digits;
    char *p = end;
    unsigned long long n =
        number < 0 ? 0ull - (unsigned long long)number : (unsigned long long)number;
    do {
        *--p = char('0' + n % 10);
        n /= 10;
    } while (n != 0);
    if (number < 0)
        *--p = '-';
    m_written.append(p, int(end - p));
    addEntry(normalized(key), start, m_written.size() - start);
}

void IniFile::remove(const QString &name) {
    const QString key = normalized(name);
    const QString prefix = key + QLatin1Char('/');
    for (Entry &e : m_entries) {
        if (!e.removed && (e.key == key || e.key.startsWith(prefix))) {
            e.removed = true;
            m_changed = true;
        }
    }
}

QByteArray IniFile::text() const {
    // QSettings' order: groups by name ([General] first), keys by name within each.
    struct Section {
        QStringRef name;
        std::vector<const Entry *> entries;
    };
    std::vector<Section> sections;
    QHash<QStringRef, size_t> sectionOf;
    size_t last = 0;
    for (const Entry &e : m_entries) {
        if (e.removed)
            continue;
        const QStringRef group = e.group();
        if (sections.empty() || sections[last].name != group) {
            auto it = sectionOf.find(group);
            if (it == sectionOf.end()) {
                it = sectionOf.insert(group, sections.size());
                sections.push_back(Section{group, {}});
            }
            last = *it;
        }
        sections[last].entries.push_back(&e);
    }
    std::sort(sections.begin(), sections.end(),
              [](const Section &a, const Section &b) { return a.name < b.name; });
    QByteArray out;
    out.reserve(m_data.size() + m_written.size() + int(m_entries.size()) * 24 + 64);
    if (m_utf8)
        out += kByteOrderMark;
    for (Section &section : sections) {
        if (&section != &sections.front())
            out += '\n';
        QByteArray name;
        escapeKey(section.name, name);
        if (name.isEmpty())
            out += "[General]";
        else if (qstricmp(name.constData(), "general") == 0)
            out += "[%General]";
        else
            out += '[' + name + ']';
        out += '\n';
        sortByName(section.entries);
        const size_t count = section.entries.size();
        for (size_t i = 0; i < count; ++i) {
            const Entry *e = section.entries[i];
            // "/k" (from a section "[]") and "k" are both "k" of [General]: QSettings writes
            // one of them, the one later in key order.
            const Entry *next = i + 1 < count ? section.entries[i + 1] : nullptr;
            if (next && (e->slash == 0 || next->slash == 0) && next->name() == e->name())
                continue;
            escapeKey(e->name(), out);
            out += '=';
            appendValue(*e, out);
            out += '\n';
        }
    }
    return out;
}

void IniFile::appendValue(const Entry &e, QByteArray &out) const {
    // Every value is written as QSettings writes what it read, never copied as it stood: a
    // damaged value (a trailing backslash, a quote never closed) would take in the line after.
    const QByteArray raw = rawValue(e);
    if (e.written || writtenBackAsItIs(raw)) {
        out += raw;
        return;
    }
    QString s;
    QStringList list;
    if (!unescapeValue(raw, s, list, m_utf8)) {
        appendRewritten(s, out, m_utf8);
        return;
    }
    for (int i = 0; i < list.size(); ++i) {
        if (i > 0)
            out += ", ";
        appendRewritten(list.at(i), out, m_utf8);
    }
}

void IniFile::sortByName(std::vector<const Entry *> &entries) {
    auto before = [](const Entry *a, const Entry *b) {
        const int c = a->name().compare(b->name());
        return c < 0 || (c == 0 && a->key < b->key);
    };
    if (std::is_sorted(entries.begin(), entries.end(), before))
        return; // a file as read, or as QSettings wrote it
    // A profile group is written with the same keys in the same order every time: its
    // order is worked out once.
    struct Order {
        std::vector<QString> names;
        std::vector<int> sorted;
    };
    static QMutex mutex;
    static std::vector<Order> orders;
    const size_t n = entries.size();
    QMutexLocker lock(&mutex);
    for (const Order &o : orders) {
        if (o.names.size() != n)
            continue;
        size_t i = 0;
        while (i < n && entries[i]->name() == o.names[i])
            ++i;
        if (i < n)
            continue;
        const std::vector<const Entry *> given = entries;
        for (i = 0; i < n; ++i)
            entries[i] = given[size_t(o.sorted[i])];
        return;
    }
    std::vector<int> sorted(n);
    for (size_t i = 0; i < n; ++i)
        sorted[i] = int(i);
    std::sort(sorted.begin(), sorted.end(),
              [&](int a, int b) { return before(entries[size_t(a)], entries[size_t(b)]); });
    auto sameName = [&](int a, int b) {
        return entries[size_t(a)]->name() == entries[size_t(b)]->name();
    };
    if (n >= 1024 && orders.size() < 4 &&
        std::adjacent_find(sorted.begin(), sorted.end(), sameName) == sorted.end()) {
        Order o;
        for (const Entry *e : entries)
            o.names.push_back(e->name().toString());
        o.sorted = sorted;
        orders.push_back(std::move(o));
    }
    const std::vector<const Entry *> given = entries;
    for (size_t i = 0; i < n; ++i)
        entries[i] = given[size_t(sorted[i])];
}

bool IniFile::save(const QString &path) const {
    return replaceFile(path, text());
}

bool replaceFile(const QString &path, const QByteArray &content) {
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    const FileWriteLock lock(path, true);
    return lock.held() && writeAtomically(path, content);
}

bool copyFileOver(const QString &from, const QString &to) {
    if (QFileInfo(from).canonicalFilePath() == QFileInfo(to).canonicalFilePath() &&
        QFileInfo::exists(to))
        return true;
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        return false;
    const QByteArray text = source.readAll();
    // A read cut short is no copy.
    return source.error() == QFileDevice::NoError && replaceFile(to, text);
}

bool updateIniFile(const QString &path, const std::function<void(IniFile &)> &change) {
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    const FileWriteLock lock(path, true);
    if (!lock.held())
        return false;
    IniFile ini(path);
    if (ini.unreadable()) {
        qCWarning(lcStorage, "Not written: %s could not be read", qPrintable(path));
        return false;
    }
    change(ini);
    // A change that sets nothing and removes nothing leaves the file as it is (a missing one
    // is not made), as with QSettings; so does one that gives the file's text again, and
    // nothing waits for the disk.
    if (!ini.m_changed)
        return true;
    const QByteArray text = ini.text();
    return text == ini.m_data || writeAtomically(path, text);
}

int removeInterruptedWrites(const QString &folder, const QStringList &suffixes) {
    const QDir dir(folder);
    int removed = 0;
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden)) {
        const QString target = interruptedWriteTarget(name);
        if (target.isEmpty() || !suffixes.contains(QFileInfo(target).suffix()))
            continue;
        // A writer still at work holds the target's lock; a killed one holds it no more.
        const FileWriteLock lock(dir.filePath(target), false);
        if (lock.held() && QFile::remove(dir.filePath(name)))
            ++removed;
    }
    return removed;
}
