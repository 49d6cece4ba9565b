// SPDX-License-Identifier: GPL-3.0-or-later
#include "BatteryRecorder.h"

#include "AppConfig.h"

#include <QDateTime>

namespace {
qint64 (*s_clock)() = nullptr;
} // namespace

BatteryRecorder::BatteryRecorder(Writes writes) : m_writes(writes) {
    // One thread: the writes of a file keep their order and never overlap.
    m_writer.setMaxThreadCount(1);
}

BatteryRecorder::~BatteryRecorder() {
    m_history.reset();
    m_writer.waitForDone();
}

void BatteryRecorder::writeNow() {
    if (m_history)
        m_history->flush();
    m_writer.waitForDone();
}

void BatteryRecorder::setClock(qint64 (*clock)()) {
    s_clock = clock;
}

qint64 BatteryRecorder::now() {
    return s_clock ? s_clock() : QDateTime::currentMSecsSinceEpoch();
}

BatteryEstimate BatteryRecorder::note(MouseStatus &status, bool onCable) {
    status.hoursLeft.reset();
    // A sleeping mouse tells no reading.
    if (status.asleep)
        return {};
    const QString model = currentProductName();
    if (!m_history || m_history->model() != model) {
        m_history = std::make_unique<BatteryHistory>(
            model, m_writes == Writes::InBackground ? &m_writer : nullptr);
    } else if (m_writes == Writes::AtOnce) {
        // Another program may have written meanwhile (the window, between two looks of the
        // command line): its readings count too.
        m_history->reloadIfChanged();
    }
    // On the cable the mouse charges, whatever the report says: its discharge ends there.
    const bool charging = status.charging || onCable;
    const qint64 now = BatteryRecorder::now();
    const BatterySample reading{now, status.millivolts, status.level, charging};
    const QVector<BatterySample> &kept = m_history->samples();
    QVector<BatterySample> samples;
    if (m_writes == Writes::OneReading && !kept.isEmpty() && kept.last().charging == charging &&
        now >= kept.last().timeMs && now - kept.last().timeMs < BatteryHistory::kWriteIntervalMs) {
        samples = kept;
        samples.append(reading);
    } else {
        m_history->record(reading);
        samples = m_history->samples();
        // An unchanged reading is not kept, yet it tells that the level still holds now.
        if (!samples.isEmpty() && samples.last().timeMs < now &&
            samples.last().charging == charging)
            samples.append(reading);
    }
    BatteryEstimate estimate = estimateBattery(samples, now, batteryFullValue());
    if (charging)
        estimate.hoursLeft.reset();
    else
        estimate.hoursToFull.reset();
    status.hoursLeft = estimate.hoursLeft;
    return estimate;
}

QVector<BatterySample> BatteryRecorder::samples() const {
    return m_history ? m_history->samples() : QVector<BatterySample>();
}
