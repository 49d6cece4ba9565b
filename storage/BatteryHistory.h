// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The battery history of a model: the mouse's battery readings over the last weeks, kept in
// one file per model under $XDG_STATE_HOME/mousecfg (~/.local/state/mousecfg by default), from
// which the time left on the battery is estimated.
//
// The file is text: the line "mousecfg-battery-history 1", then one line per reading,
// "TIME MILLIVOLTS LEVEL CHARGING" (TIME in ms since the epoch, UTC; CHARGING 0 or 1), oldest
// first, and written whole each time (writeAtomically under the file's lock), so a killed writer
// leaves the old file or the new one. It is kept bounded, at each write, counting back from the
// newest reading: readings older than kKeepDays days are dropped, those older than kDenseDays
// days are thinned to one per kThinIntervalMs (a change of charging always stays), and at most
// kMaxSamples readings are kept, the oldest going first (12000 lines are about 300 kB). A file that
// cannot be read as such a history is renamed to "<file>.bad" (one such file is kept) and a new
// history starts.
//
// A history that writes at once (the command line's) takes in, under the file's lock, what
// another writer wrote since it last read or wrote the file, so that none of their readings
// is lost. One that writes on a thread of its own (the window's) takes in there, under the same
// lock, what another writer wrote up to its own newest reading: a command line that read the
// mouse before the window took it over writes its last readings when it ends. They are kept
// in the file, though not among the samples() of the window's history.

#include <QDateTime>
#include <QString>
#include <QVector>

class QThreadPool;

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
    // A reading a history holds: a time from the epoch to the year 9999, millivolts up to
    // 100 V, a level of 0..100.
    bool plausible() const {
        return timeMs >= 0 && timeMs <= 253402300799999 && millivolts >= 0 &&
               millivolts <= 100000 && level >= 0 && level <= 100;
    }
};

class BatteryHistory {
public:
    static constexpr int kKeepDays = 60;
    static constexpr int kDenseDays = 2;
    static constexpr qint64 kThinIntervalMs = 30 * 60 * 1000;
    // Two dense days of a reading wandering at every look (one each 25 s or so) and the
    // thinned rest fit.
    static constexpr int kMaxSamples = 12000;
    // A change of the reading is written at once when the last write is this long ago (by the
    // readings' clock) or the charging changed; else with a later reading or at the end.
    static constexpr qint64 kWriteIntervalMs = 5 * 60 * 1000;
    static constexpr qint64 kClockStepMs = 60 * 60 * 1000;

    // The history of a model, read from its file (a damaged file is set aside). With a writer
    // (a pool of one thread, so that the writes keep their order and never overlap), each
    // write goes to the writer with a copy of the readings, and the pool's owner waits for
    // the last one at its end; without, each write is made at once.
    explicit BatteryHistory(const QString &model, QThreadPool *writer = nullptr);
    // Writes what was kept since the last write (or hands it to the writer).
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

    // Keeps the reading when it differs from the last one kept (or that is kThinIntervalMs
    // old) and returns true. A reading older than the last kept one means the clock went back:
    // the later ones are dropped, at once when it is kClockStepMs back at most, else once the
    // clock has stayed back that long (the readings until then are not kept).
    bool record(const BatterySample &sample);
    // Bounds the history and writes the file now, when something is unwritten. False when it
    // could not be written (or handed to the writer: a write there that fails is only logged,
    // and the next one writes all readings again).
    bool flush();
    // Reads the file again when another writer changed it since this history last read or
    // wrote it (by its size and time of change); the readings kept here and not yet written
    // go in among the file's. True when it was read again. For a history that writes at once.
    bool reloadIfChanged();

private:
    // What tells that another writer changed the file.
    struct FileStamp {
        qint64 size = -1; // -1: no file
        QDateTime modified;
        bool operator==(const FileStamp &o) const {
            return size == o.size && modified == o.modified;
        }
    };
    FileStamp stampNow() const;
    // The file's readings, none when there is no file or a damaged one (set aside).
    QVector<BatterySample> readFile();
    // What was just written (or handed to the writer) counts as in the file.
    void noteWritten();

    QString m_model;
    QString m_path;
    QThreadPool *m_writer = nullptr;
    QVector<BatterySample> m_samples;
    bool m_unwritten = false;
    qint64 m_lastWriteMs = 0;
    // The earliest reading since the clock stood far behind the newest kept, or -1.
    qint64 m_behindSinceMs = -1;
    // The file as this history last read or wrote it, and its newest reading then.
    FileStamp m_stamp;
    qint64 m_savedUpToMs = -1;
};
