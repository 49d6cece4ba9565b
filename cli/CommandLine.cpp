// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandLine.h"

#include "HidTransport.h"
#include "ProfileData.h"
#include "ProfileLibrary.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>

namespace {

// New texts of the command line.
class MousecfgCli {
    Q_DECLARE_TR_FUNCTIONS(MousecfgCli)
};

// A text the window shows, in the window's words and the user's language.
QString windowText(const char *source) {
    return QCoreApplication::translate("MousecfgWidget", source);
}

// The window's message for each refusal of the profile library.
QString libraryText(int result) {
    static const std::pair<int, const char *> texts[] = {
        {LibraryUnsafeName, "This name cannot be used for a profile."},
        {LibraryExists, "Profile Exist!"},
        {LibraryInUse, "Profile is Already Used!"},
        {LibraryLastProfile, "AT LEAST ONE PROFILE TO BE RETAINED."},
        {LibraryDefaultName, "The default Profile cannot be deleted or renamed."},
        {LibraryWrongModel, "The file is not match current mouse!"},
        {LibraryTooLong, "This name is too long for a profile."},
        {LibraryIncomplete, "The file is incomplete (cut short or damaged); nothing was "
                            "imported."},
        {LibraryNotFound, "The file does not exist."},
        {LibraryIsFolder, "This is a folder, not a file."},
        {LibraryWrongKind, "Only profile files (.prof) and configuration files (.conf) can be "
                           "imported."},
        {LibraryTooLarge, "The file is too large to be a profile or configuration file."},
        {LibraryUnreadable, "The file cannot be read."},
        {LibraryNotProfile, "The file is not a profile or configuration file."}};
    for (const auto &t : texts) {
        if (t.first == result)
            return windowText(t.second);
    }
    return windowText("The profile file could not be written.");
}

bool needsNumber(MouseRequest::Command c) {
    return c == MouseRequest::Profile || c == MouseRequest::Dpi;
}

bool needsFile(MouseRequest::Command c) {
    return c == MouseRequest::Export || c == MouseRequest::Import;
}

QString yesNo(bool value) {
    return value ? MousecfgCli::tr("yes") : MousecfgCli::tr("no");
}

// What status tells without a mouse: no link, nothing read from the mouse or its profile.
QJsonObject noMouseStatus() {
    QJsonObject o = statusObject(MouseStatus());
    for (const char *key : {"model", "profile", "dpiStage", "dpi", "reportRate"})
        o.insert(QLatin1String(key), QJsonValue());
    return o;
}

// Hours told in whole ones, at least one: "about 14 h".
QString aboutHours(const QJsonValue &hours) {
    return MousecfgCli::tr("about %n h", nullptr, qMax(1, qRound(hours.toDouble())));
}

// The status as rows of text; what is null in it (no reading, no mouse) is "unknown".
QString statusText(const QJsonObject &s) {
    const QString unknown = MousecfgCli::tr("unknown");
    const QString link = s.value(QStringLiteral("link")).toString();
    QString connection = link == QLatin1String("cable")      ? MousecfgCli::tr("cable")
                         : link == QLatin1String("receiver") ? MousecfgCli::tr("receiver")
                                                             : MousecfgCli::tr("none");
    if (link == QLatin1String("cable") && s.value(QStringLiteral("receiver")).toBool())
        connection += MousecfgCli::tr(" (receiver plugged in too)");
    QString battery;
    if (s.value(QStringLiteral("asleep")).toBool())
        battery = windowText("MOUSE OFF");
    else if (s.value(QStringLiteral("battery")).isNull())
        battery = unknown;
    else
        battery = QStringLiteral("%1% (%2 mV)")
                      .arg(s.value(QStringLiteral("battery")).toInt())
                      .arg(s.value(QStringLiteral("millivolts")).toInt());
    const QJsonValue hoursLeft = s.value(QStringLiteral("hoursLeft"));
    const int hz = s.value(QStringLiteral("reportRate")).toInt();
    const QJsonValue profile = s.value(QStringLiteral("profile"));
    const QJsonValue stage = s.value(QStringLiteral("dpiStage"));
    const std::pair<QString, QString> rows[] = {
        {MousecfgCli::tr("Model"), s.value(QStringLiteral("model")).toString(unknown)},
        {MousecfgCli::tr("Connection"), connection},
        {MousecfgCli::tr("Battery"), battery},
        {MousecfgCli::tr("Charging"), s.value(QStringLiteral("charging")).isNull()
                                          ? unknown
                                          : yesNo(s.value(QStringLiteral("charging")).toBool())},
        {MousecfgCli::tr("Time left"), hoursLeft.isNull() ? unknown : aboutHours(hoursLeft)},
        {windowText("Profile"), profile.isNull() ? unknown : QString::number(profile.toInt())},
        {MousecfgCli::tr("DPI stage"), stage.isNull()
                                           ? unknown
                                           : QStringLiteral("%1 (%2 DPI)")
                                                 .arg(stage.toInt())
                                                 .arg(s.value(QStringLiteral("dpi")).toInt())},
        {MousecfgCli::tr("Report rate"), hz > 0 ? QStringLiteral("%1 Hz").arg(hz) : unknown}};
    int width = 0;
    for (const auto &r : rows)
        width = qMax(width, r.first.size());
    QString text;
    for (const auto &r : rows)
        text +=
            (r.first + QLatin1Char(':')).leftJustified(width + 2) + r.second + QLatin1Char('\n');
    return text;
}

// The status in one line, for a status bar; what is not known is left out.
QString statusLine(const QJsonObject &s) {
    if (s.value(QStringLiteral("link")).toString() == QLatin1String("none"))
        return MousecfgCli::tr("no mouse");
    QStringList parts;
    const QJsonValue profile = s.value(QStringLiteral("profile"));
    if (!profile.isNull())
        parts << windowText("Profile") + QLatin1Char(' ') + QString::number(profile.toInt());
    if (!s.value(QStringLiteral("dpiStage")).isNull())
        parts << MousecfgCli::tr("DPI %1").arg(s.value(QStringLiteral("dpi")).toInt());
    const int hz = s.value(QStringLiteral("reportRate")).toInt();
    if (hz > 0)
        parts << QStringLiteral("%1 Hz").arg(hz);
    if (s.value(QStringLiteral("asleep")).toBool()) {
        parts << windowText("MOUSE OFF");
    } else if (!s.value(QStringLiteral("battery")).isNull()) {
        QString battery =
            MousecfgCli::tr("battery %1%").arg(s.value(QStringLiteral("battery")).toInt());
        if (s.value(QStringLiteral("charging")).toBool())
            battery += QLatin1Char(' ') + MousecfgCli::tr("charging");
        else if (!s.value(QStringLiteral("hoursLeft")).isNull())
            battery +=
                QLatin1Char(' ') +
                MousecfgCli::tr("(%1 left)").arg(aboutHours(s.value(QStringLiteral("hoursLeft"))));
        parts << battery;
    }
    return parts.join(QStringLiteral(" \u00b7 "));
}

QString listText(const QJsonArray &mice) {
    QString text;
    for (const QJsonValue &v : mice) {
        const QJsonObject m = v.toObject();
        QStringList paths;
        for (const QJsonValue &p : m.value(QStringLiteral("paths")).toArray())
            paths << p.toString();
        text += QStringList{m.value(QStringLiteral("model")).toString(),
                            m.value(QStringLiteral("link")).toString(),
                            m.value(QStringLiteral("release")).toString(), paths.join(' ')}
                    .join('\t') +
                QLatin1Char('\n');
    }
    return text;
}

} // namespace

