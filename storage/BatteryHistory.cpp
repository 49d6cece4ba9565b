// SPDX-License-Identifier: GPL-3.0-or-later
#include "BatteryHistory.h"

#include "AppConfig.h"
#include "IniFile.h"
#include "StorageLog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThreadPool>

#include <algorithm>

namespace {
const QByteArray kHeader = QByteArrayLiteral("mousecfg-battery-history 1");
constexpr qint64 kDayMs = 24 * 60 * 60 * 1000;
// Far more than kMaxSamples lines take: a larger file is no history of ours.
constexpr qint64 kMaxFileBytes = 4 * 1024 * 1024;
const QString kBadEnding = QStringLiteral(".bad");

// One line of the file, or false when it is not one.
bool parseSample(const QByteArray &line, BatterySample &s) {
    const QList<QByteArray> fields = line.split(' ');
    if (fields.size() != 4)
        return false;
    bool ok[4];
    s.timeMs = fields[0].toLongLong(&ok[0]);
    s.millivolts = fields[1].toInt(&ok[1]);
    s.level = fields[2].toInt(&ok[2]);
    const int charging = fields[3].toInt(&ok[3]);
    s.charging = charging == 1;
    return std::all_of(ok, ok + 4, [](bool b) { return b; }) && s.timeMs >= 0 &&
           s.millivolts >= 0 && s.millivolts <= 100000 && s.level >= 0 && s.level <= 100 &&
           (charging == 0 || charging == 1);
}

// The file's text.
QByteArray historyText(const QVector<BatterySample> &samples) {
    QByteArray text = kHeader + '\n';
    text.reserve(samples.size() * 32);
    for (const BatterySample &s : samples) {
        text += QByteArray::number(s.timeMs) + ' ' + QByteArray::number(s.millivolts) + ' ' +
                QByteArray::number(s.level) + ' ' + (s.charging ? '1' : '0') + '\n';
    }
    return text;
}

// How many readings are from timeMs or before.
int countUpTo(const QVector<BatterySample> &samples, qint64 timeMs) {
    return int(std::upper_bound(samples.cbegin(), samples.cend(), timeMs,
                                [](qint64 t, const BatterySample &s) { return t < s.timeMs; }) -
               samples.cbegin());
}
} // namespace

BatteryHistory::BatteryHistory(const QString &model, QThreadPool *writer)
    : m_model(model), m_path(filePath(model)), m_writer(writer) {
    // What a write killed before its rename left beside the file.
    removeInterruptedWrites(folder(), {QStringLiteral("battery")});
    m_samples = readFile();
    m_savedUpToMs = m_samples.isEmpty() ? -1 : m_samples.last().timeMs;
}

BatteryHistory::~BatteryHistory() {
    flush();
}

QString BatteryHistory::folder() {
    // Qt 5 has no state location; a relative XDG_STATE_HOME is to be ignored.
    QString base = QFile::decodeName(qgetenv("XDG_STATE_HOME"));
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/state");
    return base + QStringLiteral("/mousecfg");
}

QString BatteryHistory::filePath(const QString &model) {
    QString name = model;
    for (QChar &c : name) {
        if (!isSafeFileName(QString(c)) && c != QLatin1Char('.'))
            c = QLatin1Char('_');
    }
    // "", "." and "..": names of no file of their own.
    if (!isSafeFileName(name))
        name.prepend(QLatin1Char('_'));
    return folder() + QLatin1Char('/') + name + QStringLiteral(".battery");
}

BatteryHistory::FileStamp BatteryHistory::stampNow() const {
    const QFileInfo info(m_path);
    return info.exists() ? FileStamp{info.size(), info.lastModified()} : FileStamp();
}

