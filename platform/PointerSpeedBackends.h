// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pointer speed of each desktop, behind PointerSpeed::readSpeed and writeSpeed: one
// read and one write per desktop, and the pieces of them that are worth testing alone (the
// kcminputrc editing, sway's command line and answer).

#include "PlatformLog.h"
#include "PointerSpeed.h"

#include <QString>
#include <QStringList>

namespace PointerSpeed {

// A libinput speed as the desktops write it, "-0.300".
QString libinputText(double value);

int readX11Speed();
Result writeX11Speed(int speed);

int readGnomeSpeed();
Result writeGnomeSpeed(int speed);
// Waits until GSettings has handed on the writes made.
void syncGnomeWrites();

// The speed kept in kcminputrc.
int readKdeSpeed();
// Asks KWin for the speed of its first mouse and hands it to done, on context's thread,
// without waiting; kcminputrc's where KWin tells none within 5 s.
void readKdeSpeedLater(QObject *context, const std::function<void(int)> &done);
// Writes kcminputrc and asks KWin, when it is on the session bus, to apply the speed to its
// pointers; x11 also sets the X server's acceleration.
Result writeKdeSpeed(int speed, bool x11);
// Where Plasma keeps kcminputrc: $XDG_CONFIG_HOME/kcminputrc.
QString kcmInputPath();
// KWin's calls sent and not yet answered.
int pendingKdeCalls();
// The text of a KDE configuration file with key set to value in group (a group header as
// KConfig writes it, e.g. "[Mouse]"); every other line is kept as it was.
QString withKdeEntry(const QString &text, const QString &groupHeader, const QString &key,
                     const QString &value);
// The value of key in group of a KDE configuration file's text, or a null string.
QString kdeEntry(const QString &text, const QString &groupHeader, const QString &key);

int readSwaySpeed();
// Asks swaymsg and hands its answer to done, on context's thread, without waiting.
void readSwaySpeedLater(QObject *context, const std::function<void(int)> &done);
Result writeSwaySpeed(int speed);
// swaymsg's arguments that set every pointer to speed.
QStringList swayArguments(int speed);
// The speed of the first pointer in swaymsg -t get_inputs -r's answer, or kDefaultSpeed.
int speedFromSwayInputs(const QByteArray &json);

} // namespace PointerSpeed