CommandLine parseCommandLine(const QStringList &args, const QString &workDir) {
    CommandLine line;
    MouseRequest &r = line.request;
    QStringList operands;
    QStringList given;
    bool options = true;
    for (const QString &a : args) {
        // A negative number is a slot or stage out of range, not an option.
        const bool option =
            options && a.size() > 1 && a.startsWith(QLatin1Char('-')) && !a.at(1).isDigit();
        // An option given twice is a slip in a script rather than a wish: refused.
        if (option && given.contains(a)) {
            line.error = MousecfgCli::tr("The option %1 is given twice.").arg(a);
            return line;
        }
        if (option)
            given << a;
        if (option && a == QLatin1String("--")) {
            options = false;
        } else if (option && (a == QLatin1String("-h") || a == QLatin1String("--help"))) {
            line.help = true;
        } else if (option && (a == QLatin1String("-v") || a == QLatin1String("--version"))) {
            line.version = true;
        } else if (option && a == QLatin1String("--json")) {
            line.json = true;
        } else if (option && a == QLatin1String("--follow")) {
            line.follow = true;
        } else if (option && a == QLatin1String("--verbose")) {
            line.verbose = true;
        } else if (option && a == QLatin1String("--all")) {
            r.everything = true;
        } else if (option) {
            line.error = MousecfgCli::tr("Unknown option: %1").arg(a);
            return line;
        } else {
            operands << a;
        }
    }
    if (line.help || line.version)
        return line;
    if (operands.isEmpty()) {
        line.error = MousecfgCli::tr("No command given.");
        return line;
    }
    const QString word = operands.takeFirst();
    r.command = commandNamed(word);
    // Following is asked for with status --follow; the request's word is not the user's.
    if (r.command == MouseRequest::Follow)
        r.command = MouseRequest::Invalid;
    const int wanted = needsNumber(r.command) || needsFile(r.command) ? 1 : 0;
    const int allowed = r.command == MouseRequest::Apply ? 1 : wanted;
    if (r.command == MouseRequest::Invalid) {
        line.error = MousecfgCli::tr("Unknown command: %1").arg(word);
    } else if (operands.size() < wanted || operands.size() > allowed) {
        line.error = MousecfgCli::tr("Wrong number of arguments for %1.").arg(word);
    } else if (r.everything && r.command != MouseRequest::Apply) {
        line.error = MousecfgCli::tr("--all goes with apply only.");
    } else if (line.follow && r.command != MouseRequest::Status) {
        line.error = MousecfgCli::tr("--follow goes with status only.");
    } else if (needsNumber(r.command)) {
        bool ok = false;
        r.number = operands.first().toInt(&ok);
        const int last = r.command == MouseRequest::Profile ? kProfileCount : kDpiStageCount;
        if (!ok || r.number < 1 || r.number > last)
            line.error = MousecfgCli::tr("%1 needs a number from 1 to %2.").arg(word).arg(last);
    } else if (!operands.isEmpty()) {
        r.path = QDir::cleanPath(QDir(workDir).absoluteFilePath(operands.first()));
        // A name ending in a slash names a folder, as it does to cp: kept, so that it is
        // never taken for the file before the slash.
        if (operands.first().endsWith(QLatin1Char('/')) && !r.path.endsWith(QLatin1Char('/')))
            r.path += QLatin1Char('/');
    }
    return line;
}

