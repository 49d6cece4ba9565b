// SPDX-License-Identifier: GPL-3.0-or-later
#include "BatteryHistory.h"

#include "AppConfig.h"
#include "IniFile.h"
#include "StorageLog.h"

#include <QDir>
#include <QFile>

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
} // namespace

BatteryHistory::BatteryHistory(const QString &model) : m_model(model), m_path(filePath(model)) {
    // What a write killed before its rename left beside the file.
    removeInterruptedWrites(folder(), {QStringLiteral("battery")});
    load();
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

void BatteryHistory::load() {
    QFile file(m_path);
    if (!file.exists())
        return;
    bool good = file.size() <= kMaxFileBytes && file.open(QIODevice::ReadOnly);
    if (good) {
        const QList<QByteArray> lines = file.readAll().split('\n');
        file.close();
        // The text ends with a line break, so the last piece is empty.
        good = lines.size() >= 2 && lines.first() == kHeader && lines.last().isEmpty();
        for (int i = 1; good && i < lines.size() - 1; ++i) {
            BatterySample s;
            good = parseSample(lines[i], s) &&
                   (m_samples.isEmpty() || s.timeMs >= m_samples.last().timeMs);
            m_samples.append(s);
        }
    }
    if (good)
        return;
    // Kept for a look, and out of the way of the new history.
    m_samples.clear();
    const QString bad = m_path + kBadEnding;
    QFile::remove(bad);
    const bool moved = QFile::rename(m_path, bad);
    qCDebug(lcStorage, "battery history %s is damaged: %s", qPrintable(m_path),
            moved ? "set aside" : "could not be set aside");
}

bool BatteryHistory::record(const BatterySample &sample) {
    const bool clockBack = !m_samples.isEmpty() && sample.timeMs < m_samples.last().timeMs;
    if (clockBack) {
        const auto later =
            std::upper_bound(m_samples.begin(), m_samples.end(), sample.timeMs,
                             [](qint64 t, const BatterySample &s) { return t < s.timeMs; });
        m_samples.erase(later, m_samples.end());
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

void BatteryHistory::bound(qint64 nowMs) {
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
    if (!m_samples.isEmpty())
        bound(m_samples.last().timeMs);
    QByteArray text = kHeader + '\n';
    text.reserve(m_samples.size() * 32);
    for (const BatterySample &s : qAsConst(m_samples)) {
        text += QByteArray::number(s.timeMs) + ' ' + QByteArray::number(s.millivolts) + ' ' +
                QByteArray::number(s.level) + ' ' + (s.charging ? '1' : '0') + '\n';
    }
    if (!replaceFile(m_path, text)) {
        qCDebug(lcStorage, "battery history %s cannot be written", qPrintable(m_path));
        return false;
    }
    m_unwritten = false;
    m_lastWriteMs = m_samples.isEmpty() ? 0 : m_samples.last().timeMs;
    return true;
}