QVector<BatterySample> BatteryHistory::readFile() {
    // Taken first: a change made while the file is read is read again the next time.
    m_stamp = stampNow();
    QVector<BatterySample> samples;
    QFile file(m_path);
    if (m_stamp.size < 0)
        return samples;
    bool good = m_stamp.size <= kMaxFileBytes && file.open(QIODevice::ReadOnly);
    if (good) {
        const QList<QByteArray> lines = file.readAll().split('\n');
        file.close();
        // The text ends with a line break, so the last piece is empty.
        good = lines.size() >= 2 && lines.first() == kHeader && lines.last().isEmpty();
        for (int i = 1; good && i < lines.size() - 1; ++i) {
            BatterySample s;
            good = parseSample(lines[i], s) &&
                   (samples.isEmpty() || s.timeMs >= samples.last().timeMs);
            samples.append(s);
        }
    }
    if (good)
        return samples;
    // Kept for a look, and out of the way of the new history.
    const QString bad = m_path + kBadEnding;
    QFile::remove(bad);
    const bool moved = QFile::rename(m_path, bad);
    qCDebug(lcStorage, "battery history %s is damaged: %s", qPrintable(m_path),
            moved ? "set aside" : "could not be set aside");
    m_stamp = stampNow();
    return {};
}

bool BatteryHistory::reloadIfChanged() {
    if (stampNow() == m_stamp)
        return false;
    const QVector<BatterySample> theirs = readFile();
    QVector<BatterySample> merged;
    merged.reserve(theirs.size() + m_samples.size());
    std::merge(theirs.cbegin(), theirs.cend(),
               m_samples.cbegin() + countUpTo(m_samples, m_savedUpToMs), m_samples.cend(),
               std::back_inserter(merged),
               [](const BatterySample &a, const BatterySample &b) { return a.timeMs < b.timeMs; });
    merged.erase(std::unique(merged.begin(), merged.end()), merged.end());
    m_samples = merged;
    m_savedUpToMs = theirs.isEmpty() ? -1 : theirs.last().timeMs;
    return true;
}

bool BatteryHistory::record(const BatterySample &sample) {
    const bool clockBack = !m_samples.isEmpty() && sample.timeMs < m_samples.last().timeMs;
    if (clockBack) {
        m_samples.resize(countUpTo(m_samples, sample.timeMs));
        m_lastWriteMs = 0;
        m_unwritten = true;
    }
    if (!m_samples.isEmpty() && m_samples.last().sameReading(sample))
        return false;
    const bool chargingChanged =
        m_samples.isEmpty() || m_samples.last().charging != sample.charging;
    m_samples.append(sample);
    m_unwritten = true;
    if (chargingChanged || sample.timeMs - m_lastWriteMs >= kWriteIntervalMs)
        flush();
    return true;
}

void BatteryHistory::bound() {
    if (m_samples.isEmpty())
        return;
    const qint64 nowMs = m_samples.last().timeMs;
    const qint64 keepFrom = nowMs - kKeepDays * kDayMs;
    const qint64 denseFrom = nowMs - kDenseDays * kDayMs;
    QVector<BatterySample> kept;
    kept.reserve(m_samples.size());
    for (const BatterySample &s : qAsConst(m_samples)) {
        if (s.timeMs < keepFrom)
            continue;
        const bool thin = s.timeMs < denseFrom && !kept.isEmpty() &&
                          kept.last().charging == s.charging &&
                          s.timeMs - kept.last().timeMs < kThinIntervalMs;
        if (!thin)
            kept.append(s);
    }
    if (kept.size() > kMaxSamples)
        kept.remove(0, kept.size() - kMaxSamples);
    m_samples = kept;
}

bool BatteryHistory::flush() {
    if (!m_unwritten)
        return true;
    if (m_writer) {
        bound();
        m_writer->start([path = m_path, samples = m_samples] {
            if (!replaceFile(path, historyText(samples)))
                qCDebug(lcStorage, "battery history %s cannot be written", qPrintable(path));
        });
        noteWritten();
        return true;
    }
    if (!QDir().mkpath(folder()))
        return false;
    // Held from the look at the file until it is written: no other writer's readings are lost.
    const FileWriteLock lock(m_path, true);
    reloadIfChanged();
    bound();
    if (!lock.held() || !writeAtomically(m_path, historyText(m_samples))) {
        qCDebug(lcStorage, "battery history %s cannot be written", qPrintable(m_path));
        return false;
    }
    m_stamp = stampNow();
    noteWritten();
    return true;
}

void BatteryHistory::noteWritten() {
    m_unwritten = false;
    m_lastWriteMs = m_samples.isEmpty() ? 0 : m_samples.last().timeMs;
    m_savedUpToMs = m_samples.isEmpty() ? -1 : m_samples.last().timeMs;
}