QString usageText() {
    return MousecfgCli::tr(
        "Usage: mousecfg-cli [--json] [--verbose] COMMAND [ARGUMENT]\n"
        "\n"
        "Commands:\n"
        "  list                  the supported mice present: model, link (receiver or cable),\n"
        "                        release number and device paths\n"
        "  status [--follow]     battery level and millivolts, charging, connection, active\n"
        "                        profile, DPI stage and report rate; with --follow one line\n"
        "                        now and one at every change, until interrupted\n"
        "  profile N             make profile slot N (1 to 5) active, on the mouse and in the\n"
        "                        saved state\n"
        "  dpi N                 make DPI stage N active, on the mouse and in the saved state\n"
        "  apply [--all] [FILE]  send what changed since the last send (with --all: all of\n"
        "                        it); with FILE, first take that file in as import does\n"
        "  export FILE           write the active profile to FILE.prof, or the whole\n"
        "                        configuration to FILE.conf\n"
        "  import FILE           take a .prof into the library and the active slot, or a .conf\n"
        "                        over all slots, without sending it: the next apply sends all\n"
        "\n"
        "Options:\n"
        "  --json                print list and status as JSON\n"
        "  --verbose             print the debug messages of every part of the program on\n"
        "                        standard error\n"
        "  -h, --help            print this text\n"
        "  -v, --version         print the version\n"
        "\n"
        "While the window runs, it carries the commands out; otherwise the command line\n"
        "opens the mouse itself. Exit status: 0 done, 1 refused (wrong model, bad file,\n"
        "unsafe name, wrong argument), 2 no mouse answers.\n");
}

