// SPDX-License-Identifier: GPL-3.0-or-later
#include "PerformanceRules.h"

#include <QCoreApplication>

namespace {
struct SensorRange {
    int code;
    int minimum;
    int maximum;
    bool showLink;
};

// Sensors whose range does not depend on the product or a descriptor flag.
constexpr SensorRange kRanges[] = {
    {3104, 14, 105, true},  {31042, 14, 158, true}, {3212, 16, 111, false}, {3311, 1, 120, false},
    {33112, 1, 180, false}, {3333, 2, 120, false},  {3335, 1, 160, false},  {33352, 1, 240, false},
    {3360, 1, 180, true},   {3370, 1, 290, false},  {3389, 2, 480, true},   {3395, 0, 519, false},
    {33952, 0, 779, false}, {3399, 0, 599, true},
};

// Products whose 3327 sensor stops at 12400 DPI.
const char *const kNarrow3327Products[] = {"K308-RGB", "DRAVIK",   "7352",
                                           "MORVANE3", "QUILLOT",  "K430-RGB",
                                           "TALVENT2", "VELORIN2", "GRANDUX"};

constexpr int kRateCodes[kRateChoiceCount] = {8, 4, 2, 1};
} // namespace

DpiRange dpiRangeFor(int sensorCode, const QString &product, int variant33254) {
    for (const SensorRange &r : kRanges) {
        if (r.code == sensorCode)
            return {true, r.minimum, r.maximum, r.showLink};
    }
    switch (sensorCode) {
    case 3325:
        return {true, 1, variant33254 == 1 ? 90 : 50, false};
    case 33252:
        return {true, 1, variant33254 == 1 ? 90 : 75, false};
    case 3327: {
        bool narrow = false;
        for (const char *name : kNarrow3327Products)
            narrow = narrow || product == QLatin1String(name);
        return {true, 1, narrow ? 92 : 106, false};
    }
    default:
        return {};
    }
}

int shownStageCount(int descriptorCount) {
    return descriptorCount >= 1 && descriptorCount <= 8 ? descriptorCount : 8;
}

int rateCodeAt(int menuIndex) {
    return menuIndex >= 0 && menuIndex < kRateChoiceCount ? kRateCodes[menuIndex] : 0;
}

QString reportRateText(int code) {
    switch (code) {
    case 8:
        return QCoreApplication::translate("KelReportRate", "125 HZ");
    case 4:
        return QCoreApplication::translate("KelReportRate", "250 HZ");
    case 2:
        return QCoreApplication::translate("KelReportRate", "500 HZ");
    case 1:
        return QCoreApplication::translate("KelReportRate", "1000 HZ");
    default:
        return QString();
    }
}

quint8 moveOffValue(bool checked) {
    return checked ? 0 : 255;
}

quint8 invertedOption(bool checked) {
    return checked ? 0 : 1;
}

bool invertedOptionChecked(quint8 value) {
    return value == 0;
}

QVector<SettingsProgram> mouseSettingsPrograms() {
    const auto p = [](const char *desktop, const char *program, QStringList arguments) {
        return SettingsProgram{QString::fromLatin1(desktop), QString::fromLatin1(program),
                               std::move(arguments)};
    };
    return {
        p("GNOME", "gnome-control-center", {QStringLiteral("mouse")}),
        p("KDE", "systemsettings", {QStringLiteral("kcm_mouse")}),
        p("KDE", "kcmshell6", {QStringLiteral("kcm_mouse")}),
        p("KDE", "kcmshell5", {QStringLiteral("kcm_mouse")}),
        p("XFCE", "xfce4-mouse-settings", {}),
        p("LXQt", "lxqt-config-input", {}),
        p("X-Cinnamon", "cinnamon-settings", {QStringLiteral("mouse")}),
        p("MATE", "mate-mouse-properties", {}),
        p("LXDE", "lxinput", {}),
        p("Budgie", "budgie-control-center", {QStringLiteral("mouse")}),
    };
}

SettingsProgram
findMouseSettingsProgram(const QString &currentDesktops,
                         const std::function<QString(const QString &)> &findExecutable) {
    const QStringList running = currentDesktops.split(QLatin1Char(':'), Qt::SkipEmptyParts);
    const QVector<SettingsProgram> known = mouseSettingsPrograms();
    // Two passes: the running desktops' own programs, then any.
    for (int pass = 0; pass < 2; ++pass) {
        for (const SettingsProgram &candidate : known) {
            if (pass == 0 && !running.contains(candidate.desktop, Qt::CaseInsensitive))
                continue;
            const QString path = findExecutable(candidate.program);
            if (!path.isEmpty())
                return {candidate.desktop, path, candidate.arguments};
        }
    }
    return {};
}
