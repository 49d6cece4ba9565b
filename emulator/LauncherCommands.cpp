// SPDX-License-Identifier: GPL-3.0-or-later
#include "LauncherCommands.h"

#include <cerrno>
#include <cstdlib>
#include <sstream>

using namespace MouseProtocol;

namespace {

// A whole-word number in the given base and range.
bool parseNumber(const std::string &text, int base, long min, long max, long &out) {
    if (text.empty())
        return false;
    errno = 0;
    char *end = nullptr;
    const long v = std::strtol(text.c_str(), &end, base);
    if (errno != 0 || *end != '\0' || v < min || v > max)
        return false;
    out = v;
    return true;
}

bool parseLink(const std::string &word, MouseLink &link) {
    if (word == "receiver")
        link = MouseLink::Receiver;
    else if (word == "cable")
        link = MouseLink::Cable;
    else
        return false;
    return true;
}

bool parseAnswer(const std::string &word, VirtualMouse::Answer &answer) {
    using A = VirtualMouse::Answer;
    static const struct {
        const char *name;
        A answer;
    } names[] = {{"ok", A::Ok},
                 {"none", A::None},
                 {"zeros", A::Zeros},
                 {"wrong-header", A::WrongHeader},
                 {"wrong-data", A::WrongData}};
    for (const auto &n : names) {
        if (word == n.name) {
            answer = n.answer;
            return true;
        }
    }
    return false;
}

ControlCommand invalid(const std::string &why) {
    ControlCommand c;
    c.error = why;
    return c;
}

} // namespace

const char *launcherUsage() {
    return "usage: virtual-mouse [--receiver] [--cable] [--release HEX] [--control FIFO] "
           "[--dump FILE] [--node-mode OCTAL] -- COMMAND [ARGS...]";
}

LauncherOptions parseLauncherOptions(const std::vector<std::string> &args) {
    LauncherOptions o;
    bool receiver = false, cable = false, sawSeparator = false;
    size_t i = 0;
    for (; i < args.size(); ++i) {
        const std::string &a = args[i];
        if (a == "--") {
            sawSeparator = true;
            ++i;
            break;
        }
        const bool hasValue = i + 1 < args.size();
        if (a == "--receiver") {
            receiver = true;
        } else if (a == "--cable") {
            cable = true;
        } else if (a == "--release" || a == "--control" || a == "--dump" || a == "--node-mode") {
            if (!hasValue) {
                o.error = a + " needs a value";
                return o;
            }
            const std::string &v = args[++i];
            if (a == "--release") {
                long release = 0;
                if (!parseNumber(v, 16, 0, 0xFFFF, release)) {
                    o.error = "--release takes a hexadecimal number up to FFFF, not " + v;
                    return o;
                }
                o.release = uint16_t(release);
            } else if (a == "--node-mode") {
                long mode = 0;
                if (!parseNumber(v, 8, 0, 0777, mode)) {
                    o.error = "--node-mode takes an octal mode up to 777, not " + v;
                    return o;
                }
                o.nodeMode = int(mode);
            } else if (a == "--control") {
                o.controlPath = v;
            } else {
                o.dumpPath = v;
            }
        } else {
            o.error = "unknown option " + a;
            return o;
        }
    }
    if (!sawSeparator || i >= args.size()) {
        o.error = "no command given after --";
        return o;
    }
    o.command.assign(args.begin() + long(i), args.end());
    if (receiver || cable) {
        o.receiver = receiver;
        o.cable = cable;
    }
    return o;
}

ControlCommand parseControlCommand(const std::string &line) {
    std::istringstream in(line);
    std::vector<std::string> w;
    for (std::string word; in >> word;)
        w.push_back(word);
    ControlCommand c;
    if (w.empty() || w[0][0] == '#') {
        c.kind = ControlCommand::Empty;
        return c;
    }
    const std::string &verb = w[0];
    const size_t argc = w.size() - 1;
    long n = 0;

    if (verb == "plug" || verb == "unplug") {
        if (argc != 1 || !parseLink(w[1], c.link))
            return invalid(verb + " takes receiver or cable");
        c.kind = verb == "plug" ? ControlCommand::Plug : ControlCommand::Unplug;
    } else if (verb == "battery") {
        long charging = 0;
        if (argc != 2 || !parseNumber(w[1], 10, 0, 270000, n) ||
            !parseNumber(w[2], 10, 0, 1, charging))
            return invalid("battery takes MILLIVOLTS and CHARGING (0 or 1)");
        c.kind = ControlCommand::Battery;
        c.value = int(n);
        c.charging = charging != 0;
    } else if (verb == "wake" && argc == 1 && w[1] == "quietly") {
        c.kind = ControlCommand::Wake;
        c.quietly = true;
    } else if (verb == "sleep" || verb == "wake" || verb == "dump") {
        if (argc != 0)
            return invalid(verb + " takes no arguments");
        c.kind = verb == "sleep"  ? ControlCommand::Sleep
                 : verb == "wake" ? ControlCommand::Wake
                                  : ControlCommand::Dump;
    } else if (verb == "dpi" || verb == "rate") {
        if (argc != 1 || !parseNumber(w[1], 10, 0, 255, n))
            return invalid(verb + " takes a number from 0 to 255");
        c.kind = verb == "dpi" ? ControlCommand::Dpi : ControlCommand::Rate;
        c.value = int(n);
    } else if (verb == "profile") {
        if (argc != 1 || !parseNumber(w[1], 10, 0, kMouseProfiles - 1, n))
            return invalid("profile takes an index from 0 to 4");
        c.kind = ControlCommand::Profile;
        c.value = int(n);
    } else if (verb == "answer") {
        if (argc < 1 || argc > 2 || !parseAnswer(w[1], c.answer) ||
            (argc == 2 && !parseNumber(w[2], 10, 0, 1000000, n)))
            return invalid("answer takes ok|none|zeros|wrong-header|wrong-data [COUNT]");
        c.kind = ControlCommand::Answer;
        c.value = argc == 2 ? int(n) : 0;
    } else if (verb == "delay") {
        if (argc != 1 || !parseNumber(w[1], 10, 0, 60000, n))
            return invalid("delay takes milliseconds from 0 to 60000");
        c.kind = ControlCommand::Delay;
        c.value = int(n);
    } else {
        return invalid("unknown command " + verb);
    }
    return c;
}

bool applyToMouse(VirtualMouse &mouse, const ControlCommand &command) {
    switch (command.kind) {
    case ControlCommand::Battery:
        mouse.setBatteryMillivolts(command.value, command.charging);
        mouse.sendBatteryReport();
        return true;
    case ControlCommand::Sleep:
    case ControlCommand::Wake:
        mouse.setAsleep(command.kind == ControlCommand::Sleep);
        if (!command.quietly)
            mouse.sendBatteryReport();
        return true;
    case ControlCommand::Dpi:
        mouse.changeDpiStage(uint8_t(command.value));
        return true;
    case ControlCommand::Profile:
        return mouse.changeProfile(command.value);
    case ControlCommand::Rate:
        mouse.changeReportRate(uint8_t(command.value));
        return true;
    case ControlCommand::Answer:
        mouse.setAnswer(command.answer, command.value);
        return true;
    case ControlCommand::Delay:
        mouse.setAnswerDelay(command.value);
        return true;
    case ControlCommand::Invalid:
    case ControlCommand::Empty:
    case ControlCommand::Plug:
    case ControlCommand::Unplug:
    case ControlCommand::Dump:
        break;
    }
    return false;
}
