// SPDX-License-Identifier: GPL-3.0-or-later
// The pointer speed of sway, through its own swaymsg: pointer_accel of every pointer. sway
// keeps it until it restarts; its configuration file is the user's.
#include "PointerSpeedBackends.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTimer>

namespace PointerSpeed {
namespace {
const QString kSwaymsg = QStringLiteral("swaymsg");
// The longest a read waits for sway's list of inputs; one that does not wait gives sway more
// time.
constexpr int kReadTimeoutMs = 300;
constexpr int kAnswerTimeoutMs = 5000;
} // namespace

QStringList swayArguments(int speed) {
    // "--" first: a speed below the middle is a negative number, which swaymsg would take for
    // an option of its own.
    return {QStringLiteral("--"), QStringLiteral("input"), QStringLiteral("type:pointer"),
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

const QStringList kGetInputs = {QStringLiteral("-t"), QStringLiteral("get_inputs"),
                                QStringLiteral("-r")};

int readSwaySpeed() {
    QProcess swaymsg;
    swaymsg.start(kSwaymsg, kGetInputs);
    if (!swaymsg.waitForFinished(kReadTimeoutMs) || swaymsg.exitCode() != 0) {
        qCDebug(lcPlatform, "pointer speed: no answer from swaymsg");
        return kDefaultSpeed;
    }
    return speedFromSwayInputs(swaymsg.readAllStandardOutput());
}

void readSwaySpeedLater(QObject *context, const std::function<void(int)> &done) {
    auto *swaymsg = new QProcess(context);
    // Told once: by the answer, by a failure to start, or by the time running out.
    auto tell = [swaymsg, done](bool answered) {
        if (swaymsg->property("told").toBool())
            return;
        swaymsg->setProperty("told", true);
        const bool ok =
            answered && swaymsg->exitStatus() == QProcess::NormalExit && swaymsg->exitCode() == 0;
        // No answer tells nothing: the speed is not taken for the middle one.
        if (ok)
            done(speedFromSwayInputs(swaymsg->readAllStandardOutput()));
        else
            qCDebug(lcPlatform, "pointer speed: no answer from swaymsg");
        swaymsg->kill();
        swaymsg->deleteLater();
    };
    QObject::connect(swaymsg, qOverload<int, QProcess::ExitStatus>(&QProcess::finished), swaymsg,
                     [tell] { tell(true); });
    QObject::connect(swaymsg, &QProcess::errorOccurred, swaymsg, [tell](QProcess::ProcessError e) {
        if (e == QProcess::FailedToStart)
            tell(false);
    });
    QTimer::singleShot(kAnswerTimeoutMs, swaymsg, [tell] { tell(false); });
    swaymsg->start(kSwaymsg, kGetInputs);
}

Result writeSwaySpeed(int speed) {
    // Not waited for: sway answers on its own time, and its answer changes nothing here.
    return QProcess::startDetached(kSwaymsg, swayArguments(speed)) ? Done : Failed;
}

} // namespace PointerSpeed
