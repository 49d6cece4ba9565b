// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The battery history of a model: the mouse's battery readings over the last weeks, kept in
// one file per model under $XDG_STATE_HOME/mousecfg (~/.local/state/mousecfg by default), from
// which the time left on the battery is estimated.
//
// The file is text: the line "mousecfg-battery-history 1", then one line per reading,
// "TIME MILLIVOLTS LEVEL CHARGING" (TIME in ms since the epoch, UTC; CHARGING 0 or 1), oldest
// first, and written whole each time (QSaveFile under the file's lock), so a killed writer
// leaves the old file or the new one. It is kept bounded, at each write, counting back from the
// newest reading: readings older than kKeepDays days are dropped, those older than kDenseDays
// days are thinned to one per kThinIntervalMs (a change of charging always stays), and at most
// kMaxSamples readings are kept, the oldest going first (8000 lines are about 200 kB). A file that
// cannot be read as such a history is renamed to "<file>.bad" (one such file is kept) and a new
// history starts.

#include <QString>
#include <QVector>

// One battery reading of the mouse.
struct BatterySample {
    qint64 timeMs = 0; // ms since the epoch, UTC
    int millivolts = 0;
    int level = 0; // 0..100, as the program shows it
    bool charging = false;

    // The same reading (the time aside).
    bool sameReading(const BatterySample &o) const {
        return millivolts == o.millivolts && level == o.level && charging == o.charging;
    }
    bool operator==(const BatterySample &o) const { return timeMs == o.timeMs && sameReading(o); }
};

class BatteryHistory {
public:
    static constexpr int kKeepDays = 60;
    static constexpr int kDenseDays = 2;
    static constexpr qint64 kThinIntervalMs = 30 * 60 * 1000;
    static constexpr int kMaxSamples = 8000;
    // A change of the reading is written at once when the last write is this long ago (by the
    // readings' clock) or the charging changed; else with a later reading or at the end.
    static constexpr qint64 kWriteIntervalMs = 5 * 60 * 1000;

    // The history of a model, read from its file (a damaged file is set aside).
    explicit BatteryHistory(const QString &model);
    // Writes what was kept since the last write.
    ~BatteryHistory();
    BatteryHistory(const BatteryHistory &) = delete;
    BatteryHistory &operator=(const BatteryHistory &) = delete;

    // $XDG_STATE_HOME/mousecfg, or ~/.local/state/mousecfg when XDG_STATE_HOME is not set.
    static QString folder();
    // The model's file in the folder: the model's name with characters that cannot stand in
    // a file name replaced, and the ending ".battery".
    static QString filePath(const QString &model);

    const QString &model() const { return m_model; }
    // Oldest first. Between writes, readings beyond the bounds may be among them.
    const QVector<BatterySample> &samples() const { return m_samples; }

    // Keeps the reading when it differs from the last one kept and returns true. A reading
    // older than the last kept one means the clock went back: the later ones are dropped.
    bool record(const BatterySample &sample);
    // Bounds the history and writes the file now, when something is unwritten. False when it
    // could not be written.
    bool flush();

private:
    void load();
    void bound(qint64 nowMs);

    QString m_model;
    QString m_path;
    QVector<BatterySample> m_samples;
    bool m_unwritten = false;
    qint64 m_lastWriteMs = 0;
};
