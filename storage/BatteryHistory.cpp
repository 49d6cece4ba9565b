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
    return std::all_of(ok, ok + 4, [](bool b) { return b; }) && s.plausible() &&
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

// The readings of the history file at path, oldest first; false when it is no such history.
bool readHistoryFile(const QString &path, QVector<BatterySample> &samples) {
    samples.clear();
    QFile file(path);
    if (file.size() > kMaxFileBytes || !file.open(QIODevice::ReadOnly))
        return false;
    const QList<QByteArray> lines = file.readAll().split('\n');
    // The text ends with a line break, so the last piece is empty.
    if (lines.size() < 2 || lines.first() != kHeader || !lines.last().isEmpty())
        return false;
    for (int i = 1; i < lines.size() - 1; ++i) {
        BatterySample s;
        if (!parseSample(lines[i], s) || (!samples.isEmpty() && s.timeMs < samples.last().timeMs))
            return false;
        samples.append(s);
    }
    return true;
}

// Both histories in one, oldest first, each reading once.
QVector<BatterySample> mergedSamples(const BatterySample *first, const BatterySample *firstEnd,
                                     const BatterySample *second, const BatterySample *secondEnd) {
    QVector<BatterySample> merged;
    merged.reserve(int((firstEnd - first) + (secondEnd - second)));
    std::merge(first, firstEnd, second, secondEnd, std::back_inserter(merged),
               [](const BatterySample &a, const BatterySample &b) { return a.timeMs < b.timeMs; });
    merged.erase(std::unique(merged.begin(), merged.end()), merged.end());
    return merged;
}

// Applies the bounds, counting back from the newest reading.
void boundSamples(QVector<BatterySample> &samples) {
    if (samples.isEmpty())
        return;
    const qint64 nowMs = samples.last().timeMs;
    const qint64 keepFrom = nowMs - BatteryHistory::kKeepDays * kDayMs;
    const qint64 denseFrom = nowMs - BatteryHistory::kDenseDays * kDayMs;
    QVector<BatterySample> kept;
    kept.reserve(samples.size());
    for (const BatterySample &s : qAsConst(samples)) {
        if (s.timeMs < keepFrom)
            continue;
        const bool thin = s.timeMs < denseFrom && !kept.isEmpty() &&
                          kept.last().charging == s.charging &&
                          s.timeMs - kept.last().timeMs < BatteryHistory::kThinIntervalMs;
        if (!thin)
            kept.append(s);
    }
    if (kept.size() > BatteryHistory::kMaxSamples)
        kept.remove(0, kept.size() - BatteryHistory::kMaxSamples);
    samples = kept;
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
    if (m_stamp.size < 0)
        return {};
    QVector<BatterySample> samples;
    if (readHistoryFile(m_path, samples))
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
    const BatterySample *mine = m_samples.cbegin() + countUpTo(m_samples, m_savedUpToMs);
    m_samples = mergedSamples(theirs.cbegin(), theirs.cend(), mine, m_samples.cend());
    m_savedUpToMs = theirs.isEmpty() ? -1 : theirs.last().timeMs;
    return true;
}

bool BatteryHistory::record(const BatterySample &sample) {
    // A garbled report (or a clock far off) the file could not hold would set it aside.
    if (!sample.plausible())
        return false;
    if (!m_samples.isEmpty() && sample.timeMs < m_samples.last().timeMs) {
        // A clock wrong for a while (a system clock kept in local time, or none, until the
        // network time comes) would cut the history short: far behind, it is believed once it
        // has stayed there for kClockStepMs.
        if (m_samples.last().timeMs - sample.timeMs > kClockStepMs) {
            if (m_behindSinceMs < 0 || sample.timeMs < m_behindSinceMs)
                m_behindSinceMs = sample.timeMs;
            if (sample.timeMs - m_behindSinceMs < kClockStepMs)
                return false;
        }
        m_samples.resize(countUpTo(m_samples, sample.timeMs));
        m_lastWriteMs = 0;
        m_unwritten = true;
    }
    m_behindSinceMs = -1;
    // The same reading once in a while too: the chart shows the program was looking.
    if (!m_samples.isEmpty() && m_samples.last().sameReading(sample) &&
        sample.timeMs - m_samples.last().timeMs < kThinIntervalMs)
        return false;
    const bool chargingChanged =
        m_samples.isEmpty() || m_samples.last().charging != sample.charging;
    m_samples.append(sample);
    m_unwritten = true;
    if (chargingChanged || sample.timeMs - m_lastWriteMs >= kWriteIntervalMs)
        flush();
    return true;
}

bool BatteryHistory::flush() {
    if (!m_unwritten)
        return true;
    if (m_writer) {
        boundSamples(m_samples);
        m_writer->start([path = m_path, samples = m_samples]() mutable {
            if (!QDir().mkpath(folder())) {
                qCDebug(lcStorage, "battery history %s cannot be written", qPrintable(path));
                return;
            }
            const FileWriteLock lock(path, true);
            // A command line that read the mouse before this program took it over may have
            // written readings since this history read the file: they stay. Newer ones than
            // the newest here are not taken: the clock went back, and they were dropped.
            QVector<BatterySample> theirs;
            if (!samples.isEmpty() && readHistoryFile(path, theirs)) {
                const qint64 newest = samples.last().timeMs;
                samples =
                    mergedSamples(theirs.cbegin(), theirs.cbegin() + countUpTo(theirs, newest),
                                  samples.cbegin(), samples.cend());
                boundSamples(samples);
            }
            if (!lock.held() || !writeAtomically(path, historyText(samples)))
                qCDebug(lcStorage, "battery history %s cannot be written", qPrintable(path));
        });
        noteWritten();
        return true;
    }
    // Kept bounded in memory too when the folder cannot be made (a long-running follower).
    if (!QDir().mkpath(folder())) {
        boundSamples(m_samples);
        return false;
    }
    // Held from the look at the file until it is written: no other writer's readings are lost.
    const FileWriteLock lock(m_path, true);
    reloadIfChanged();
    boundSamples(m_samples);
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
