// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The rules of the DPI, report-rate and sensor pages that need no window: the slider range
// of each sensor, how many stage rows a model shows, the report-rate codes and their texts,
// the bytes the option boxes store, and which program opens the desktop's mouse settings.

#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

// The stage values a sensor's sliders run over.
struct DpiRange {
    bool known = false; // false: the code has no range of its own, rows keep what they have
    int minimum = 0;
    int maximum = 0;
    bool showLink = false; // the sensor can set X and Y apart: the "Link XY" box is shown
};

// The range of a sensor code. product is the current product name (sensor 3327 is narrower
// on some products), variant33254 the descriptor's 3325 variant flag.
DpiRange dpiRangeFor(int sensorCode, const QString &product, int variant33254);

// Stage rows a model shows: its descriptor count when 1..8, else all eight.
int shownStageCount(int descriptorCount);

// The report-rate codes in menu order: 125, 250, 500 and 1000 Hz (the code is the report
// interval in milliseconds).
constexpr int kRateChoiceCount = 4;
int rateCodeAt(int menuIndex);
// "125 HZ" .. "1000 HZ" in the current language; empty for a code outside the list.
QString reportRateText(int code);

// "MOVE TO LIGHT OFF" stores 0 when it is checked and 255 when it is not.
quint8 moveOffValue(bool checked);
// Angle snapping, jitter and motion wake store 0 for "on".
quint8 invertedOption(bool checked);
bool invertedOptionChecked(quint8 value);

// A program that opens a desktop's mouse settings.
struct SettingsProgram {
    QString desktop; // as in XDG_CURRENT_DESKTOP
    QString program;
    QStringList arguments;
};

// The settings programs known, GNOME, KDE Plasma, Xfce, LXQt, Cinnamon, MATE, LXDE, Budgie.
QVector<SettingsProgram> mouseSettingsPrograms();
// The first known program that exists, those of the running desktops (the colon-separated
// names of XDG_CURRENT_DESKTOP) first; program holds its path. findExecutable gives a
// program's path or an empty string. An empty program: none exists.
SettingsProgram
findMouseSettingsProgram(const QString &currentDesktops,
                         const std::function<QString(const QString &)> &findExecutable);
