// SPDX-License-Identifier: GPL-3.0-or-later
#include "MouseRequests.h"

#include "AppConfig.h"
#include "DeviceCommands.h"
#include "HidTransport.h"
#include "InstanceLock.h"
#include "ModelDescriptor.h"
#include "ProfileData.h"
#include "ProfileLibrary.h"
#include "UserRuntimeDir.h"

#include <QFileInfo>
#include <QJsonDocument>
#include <algorithm>
#include <cmath>

namespace {

const char *const kCommandNames[] = {"",      "list",   "status", "profile", "dpi",
                                     "apply", "export", "import", "follow"};
constexpr int kCommandCount = int(sizeof kCommandNames / sizeof kCommandNames[0]);

QJsonObject parseLine(const QByteArray &line, bool &ok) {
    ok = false;
    if (line.size() > kMaxRequestLine)
        return {};
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(line, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return {};
    ok = true;
    return doc.object();
}

QByteArray line(const QJsonObject &object) {
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

// The paths of one link of a mouse: on hidraw both collections share one node.
QJsonArray linkPaths(const std::string &mousePath, const std::string &commandPath) {
    QJsonArray paths;
    paths.append(QString::fromStdString(mousePath));
    if (commandPath != mousePath)
        paths.append(QString::fromStdString(commandPath));
    return paths;
}

QJsonObject linkRecord(const DeviceMatchEntry &e, const char *link, const std::string &mousePath,
                       const std::string &commandPath, uint16_t release) {
    return {{QStringLiteral("model"), QString::fromStdString(e.modelName)},
            {QStringLiteral("link"), QLatin1String(link)},
            {QStringLiteral("release"), QString::asprintf("%04x", unsigned(release))},
            {QStringLiteral("paths"), linkPaths(mousePath, commandPath)}};
}

bool hasSuffix(const QString &path, const char *suffix) {
    return QFileInfo(path).suffix().compare(QLatin1String(suffix), Qt::CaseInsensitive) == 0;
}

} // namespace

// ---------------------------------------------------------------- requests and answers

QString commandName(MouseRequest::Command command) {
    const int i = int(command);
    return i > 0 && i < kCommandCount ? QLatin1String(kCommandNames[i]) : QString();
}

MouseRequest::Command commandNamed(const QString &word) {
    for (int i = 1; i < kCommandCount; ++i) {
        if (word == QLatin1String(kCommandNames[i]))
            return MouseRequest::Command(i);
    }
    return MouseRequest::Invalid;
}

QByteArray encodeRequest(const MouseRequest &request) {
    return line({{QStringLiteral("command"), commandName(request.command)},
                 {QStringLiteral("number"), request.number},
                 {QStringLiteral("path"), request.path},
                 {QStringLiteral("everything"), request.everything}});
}

bool decodeRequest(const QByteArray &text, MouseRequest &request) {
    request = MouseRequest();
    bool ok = false;
    const QJsonObject o = parseLine(text, ok);
    if (!ok)
        return false;
    request.command = commandNamed(o.value(QStringLiteral("command")).toString());
    request.number = o.value(QStringLiteral("number")).toInt();
    request.path = o.value(QStringLiteral("path")).toString();
    request.everything = o.value(QStringLiteral("everything")).toBool();
    // A path that is not absolute would be taken in the receiver's own working folder.
    if (!request.path.isEmpty() && !QFileInfo(request.path).isAbsolute())
        request.command = MouseRequest::Invalid;
    // The socket takes any program of the user, not only ours: a slot the mouse does not have
    // would be looked up past the end of the five.
    if (request.command == MouseRequest::Profile &&
        (request.number < 1 || request.number > kProfileCount))
        request.command = MouseRequest::Invalid;
    return request.command != MouseRequest::Invalid;
}

QByteArray encodeOutcome(const MouseOutcome &outcome) {
    return line({{QStringLiteral("outcome"), int(outcome.kind)},
                 {QStringLiteral("code"), outcome.code},
                 {QStringLiteral("refusedNames"), outcome.refusedNames},
                 {QStringLiteral("data"), outcome.data}});
}

bool decodeOutcome(const QByteArray &text, MouseOutcome &outcome) {
    outcome = MouseOutcome();
    bool ok = false;
    const QJsonObject o = parseLine(text, ok);
    const int kind = o.value(QStringLiteral("outcome")).toInt(-1);
    if (!ok || kind < 0 || kind >= MouseOutcome::KindCount)
        return false;
    outcome.kind = MouseOutcome::Kind(kind);
    outcome.code = o.value(QStringLiteral("code")).toInt();
    outcome.refusedNames = o.value(QStringLiteral("refusedNames")).toInt();
    outcome.data = o.value(QStringLiteral("data")).toObject();
    return true;
}

MouseOutcome outcomeOfSend(int result) {
    switch (result) {
    case ResultDone:
        return MouseOutcome::of(MouseOutcome::Done);
    case ResultMouseOff:
        return MouseOutcome::of(MouseOutcome::MouseOff, result);
    case ResultNoDevice:
        return MouseOutcome::of(MouseOutcome::NoMouse, result);
    case ResultTooManyMacros:
        return MouseOutcome::of(MouseOutcome::TooManyMacros, result);
    default:
        return MouseOutcome::of(MouseOutcome::SendFailed, result);
    }
}

MouseOutcome outcomeOfStoredSend(int result, bool saved) {
    return saved || result != ResultDone ? outcomeOfSend(result)
                                         : outcomeOfLibrary(LibraryWriteFailed);
}

MouseOutcome outcomeOfLibrary(int result) {
    switch (result) {
    case LibraryDone:
    case LibraryUnchanged:
        return MouseOutcome::of(MouseOutcome::Done);
    case LibraryNoModel:
        return MouseOutcome::of(MouseOutcome::NoMouse);
    default:
        return MouseOutcome::of(MouseOutcome::Refused, result);
    }
}

QString requestSocketPath(const QString &productName) {
    return userRuntimeFile(InstanceLock::lockName(productName) + QStringLiteral(".sock"));
}

// ---------------------------------------------------------------- status and list

int batteryMillivolts(quint8 lowByte, quint8 highByte) {
    return ((highByte * 256 + lowByte) * 990) / 240;
}

int batteryLevelFor(int millivolts, int fullValue) {
    if (millivolts >= fullValue)
        return 100;
    static const int steps[][2] = {{4100, 90}, {4000, 80}, {3900, 70}, {3800, 60},
                                   {3700, 50}, {3500, 40}, {3400, 30}, {3200, 20}};
    for (const auto &s : steps) {
        if (millivolts >= s[0])
            return s[1];
    }
    return kLowestBatteryLevel;
}

void setStatusLink(MouseStatus &status, const DeviceMatchEntry &entry) {
    status.model = QString::fromStdString(entry.modelName);
    status.cable = entry.command2Found != 0;
    status.receiver = entry.command1Found != 0;
}

void setStatusBattery(MouseStatus &status, quint8 charge, quint8 lowByte, quint8 highByte) {
    status.batteryKnown = true;
    status.asleep = charge == 0 && lowByte == 0 && highByte == 0;
    if (status.asleep)
        return;
    status.charging = charge != 0;
    status.millivolts = batteryMillivolts(lowByte, highByte);
    status.level = batteryLevelFor(status.millivolts, batteryFullValue());
}

void setStatusProfile(MouseStatus &status, const ProfileSet &set) {
    setStatusProfile(status, set.activeIndex(), set.activeProfile());
}

void setStatusProfile(MouseStatus &status, int index, const ProfileData &p) {
    status.profile = index;
    status.dpiStage = p.dpi;
    const int stage = p.activeStage();
    status.dpi = stage < 0 ? 0 : stageToDpi(int(p.dpiInfo[stage].y), sensorCode());
    status.rateCode = p.pollrate;
}

int rateHz(int rateCode) {
    switch (rateCode) {
    case 8:
        return 125;
    case 4:
        return 250;
    case 2:
        return 500;
    case 1:
        return 1000;
    default:
        return 0;
    }
}

QJsonObject statusObject(const MouseStatus &s) {
    const QString link = s.cable      ? QStringLiteral("cable")
                         : s.receiver ? QStringLiteral("receiver")
                                      : QStringLiteral("none");
    QJsonObject o{{QStringLiteral("model"), s.model},
                  {QStringLiteral("link"), link},
                  {QStringLiteral("receiver"), s.receiver},
                  {QStringLiteral("asleep"), s.asleep},
                  {QStringLiteral("profile"), s.profile + 1}};
    // A stage or rate the mouse cannot have (from a file edited by hand) is not known.
    const bool stageKnown = s.dpiStage >= 0 && s.dpiStage < kDpiStageCount;
    o.insert(QStringLiteral("dpiStage"), stageKnown ? QJsonValue(s.dpiStage + 1) : QJsonValue());
    o.insert(QStringLiteral("dpi"), stageKnown ? QJsonValue(s.dpi) : QJsonValue());
    const int hz = rateHz(s.rateCode);
    o.insert(QStringLiteral("reportRate"), hz > 0 ? QJsonValue(hz) : QJsonValue());
    // Without a battery report (or from a sleeping mouse) there is no reading to tell.
    const bool reading = s.batteryKnown && !s.asleep;
    o.insert(QStringLiteral("battery"), reading ? QJsonValue(s.level) : QJsonValue());
    o.insert(QStringLiteral("millivolts"), reading ? QJsonValue(s.millivolts) : QJsonValue());
    o.insert(QStringLiteral("charging"), reading ? QJsonValue(s.charging) : QJsonValue());
    o.insert(QStringLiteral("hoursLeft"), reading && s.hoursLeft
                                              ? QJsonValue(std::round(*s.hoursLeft * 10) / 10)
                                              : QJsonValue());
    return o;
}

bool statusChanged(const QJsonObject &before, const QJsonObject &after) {
    QJsonObject a = before;
    QJsonObject b = after;
    // The millivolts wander within a level step, and the time left with each reading; the
    // latter counts in the whole hours it is told in.
    for (QJsonObject *o : {&a, &b}) {
        o->remove(QStringLiteral("millivolts"));
        const QJsonValue hours = o->value(QStringLiteral("hoursLeft"));
        if (!hours.isNull() && !hours.isUndefined())
            o->insert(QStringLiteral("hoursLeft"), qMax(1, qRound(hours.toDouble())));
    }
    return a != b;
}

QJsonArray presentMice(const DeviceMatchTable &table) {
    QJsonArray mice;
    for (const DeviceMatchEntry &e : table) {
        if (e.receiverPresent())
            mice.append(linkRecord(e, "receiver", e.path1, e.path2, e.release1));
        if (e.cablePresent())
            mice.append(linkRecord(e, "cable", e.path3, e.path4, e.release2));
    }
    return mice;
}

// ---------------------------------------------------------------- commands

MouseOutcome checkDpiStage(const ProfileData &record, int number) {
    const int descriptorCount = dpiStageCount();
    const int shown = descriptorCount >= 1 && descriptorCount <= kDpiStageCount ? descriptorCount
                                                                                : kDpiStageCount;
    if (number < 1 || number > shown || record.dpiInfo[number - 1].used == 0)
        return MouseOutcome::of(MouseOutcome::StageOff, shown);
    return MouseOutcome::of(MouseOutcome::Done);
}

MouseOutcome importIntoSet(QStringList &library, ProfileSet &set, const QString &path,
                           ImportMode mode) {
    if (hasSuffix(path, "prof"))
        return outcomeOfLibrary(importProfileFile(library, set, set.activeIndex(), path, mode));
    // Anything else is checked as a configuration file would be: missing, a folder, or
    // neither kind.
    int refused = 0;
    MouseOutcome outcome = outcomeOfLibrary(loadConfigFile(library, set, path, &refused, mode));
    outcome.refusedNames = refused;
    return outcome;
}

MouseOutcome exportFromSet(const ProfileSet &set, const QString &path) {
    if (hasSuffix(path, "prof"))
        return outcomeOfLibrary(exportProfileFile(set, set.activeIndex(), path));
    if (hasSuffix(path, "conf"))
        return outcomeOfLibrary(saveConfigFile(set, path));
    return MouseOutcome::of(MouseOutcome::BadFile);
}