QString tryHelpText() {
    return MousecfgCli::tr("Try 'mousecfg-cli --help' for more information.");
}

QString outputFailedText() {
    return MousecfgCli::tr("The output could not be written.");
}

int exitStatusOf(const MouseOutcome &outcome) {
    switch (outcome.kind) {
    case MouseOutcome::Done:
        return ExitDone;
    case MouseOutcome::NoMouse:
    case MouseOutcome::MouseOff:
    case MouseOutcome::SendFailed:
    case MouseOutcome::Busy:
        return ExitNoMouse;
    default:
        return ExitRefused;
    }
}

QString messageOf(const CommandLine &line, const MouseOutcome &outcome) {
    switch (outcome.kind) {
    case MouseOutcome::Done:
        return outcome.refusedNames > 0
                   ? windowText("A profile name in the file cannot be used as a file name or is "
                                "given to two slots; that profile was renamed.")
                   : QString();
    case MouseOutcome::NoMouse:
        // Neither the receiver nor the cable is there. Whether a receiver was there before
        // and was pulled ("Dongle Disconnect!") one look at the devices cannot tell.
        return windowText("No mouse is connected.");
    case MouseOutcome::MouseOff:
        return windowText("Mouse is sleeping or not connected.");
    case MouseOutcome::SendFailed:
        return windowText("Send data failed, please try again.");
    case MouseOutcome::TooManyMacros:
        return windowText("Too many macros on the buttons: the mouse holds at most twelve.");
    case MouseOutcome::Refused:
        // The folder is named, as cp names what is missing.
        if (outcome.code == LibraryNoFolder)
            return MousecfgCli::tr("The folder %1 does not exist.")
                .arg(QDir::toNativeSeparators(QFileInfo(line.request.path).absolutePath()));
        return libraryText(outcome.code);
    case MouseOutcome::StageOff:
        return MousecfgCli::tr("This DPI stage cannot be made active: the mouse has stages 1 to "
                               "%1, and a stage must be switched on.")
            .arg(outcome.code);
    case MouseOutcome::BadFile:
        return MousecfgCli::tr("Only profile files (.prof) and configuration files (.conf) can be "
                               "exported.");
    case MouseOutcome::Busy:
        return outcome.code == 0
                   ? MousecfgCli::tr("The mouse is busy with another program; try again.")
                   : MousecfgCli::tr("The window did not answer; whether the command was carried "
                                     "out is not known.");
    case MouseOutcome::KindCount:
        break;
    }
    return QString();
}

QString outputOf(const CommandLine &line, const MouseOutcome &outcome) {
    // A list or status is printed whenever one came, also beside a failure (no mouse, a
    // sleeping mouse), so that a status bar can show what is known.
    const auto json = [](const QJsonDocument &doc) {
        return QString::fromUtf8(doc.toJson(QJsonDocument::Compact)) + QLatin1Char('\n');
    };
    const QJsonValue mice = outcome.data.value(QStringLiteral("mice"));
    if (line.request.command == MouseRequest::List && mice.isArray())
        return line.json ? json(QJsonDocument(mice.toArray())) : listText(mice.toArray());
    if (line.request.command != MouseRequest::Status)
        return QString();
    const QJsonObject status = statusRecordOf(outcome);
    if (status.isEmpty())
        return QString();
    return line.json ? json(QJsonDocument(status)) : statusText(status);
}

QJsonObject statusRecordOf(const MouseOutcome &outcome) {
    // No mouse is a status too: no link, nothing known.
    const QJsonObject status =
        outcome.kind == MouseOutcome::NoMouse ? noMouseStatus() : outcome.data;
    return status.contains(QStringLiteral("model")) ? status : QJsonObject();
}

QString followLineOf(const CommandLine &line, const QJsonObject &status) {
    if (line.json)
        return QString::fromUtf8(QJsonDocument(status).toJson(QJsonDocument::Compact)) +
               QLatin1Char('\n');
    return statusLine(status) + QLatin1Char('\n');
}
