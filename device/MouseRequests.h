// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Requests from the command line and their answers, whichever program carries them out: the
// command line itself when it holds the mouse, or the running window, which takes them on a
// local socket so that only one program ever talks to the mouse. A request and its answer
// travel as one line of compact JSON each. The pieces both programs need to carry a request
// out the same way live here too: the battery arithmetic, the status and list records, the
// profile switch, and import and export by file kind.

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <optional>

#include "HidTransport.h"
#include "ProfileLibrary.h"

struct ProfileData;
struct ProfileSet;

// The command line's program, as its instance lock names it, and how long the window's start
// waits for it to finish a command.
constexpr char kCommandLineProgram[] = "mousecfg-cli";
constexpr int kCommandLineLockWaitMs = 15000;

struct MouseRequest {
    // Follow: the status now and again at every change, on one connection that stays open.
    enum Command { Invalid, List, Status, Profile, Dpi, Apply, Export, Import, Follow };
    Command command = Invalid;
    // The profile slot (1..5) or the DPI stage (1..8), counted as the user counts.
    int number = 0;
    // The file of apply, export and import, absolute.
    QString path;
    // apply: send every group, whatever changed.
    bool everything = false;

    // True for the commands that read only what the program already knows.
    bool readsOnly() const { return command == List || command == Status; }
    // True for the commands that send to the mouse; the others need no mouse present.
    bool sendsToMouse() const { return command == Profile || command == Dpi || command == Apply; }
};

// The longest request line a receiver takes; a longer one is dropped unread.
constexpr int kMaxRequestLine = 64 * 1024;

// The command's word on the command line and in a request ("list", "status", ...), and the
// command of a word (Invalid for an unknown one).
QString commandName(MouseRequest::Command command);
MouseRequest::Command commandNamed(const QString &word);

QByteArray encodeRequest(const MouseRequest &request);
// False for a line that is no request (the request is then Invalid).
bool decodeRequest(const QByteArray &line, MouseRequest &request);

// How a request ended.
struct MouseOutcome {
    enum Kind {
        Done,       // carried out; data holds what was asked for
        NoMouse,    // no supported mouse is present
        MouseOff,   // the mouse sleeps or is out of its receiver's reach
        SendFailed, // the mouse did not take a transfer; code is the device result
        Refused,    // a profile-library rule or the file refused it; code is the LibraryResult
        TooManyMacros,
        StageOff, // the DPI stage is not shown for this model, or switched off
        BadFile,  // an export to a file that is neither .prof nor .conf, or no request
        Busy,     // the window was busy with the mouse for too long
        KindCount
    };
    Kind kind = Done;
    int code = 0;
    QJsonObject data;
    // Import of a configuration file: slot names in the file that could not be taken.
    int refusedNames = 0;

    static MouseOutcome of(Kind kind, int code = 0) {
        MouseOutcome o;
        o.kind = kind;
        o.code = code;
        return o;
    }
};

QByteArray encodeOutcome(const MouseOutcome &outcome);
bool decodeOutcome(const QByteArray &line, MouseOutcome &outcome);

// The outcome of a send's result (the apply path's codes).
MouseOutcome outcomeOfSend(int result);
// The outcome of a profile-library command's result.
MouseOutcome outcomeOfLibrary(int result);
// The outcome of a send whose settings were stored first (saved) or could not be: a send
// that went well is then no success, as what was sent is lost when the program ends.
MouseOutcome outcomeOfStoredSend(int result, bool saved);

// The socket the running window takes requests on, beside the product's instance lock in
// the user's runtime folder.
QString requestSocketPath(const QString &productName);

// Battery reports: millivolts from the two raw bytes, and the level shown for them by the
// millivolt steps and the full value ("Config/BatteryFull").
constexpr int kLowestBatteryLevel = 10;
int batteryMillivolts(quint8 lowByte, quint8 highByte);
int batteryLevelFor(int millivolts, int fullValue);

// What `status` tells: the connection, the last battery report, and the active profile,
// DPI stage and report rate.
struct MouseStatus {
    QString model;
    bool cable = false;    // the cable's command collection is there
    bool receiver = false; // the receiver's command collection is there
    bool batteryKnown = false;
    bool asleep = false; // the last battery report was all zeros ("MOUSE OFF")
    bool charging = false;
    int millivolts = 0;
    int level = 0;
    // Hours until the battery is empty, estimated from its history; unknown while charging,
    // on the cable and before the history carries an estimate.
    std::optional<double> hoursLeft;
    int profile = 0;  // slot index 0..4
    int dpiStage = 0; // stage index 0..7
    int dpi = 0;
    int rateCode = 0; // 8, 4, 2, 1 for 125 .. 1000 Hz
};

// Fills the connection from the model's device-match entry.
void setStatusLink(MouseStatus &status, const DeviceMatchEntry &entry);
// Fills the battery fields from a battery report (all zeros: the mouse is off).
void setStatusBattery(MouseStatus &status, quint8 charge, quint8 lowByte, quint8 highByte);
// Fills profile, stage, DPI and rate from the set.
void setStatusProfile(MouseStatus &status, const ProfileSet &set);
// The same from slot `index` and its record.
void setStatusProfile(MouseStatus &status, int index, const ProfileData &record);
// The record `status --json` prints; slot and stage counted from 1, rate in Hz.
QJsonObject statusObject(const MouseStatus &status);
// True when two status records read differently: the millivolts alone are no change, since
// they wander within a level step; the level, charging and every other key are.
bool statusChanged(const QJsonObject &before, const QJsonObject &after);
// The report rate in Hz of a rate code; 0 for an unknown code.
int rateHz(int rateCode);

// What `list` tells: one record per link of each supported mouse present (model, "receiver"
// or "cable", the USB release number, the device paths).
QJsonArray presentMice(const DeviceMatchTable &table);

// Why the DPI stage number (counted from 1) cannot be made active in the record, or Done.
MouseOutcome checkDpiStage(const ProfileData &record, int number);

// Import of a file into the set as the window's commands do it: a .prof into the library
// and the active slot, a .conf over the whole set, each stored as one set of files with the
// saved state; ImportOnly stores it as not sent (ImportMode). A file that is missing, a
// folder, of another kind, too large, unreadable, no profile file, another model's or
// incomplete is Refused with its LibraryResult, and nothing changes.
MouseOutcome importIntoSet(QStringList &library, ProfileSet &set, const QString &path,
                           ImportMode mode);
// Export: the active slot's profile to a .prof, or the whole set to a .conf.
MouseOutcome exportFromSet(const ProfileSet &set, const QString &path);
