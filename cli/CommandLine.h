// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The command line's words: what the arguments ask for, what is printed for an answer, the
// messages (in the user's language, the window's own texts where it has them) and the exit
// status: 0 done, 1 refused (wrong model, bad file, unsafe name, a wrong argument), 2 when
// no mouse answers.

#include "MouseRequests.h"

#include <QString>
#include <QStringList>

enum ExitStatus { ExitDone = 0, ExitRefused = 1, ExitNoMouse = 2 };

struct CommandLine {
    MouseRequest request;
    bool json = false;
    bool follow = false; // status: a line now and at every change, until ended
    bool help = false;
    bool version = false;
    bool verbose = false; // debug messages of every layer on stderr
    QString error;        // non-empty when the arguments are wrong
};

// args: the arguments after the program name. Relative file names are taken in workDir.
CommandLine parseCommandLine(const QStringList &args, const QString &workDir);
QString usageText();
// The hint after a wrong argument.
QString tryHelpText();
// The message when the output could not be written.
QString outputFailedText();

int exitStatusOf(const MouseOutcome &outcome);
// What is said on stderr for a request's outcome; empty when there is nothing to say.
QString messageOf(const CommandLine &line, const MouseOutcome &outcome);
// What is printed on stdout for a request's answer: the list or the status, as text or JSON.
QString outputOf(const CommandLine &line, const MouseOutcome &outcome);
// The status record a status outcome tells (with no mouse: no link, nothing known); empty when
// the outcome carries none.
QJsonObject statusRecordOf(const MouseOutcome &outcome);
// One line of status --follow for a record: the compact JSON, or the status in a few words
// ("Profile 2 · DPI 1600 · 1000 Hz · battery 80% charging").
QString followLineOf(const CommandLine &line, const QJsonObject &status);
