// SPDX-License-Identifier: GPL-3.0-or-later
// The pointer speed of sway, through its own swaymsg: pointer_accel of every pointer. sway
// keeps it until it restarts; its configuration file is the user's.
#include "PointerSpeedBackends.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

namespace PointerSpeed {
namespace {
const QString kSwaymsg = QStringLiteral("swaymsg");
// The longest start-up waits for sway's list of inputs.
constexpr int kReadTimeoutMs = 300;
} // namespace

QStringList swayArguments(int speed) {
    return {QStringLiteral("input"), QStringLiteral("type:pointer"),
            QStringLiteral("pointer_accel"), libinputText(libinputFromSpeed(speed))};
}

int speedFromSwayInputs(const QByteArray &json) {
    const QJsonArray inputs = QJsonDocument::fromJson(json).array();
    for (const QJsonValue &input : inputs) {
        const QJsonObject device = input.toObject();
        const QJsonValue accel =
            device.value(QLatin1String("libinput")).toObject().value(QLatin1String("accel_speed"));
        if (device.value(QLatin1String("type")).toString() == QLatin1String("pointer") &&
            accel.isDouble())
            return speedFromLibinput(accel.toDouble());
    }
    return kDefaultSpeed;
}

int readSwaySpeed() {
    QProcess swaymsg;
    swaymsg.start(kSwaymsg,
                  {QStringLiteral("-t"), QStringLiteral("get_inputs"), QStringLiteral("-r")});
    if (!swaymsg.waitForFinished(kReadTimeoutMs) || swaymsg.exitCode() != 0) {
        qCDebug(lcPlatform, "pointer speed: no answer from swaymsg");
        return kDefaultSpeed;
    }
    return speedFromSwayInputs(swaymsg.readAllStandardOutput());
}

Result writeSwaySpeed(int speed) {
    // Not waited for: sway answers on its own time, and its answer changes nothing here.
    return QProcess::startDetached(kSwaymsg, swayArguments(speed)) ? Done : Failed;
}

} // namespace PointerSpeed
